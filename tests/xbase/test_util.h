// Shared helpers of the engine tests: a fresh temporary folder per test and small tables.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "xbase/work_area.h"

namespace xbtest {

class TempDir {
  public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "qbtest-XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
        path_ = buf.data();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A small table: NAME C(20), CITY C(15), AMOUNT N(8,2), DAY D, FLAG L, NOTE M.
inline void createSmallTable(const std::string& path) {
    xb::WorkArea a;
    a.createNew(path);
    a.createField("NAME", 'C', 20);
    a.createField("CITY", 'C', 15);
    a.createField("AMOUNT", 'N', 8, 2);
    a.createField("DAY", 'D', 8);
    a.createField("FLAG", 'L', 1);
    a.createField("NOTE", 'M', 10);
    a.createExec();
}

inline void addRow(xb::WorkArea& a, const std::string& name, const std::string& city,
                   double amount = 0) {
    a.append();
    a.putText("NAME", name);
    a.putText("CITY", city);
    a.putNumber("AMOUNT", amount);
    a.post();
}

// The record numbers visited by a walk from first to end of file.
inline std::vector<uint32_t> walkForward(xb::WorkArea& a) {
    std::vector<uint32_t> out;
    for (a.first(); !a.eof(); a.skip())
        out.push_back(a.recNo());
    return out;
}

inline std::vector<uint32_t> walkBackward(xb::WorkArea& a) {
    std::vector<uint32_t> out;
    for (a.last(); !a.bof(); a.skip(-1)) {
        out.push_back(a.recNo());
        if (out.size() > 10000000) break;
    }
    return out;
}

}  // namespace xbtest
