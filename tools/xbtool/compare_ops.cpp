// count, seek and delete for side-by-side timing; the clock covers the work, not open/close.
#include "compare_ops.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>

#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/file.h"

namespace qb::tools {
namespace {

using Clock = std::chrono::steady_clock;

void printTime(std::ostream& out, Clock::time_point start) {
    const std::chrono::duration<double, std::milli> took = Clock::now() - start;
    char text[64];
    std::snprintf(text, sizeof text, "time: %.3f ms\n", took.count());
    out << text;
}

// The whole file in one read, then split: a line at a time costs more than the seeks it feeds.
std::vector<std::string> readKeys(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) xb::fail(xb::ErrorCode::NotFound, path + ": cannot open the keys file");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> keys;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        size_t stop = end > at && text[end - 1] == '\r' ? end - 1 : end;
        keys.emplace_back(text, at, stop - at);
        at = end + 1;
    }
    return keys;
}

double numericKey(const std::string& text, size_t line) {
    char* end = nullptr;
    const double v = text.empty() ? 0 : std::strtod(text.c_str(), &end);
    if (text.empty() || *end)
        xb::fail(xb::ErrorCode::Argument,
                 "key " + std::to_string(line) + " is not a number: \"" + text + "\"");
    return v;
}

}  // namespace

uint32_t countMatching(xb::WorkArea& area, const std::string& expr) {
    area.setOrder(0);
    area.setDeleted(true);
    area.query(expr);
    return area.queryRecCount();
}

SeekTally seekKeys(xb::WorkArea& area, const std::string& tag,
                   const std::vector<std::string>& keys) {
    const int order = area.tagArea(tag);
    if (order == 0) xb::fail(xb::ErrorCode::NotFound, area.path() + " has no tag " + tag);
    area.setOrder(order);
    area.setDeleted(false);
    area.setSoftSeek(false);
    const xb::ValueType type = area.orderKeyType(order);
    SeekTally tally;
    for (const std::string& key : keys) {
        ++tally.keys;
        bool hit = false;
        if (type == xb::ValueType::Numeric) {
            hit = area.seekNumber(numericKey(key, tally.keys));
        } else if (type == xb::ValueType::Date) {
            if (key.size() != 8)
                xb::fail(xb::ErrorCode::Argument,
                         "key " + std::to_string(tally.keys) + " is not a yyyymmdd date");
            hit = area.seekDate(xb::jdnFromDbf(key.c_str()));
        } else {
            hit = area.seek(key);
        }
        if (hit) {
            ++tally.found;
            tally.recnoSum += area.recNo();
        }
    }
    return tally;
}

uint32_t deleteMatching(xb::WorkArea& area, const std::string& expr) {
    area.setOrder(0);
    area.setDeleted(false);
    area.query(expr);
    uint32_t marked = 0;
    for (area.first(); !area.eof(); area.skip()) {
        if (area.deleted()) continue;
        area.deleteRecord();
        ++marked;
    }
    area.query("");
    return marked;
}

int runCount(const std::string& path, const std::string& expr, std::ostream& out) {
    xb::WorkArea area;
    area.use(path, xb::UseMode::ReadOnly);
    const auto start = Clock::now();
    const uint32_t n = countMatching(area, expr);
    out << "count: " << n << "\n";
    printTime(out, start);
    return 0;
}

int runSeek(const std::string& path, const std::string& tag, const std::string& keysFile,
            std::ostream& out) {
    const std::vector<std::string> keys = readKeys(keysFile);
    xb::WorkArea area;
    area.use(path, xb::UseMode::ReadOnly);
    const auto start = Clock::now();
    const SeekTally t = seekKeys(area, tag, keys);
    out << "keys: " << t.keys << "\nfound: " << t.found << "\nrecord number sum: " << t.recnoSum
        << "\n";
    printTime(out, start);
    return 0;
}

int runDelete(const std::string& path, const std::string& expr, std::ostream& out) {
    xb::WorkArea area;
    area.use(path, xb::UseMode::Exclusive);
    const auto start = Clock::now();
    const uint32_t n = deleteMatching(area, expr);
    area.commit();
    out << "marked: " << n << "\n";
    printTime(out, start);
    area.close();
    return 0;
}

}  // namespace qb::tools
