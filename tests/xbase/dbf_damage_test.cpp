// Damaged and foreign tables: every fault is a clear error naming the file, never a crash.
#include <gtest/gtest.h>

#include <random>

#include "test_util.h"
#include "xbase/error.h"

using namespace xbtest;

namespace {

class Damage : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("T.DBF");
        createSmallTable(path);
        xb::WorkArea a;
        a.use(path);
        for (int i = 0; i < 5; ++i) {
            addRow(a, "row" + std::to_string(i), "c", i);
            a.replace("NOTE", "memo " + std::to_string(i));
            a.post();
        }
        a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
        a.close();
        good = readBytes(path);
    }
    // Opens and reads everything; returns the error message, or "" when all went well.
    std::string openAndRead() {
        try {
            xb::WorkArea a;
            a.use(path, xb::UseMode::ReadOnly);
            for (a.first(); !a.eof(); a.skip())
                for (int i = 1; i <= a.fieldCount(); ++i)
                    (void)a.getText(i);
            return "";
        } catch (const xb::Error& e) {
            return e.what();
        }
    }
    TempDir dir;
    std::string path;
    std::vector<uint8_t> good;
};

TEST_F(Damage, EachStructuralFaultIsNamed) {
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        const char* expect;
    };
    const int header = good[8] | (good[9] << 8);
    std::vector<Case> cases = {
        {"cut inside the header", [](auto& b) { b.resize(20); }, "too short"},
        {"cut inside the field list", [](auto& b) { b.resize(100); }, "header length"},
        {"last record cut short", [](auto& b) { b.resize(b.size() - 30); }, "claims 5 records"},
        {"header length past the end",
         [](auto& b) {
             b[8] = 0xFF;
             b[9] = 0x7F;
         },
         "larger than the file"},
        {"record length too small",
         [](auto& b) {
             b[10] = 20;
             b[11] = 0;
         },
         "records have 20"},
        {"no terminator", [&](auto& b) { b[size_t(header - 1)] = 'X'; }, "no terminator"},
        {"zero-width field", [](auto& b) { b[32 + 16] = 0; }, "width 0"},
        {"unknown version", [](auto& b) { b[0] = 0x77; }, "unknown version"},
        {"newer layout", [](auto& b) { b[0] = 0x8C; }, "not supported"},
    };
    for (auto& c : cases) {
        auto bytes = good;
        c.damage(bytes);
        writeBytes(path, bytes);
        std::string msg = openAndRead();
        EXPECT_NE(msg.find(c.expect), std::string::npos) << c.what << ": " << msg;
        EXPECT_NE(msg.find("T.DBF"), std::string::npos) << c.what << ": " << msg;
    }
}

TEST_F(Damage, MemoPointerPastTheEndOfTheMemoFile) {
    auto bytes = good;
    const int header = bytes[8] | (bytes[9] << 8);
    const int reclen = bytes[10] | (bytes[11] << 8);
    std::string ptr = "    999999";
    std::copy(ptr.begin(), ptr.end(), bytes.begin() + header + 2 * reclen + reclen - 10);
    writeBytes(path, bytes);
    std::string msg = openAndRead();
    EXPECT_NE(msg.find("past the end"), std::string::npos) << msg;
    EXPECT_NE(msg.find("T.FPT"), std::string::npos) << msg;
}

TEST_F(Damage, MissingMemoFileIsNamed) {
    std::remove(dir.file("T.FPT").c_str());
    std::string msg = openAndRead();
    EXPECT_NE(msg.find("T.FPT"), std::string::npos) << msg;
    EXPECT_NE(msg.find("missing"), std::string::npos) << msg;
}

TEST_F(Damage, EveryHeaderByteFlippedNeverCrashes) {
    const int header = good[8] | (good[9] << 8);
    std::mt19937 rng(7);
    int errors = 0;
    for (int off = 0; off < header + 40; ++off) {
        for (uint8_t v :
             {uint8_t(0x00), uint8_t(0xFF), uint8_t(good[size_t(off)] ^ 0x55), uint8_t(rng())}) {
            auto bytes = good;
            bytes[size_t(off)] = v;
            writeBytes(path, bytes);
            if (!openAndRead().empty()) ++errors;
        }
    }
    EXPECT_GT(errors, 0);
}

TEST_F(Damage, RandomFilesAreRefusedByName) {
    std::mt19937 rng(11);
    int errors = 0;
    for (int i = 0; i < 300; ++i) {
        std::vector<uint8_t> bytes(size_t(rng() % 2000));
        for (auto& b : bytes)
            b = uint8_t(rng());
        if (bytes.size() > 12 && i % 2) {  // plausible version and lengths, garbage after
            bytes[0] = 0xF5;
            bytes[8] = uint8_t(rng() % 200);
            bytes[9] = 0;
        }
        writeBytes(path, bytes);
        const std::string msg = openAndRead();
        // Too short for a header: refused, never read as an empty table.
        if (bytes.size() < 33) {
            EXPECT_FALSE(msg.empty()) << i;
        }
        if (!msg.empty()) {
            ++errors;
            EXPECT_NE(msg.find("T.DBF"), std::string::npos) << i << ": " << msg;
        }
    }
    EXPECT_GT(errors, 250);
}

}  // namespace
