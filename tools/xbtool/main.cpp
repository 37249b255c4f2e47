// xbtool: inspect, dump, generate and maintain xBase tables from the command line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "compare_ops.h"
#include "gen_contacts.h"
#include "numbers.h"
#include "xbase/codepage.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"
#include "xbase/file.h"
#include "xbase/index_builder.h"
#include "xbase/keys.h"
#include "xbase/work_area.h"

namespace {

const char* kUsage =
    "usage: xbtool COMMAND ...\n"
    "  info FILE                         header, fields and index tags\n"
    "  dump FILE [--tag TAG] [--filter EXPR] [--hide-deleted]\n"
    "                                    records as CSV with a header line\n"
    "  keys FILE TAG                     every entry of a tag (or .IDX file) in order:\n"
    "                                    record number, a tab, the key\n"
    "  check FILE                        checks every index against the records\n"
    "  gen-contacts FILE N [--seed S]    writes a synthetic contact file with its tags\n"
    "  add-contacts FILE N [--seed S]    appends synthetic contacts, keeping the tags current\n"
    "  index FILE OUT.IDX EXPR           writes a single-order index file over all records\n"
    "  reindex FILE                      rebuilds every index of the table; fails naming any\n"
    "                                    index that could not be rebuilt\n"
    "  repair FILE                       counts the records again when the header's count\n"
    "                                    hides some, then rebuilds the indexes\n"
    "  pack FILE                         removes records marked deleted, rebuilds indexes\n"
    "  count FILE EXPR                   records matching, marked ones not counted; time\n"
    "  seek FILE TAG KEYSFILE            seeks each key (one a line); found, record number\n"
    "                                    sum, time\n"
    "  delete FILE EXPR                  marks matching records deleted; how many, time\n"
    "Index builds (gen-contacts, index, reindex, repair, pack) sort within --sort-memory MB\n"
    "(default 96); larger builds sort in runs kept in working files beside the table.\n";

struct Usage {};

std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string o = "\"";
    for (char c : s) {
        if (c == '"') o += '"';
        o += c;
    }
    return o + "\"";
}

std::string option(std::vector<std::string>& args, const std::string& name,
                   bool* present = nullptr) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (present) {
                *present = true;
                args.erase(args.begin() + long(i));
                return "";
            }
            if (i + 1 >= args.size()) throw Usage{};
            std::string v = args[i + 1];
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
            return v;
        }
    }
    return "";
}

constexpr uint64_t kMaxGenerated = 50000000;

uint64_t seedOption(std::vector<std::string>& args) {
    const std::string seed = option(args, "--seed");
    return seed.empty() ? 1 : qb::tools::requireCount(seed, "the seed", 0, UINT64_MAX);
}

int cmdInfo(const std::string& path) {
    auto table = xb::DbfTable::open(xb::findCaseInsensitive(path), xb::OpenMode::ReadOnly,
                                    xb::LockMode::Shared);
    const auto& h = table->header();
    std::printf("file: %s\n", table->path().c_str());
    std::printf("version: 0x%02X\nrecords: %u\nheader length: %u\nrecord length: %u\n", h.version,
                h.recordCount, h.headerLength, h.recordLength);
    std::printf("last update: %04d-%02d-%02d\nflags: 0x%02X\ncode page: %s (0x%02X)\n", h.year,
                h.month, h.day, h.flags, table->codePage().name(), h.codePageByte);
    if (table->recordsOnFile() > uint64_t(h.recordCount) + 1)
        std::printf("damaged: the file holds %llu whole records; \"xbtool repair\" counts them\n",
                    static_cast<unsigned long long>(table->recordsOnFile()));
    if (table->memo())
        std::printf("memo file: %s (block size %u)\n", table->memo()->path().c_str(),
                    table->memo()->blockSize());
    std::printf("fields: %d\n", table->fields().count());
    for (auto& f : table->fields().all())
        std::printf("  %2d %-10s %c %3d %d\n", f.index + 1, f.name.c_str(), f.type, f.width,
                    f.decimals);
    table.reset();
    xb::WorkArea area;
    area.use(path, xb::UseMode::ReadOnly);
    if (!area.indexProblem().empty())
        std::printf("index problem: %s\n", area.indexProblem().c_str());
    std::printf("tags: %d\n", area.orderCount());
    for (int i = 1; i <= area.orderCount(); ++i) {
        std::string f = area.orderFor(i);
        std::printf("  %2d %-10s %s%s%s\n", i, area.tagName(i).c_str(), area.orderKey(i).c_str(),
                    f.empty() ? "" : " FOR ", f.c_str());
    }
    return 0;
}

