// The contact file's 21 tags stay exactly ordered through thousands of random appends, edits,
// deletions and recalls: after every batch each tag is compared entry by entry with a sort of
// keys computed here independently of the engine's expression evaluator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>

#include "store/contact_schema.h"
#include "test_util.h"
#include "xbase/codepage.h"
#include "xbase/keys.h"

using namespace xbtest;

namespace {

using Entry = std::pair<std::string, uint32_t>;

struct Rec {
    std::map<std::string, std::string> f;  // field name -> bytes as stored (full width)
    bool deleted = false;
};

std::string up(std::string s) {
    const uint8_t* t = xb::CodePage::windows1252().upperTable();
    for (auto& c : s)
        c = char(t[uint8_t(c)]);
    return s;
}
std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}
std::string pad(std::string s, size_t n) {
    s.resize(n, ' ');
    return s;
}
double seqno(const Rec& r) {
    std::string s = r.f.at("SEQNO");
    return rtrim(s).empty() ? 0 : std::stod(s);
}

// The key each tag should hold for a record.
std::string expectedKey(const std::string& tag, const Rec& r) {
    auto F = [&](const char* n) { return r.f.at(n); };
    if (tag == "NAME") return pad(up(rtrim(F("LNAME")) + F("FNAME")), 60);
    if (tag == "LNAME") return up(F("LNAME")) + up(F("FNAME"));
    if (tag == "CITY") return up(F("CITY") + F("STATE"));
    if (tag == "DATE") return F("DATE");
    if (tag == "DELETED") return r.deleted ? "T" : "F";
    if (tag == "JUSTSEQNO") {
        uint8_t k[8];
        xb::encodeNumericKey(seqno(r), k);
        return std::string(reinterpret_cast<char*>(k), 8);
    }
    if (tag == "SEQNO") {
        char b[16];
        std::snprintf(b, sizeof b, "%6.0f", seqno(r));
        return std::string(b) + F("STATE") + F("ZIP");
    }
    if (tag == "STATEZIP") return pad(up(rtrim(F("STATE")) + F("ZIP")), 30);
    return up(F(tag.c_str()));
}

class ContactTags : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir.file("QB.DBF");
    xb::WorkArea a;
    std::vector<Rec> model;  // model[r-1] is record r
    std::mt19937 rng{20261208};

    std::string randomText(int width) {
        static const std::vector<std::string> pieces = {
            "smith",    "Smith", "SMITH", "jones", "O'Neil", "van ", "M\xFCller",
            "\xC9mile", "ab",    "AB",    "a",     " ",      "zz",   "Lee",
            "lee",      "x1",    "99",    "-",     "\xDF"};
        std::string s;
        int parts = int(rng() % 4);
        for (int i = 0; i < parts; ++i)
            s += pieces[rng() % pieces.size()];
        if (rng() % 5 == 0) s.clear();
        if (int(s.size()) > width) s.resize(size_t(width));
        return s;
    }

    void setField(Rec& r, const xb::FieldInfo& f) {
        std::string bytes;
        switch (f.type) {
            case 'C':
                bytes = pad(randomText(f.width), size_t(f.width));
                break;
            case 'D': {
                if (rng() % 4 == 0) {
                    bytes = std::string(8, ' ');
                } else {
                    xb::Jdn d = xb::jdnFromYmd(1995 + int(rng() % 30), 1 + int(rng() % 12),
                                               1 + int(rng() % 28));
                    bytes = xb::jdnToDtos(d);
                }
                break;
            }
            case 'N': {
                char b[16];
                if (rng() % 3 == 0)
                    bytes = std::string(size_t(f.width), ' ');
                else {
                    std::snprintf(b, sizeof b, "%6d", int(rng() % 3000) - 1000);
                    bytes = b;
                }
                break;
            }
            default:
                return;
        }
        r.f[f.name] = bytes;
        a.putRaw(f.name, bytes);
    }

    void append() {
        a.append();
        Rec r;
        for (auto& f : a.fields().all())
            r.f[f.name] = a.getRaw(f.name);
        for (auto& f : a.fields().all())
            setField(r, f);
        a.post();
        model.push_back(r);
        ASSERT_EQ(a.recNo(), model.size());
    }

    void edit() {
        uint32_t r = 1 + uint32_t(rng() % model.size());
        a.go(r);
        ASSERT_EQ(a.recNo(), r);
        int changes = 1 + int(rng() % 3);
        for (int i = 0; i < changes; ++i)
            setField(model[r - 1], a.fields().at(int(rng() % 19)));
        a.post();
    }

    void toggleMark() {
        uint32_t r = 1 + uint32_t(rng() % model.size());
        a.go(r);
        if (model[r - 1].deleted)
            a.recall();
        else
            a.deleteRecord();
        model[r - 1].deleted = !model[r - 1].deleted;
    }

    void compareEveryTag() {
        ASSERT_EQ(a.orderCount(), 21);
        for (int order = 1; order <= 21; ++order) {
            std::string tag = a.tagName(order);
            std::vector<Entry> expected;
            for (uint32_t r = 1; r <= model.size(); ++r)
                expected.emplace_back(expectedKey(tag, model[r - 1]), r);
            std::sort(expected.begin(), expected.end(), [](const Entry& x, const Entry& y) {
                int c = std::memcmp(x.first.data(), y.first.data(),
                                    std::min(x.first.size(), y.first.size()));
                return c != 0 ? c < 0 : x.second < y.second;
            });
            std::vector<Entry> actual;
            a.scanOrder(order, [&](uint32_t r, std::string_view k) {
                actual.emplace_back(std::string(k), r);
            });
            ASSERT_EQ(actual.size(), expected.size()) << tag;
            for (size_t i = 0; i < actual.size(); ++i) {
                ASSERT_EQ(actual[i].second, expected[i].second) << tag << " entry " << i;
                ASSERT_EQ(actual[i].first, expected[i].first) << tag << " entry " << i;
            }
        }
    }
};

TEST_F(ContactTags, StayOrderedThroughRandomChanges) {
    qb::createContactTable(path);
    a.use(path);
    qb::buildContactTags(a);
    for (int batch = 0; batch < 6; ++batch) {
        for (int op = 0; op < 600; ++op) {
            int what = int(rng() % 10);
            if (model.empty() || what < 4)
                append();
            else if (what < 8)
                edit();
            else
                toggleMark();
            if (HasFatalFailure()) return;
        }
        compareEveryTag();
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(a.checkIndexes(), "");
    a.close();
    a.use(path);
    compareEveryTag();
    // A rebuild from the records gives the same entries as the kept-current tags.
    qb::buildContactTags(a);
    compareEveryTag();
}

}  // namespace