int cmdDump(std::vector<std::string> args) {
    std::string tag = option(args, "--tag");
    std::string filter = option(args, "--filter");
    bool hide = false;
    option(args, "--hide-deleted", &hide);
    if (args.size() != 1) throw Usage{};
    xb::WorkArea area;
    area.use(args[0], xb::UseMode::ReadOnly);
    if (!tag.empty()) {
        int order = area.tagArea(tag);
        if (order == 0) order = area.openIndex(tag);
        area.setOrder(order);
    }
    area.setDeleted(hide);
    if (!filter.empty()) area.query(filter);
    std::string line;
    for (int i = 1; i <= area.fieldCount(); ++i)
        line += (i > 1 ? "," : "") + area.fieldName(i);
    std::cout << line << "\n";
    for (area.first(); !area.eof(); area.skip()) {
        line.clear();
        for (int i = 1; i <= area.fieldCount(); ++i)
            line += (i > 1 ? "," : "") + csvField(area.getText(i));
        std::cout << line << "\n";
    }
    return 0;
}

std::string keyText(xb::ValueType type, std::string_view key, const xb::CodePage& cp) {
    auto bytes = reinterpret_cast<const uint8_t*>(key.data());
    if (type == xb::ValueType::Numeric && key.size() >= 8) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", xb::decodeNumericKey(bytes));
        return buf;
    }
    if (type == xb::ValueType::Date && key.size() >= 8) {
        double d = xb::decodeNumericKey(bytes);
        return d <= 0 ? std::string() : xb::jdnToDtos(xb::Jdn(d));
    }
    std::string s(key);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return cp.toUtf8(s);
}

int cmdKeys(const std::string& path, const std::string& tag) {
    xb::WorkArea area;
    area.use(path, xb::UseMode::ReadOnly);
    int order = area.tagArea(tag);
    if (order == 0) {
        std::string idx = xb::findCaseInsensitive(tag);
        if (!xb::fileExists(idx)) {
            std::cerr << "xbtool: " << path << " has no tag " << tag << "\n";
            return 1;
        }
        order = area.openIndex(idx);
    }
    xb::ValueType type = area.orderKeyType(order);
    const auto& cp = area.codePage();
    std::string out;
    area.scanOrder(order, [&](uint32_t recno, std::string_view key) {
        out += std::to_string(recno);
        out += '\t';
        out += keyText(type, key, cp);
        out += '\n';
        if (out.size() > (1 << 16)) {
            std::cout << out;
            out.clear();
        }
    });
    std::cout << out;
    return 0;
}

int cmdCheck(const std::string& path) {
    xb::WorkArea area;
    area.use(path, xb::UseMode::ReadOnly);
    if (!area.indexProblem().empty()) {
        std::cerr << "xbtool: " << area.indexProblem() << "\n";
        return 1;
    }
    std::string report = area.checkIndexes();
    if (!report.empty()) {
        std::cerr << report;
        return 1;
    }
    std::cout << area.orderCount() << " orders checked, " << area.recCount()
              << " records: all consistent\n";
    return 0;
}

// Rebuilds every index; fails (naming them) when some could not be rebuilt.
int cmdReindex(const std::string& path) {
    xb::WorkArea area;
    area.use(path, xb::UseMode::Exclusive);
    area.reindex();
    area.close();
    std::cout << "indexes rebuilt\n";
    return 0;
}

// Counts the records again when the header's count hides some, then rebuilds the indexes,
// which cannot hold the records the count hid.
int cmdRepair(const std::string& rawPath) {
    const std::string path = xb::findCaseInsensitive(rawPath);
    auto r = xb::DbfTable::repairRecordCount(path);
    if (!r.changed) {
        std::cout << path << ": the record count " << r.before << " is right; nothing to repair\n";
        return 0;
    }
    std::cout << path << ": the record count was " << r.before << ", the file holds " << r.after
              << " records; the count is now " << r.after << "\n";
    xb::WorkArea area;
    area.use(path, xb::UseMode::Exclusive);
    if (area.orderCount() > 0 || !area.indexProblem().empty()) {
        area.reindex();
        std::cout << "indexes rebuilt\n";
    }
    area.close();
    return 0;
}

int run(std::vector<std::string> args) {
    if (args.empty() || args[0] == "help" || args[0] == "--help") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    std::string cmd = args[0];
    args.erase(args.begin());
    const std::string sortMemory = option(args, "--sort-memory");
    if (!sortMemory.empty())
        xb::setIndexBuildBudget(
            size_t(qb::tools::requireCount(sortMemory, "the sort memory", 1, 1 << 20)) << 20);
    if (cmd == "info" && args.size() == 1) return cmdInfo(args[0]);
    if (cmd == "dump") return cmdDump(args);
    if (cmd == "keys" && args.size() == 2) return cmdKeys(args[0], args[1]);
    if (cmd == "check" && args.size() == 1) return cmdCheck(args[0]);
    if (cmd == "gen-contacts") {
        const uint64_t seed = seedOption(args);
        if (args.size() != 2) throw Usage{};
        const uint64_t n = qb::tools::requireCount(args[1], "the record count", 0, kMaxGenerated);
        qb::tools::generateContacts(args[0], uint32_t(n), seed);
        return 0;
    }
    if (cmd == "add-contacts") {
        const uint64_t seed = seedOption(args);
        if (args.size() != 2) throw Usage{};
        const uint64_t n = qb::tools::requireCount(args[1], "the record count", 0, kMaxGenerated);
        xb::WorkArea area;
        area.use(args[0], xb::UseMode::Exclusive);
        qb::tools::addContacts(area, uint32_t(n), seed);
        area.close();
        return 0;
    }
    if (cmd == "count" && args.size() == 2) return qb::tools::runCount(args[0], args[1], std::cout);
    if (cmd == "seek" && args.size() == 3)
        return qb::tools::runSeek(args[0], args[1], args[2], std::cout);
    if (cmd == "delete" && args.size() == 2)
        return qb::tools::runDelete(args[0], args[1], std::cout);
    if (cmd == "index" && args.size() == 3) {
        xb::WorkArea area;
        area.use(args[0], xb::UseMode::Exclusive);
        area.index(args[1], {"", args[2], "", false, false}, false);
        area.close();
        return 0;
    }
    if (cmd == "reindex" && args.size() == 1) return cmdReindex(args[0]);
    if (cmd == "repair" && args.size() == 1) return cmdRepair(args[0]);
    if (cmd == "pack" && args.size() == 1) {
        xb::WorkArea area;
        area.use(args[0], xb::UseMode::Exclusive);
        uint32_t before = area.recCount();
        area.pack();
        std::cout << before - area.recCount() << " records removed, " << area.recCount()
                  << " kept\n";
        area.close();
        return 0;
    }
    throw Usage{};
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return run(args);
    } catch (const Usage&) {
        std::cerr << kUsage;
        return 2;
    } catch (const qb::tools::BadArgument& e) {
        std::cerr << "xbtool: " << e.what() << "\n";
        return 2;
    } catch (const xb::Error& e) {
        std::cerr << "xbtool: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "xbtool: " << e.what() << "\n";
        return 1;
    }
}
