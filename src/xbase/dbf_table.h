// A DBF table file with its memo file: the header, raw record reads and writes, appends in
// the order that keeps a killed process from leaving a record count that claims too much,
// and fast sequential scanning. Knows nothing of indexes or selections.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "xbase/codepage.h"
#include "xbase/dbf_header.h"
#include "xbase/file.h"
#include "xbase/memo_file.h"

namespace xb {

class DbfTable {
  public:
    // Opens the table and its memo file. Throws Error naming the file and the fault.
    static std::unique_ptr<DbfTable> open(const std::string& path, OpenMode mode, LockMode lock);
    // Sets the header's record count to the whole records the file holds (dropping a torn
    // last record): the explicit repair of a count that hides records. Needs the file alone.
    struct Recount {
        uint32_t before = 0, after = 0;
        bool changed = false;
    };
    static Recount repairRecordCount(const std::string& path);
    // Writes a new empty table (and its FPT when a field needs one) and leaves it closed.
    // codePageByte is the language-driver byte recorded in the header.
    static void create(const std::string& path, const std::vector<FieldInfo>& fields,
                       uint8_t codePageByte);

    const std::string& path() const { return file_.path(); }
    const DbfHeader& header() const { return header_; }
    const FieldList& fields() const { return header_.fields; }
    const CodePage& codePage() const { return *codePage_; }
    uint32_t recordCount() const { return header_.recordCount; }
    // The whole records the file holds, which may exceed the count (see open()).
    uint64_t recordsOnFile() const { return wholeRecords_; }
    int recordLength() const { return header_.recordLength; }
    bool writable() const { return file_.writable(); }
    MemoFile* memo() const { return memo_.get(); }

    void readRecord(uint32_t recno, uint8_t* buf) const;
    // Reads count consecutive records starting at first (all must exist) in one read.
    void readRecords(uint32_t first, uint32_t count, uint8_t* buf) const;
    void writeRecord(uint32_t recno, const uint8_t* buf);
    // Writes the record after the last one, then the count; returns its number.
    uint32_t appendRecord(const uint8_t* buf);
    // Writes count records laid end to end after the last one in one write, then the count;
    // returns the number of the last.
    uint32_t appendRecords(const uint8_t* buf, uint32_t count);
    // Writes the header flags byte (production index present or not).
    void setFlags(uint8_t flags);
    // The transaction flag is set while a post has written its record but not yet its index
    // keys, so an interrupted post is noticed at the next open.
    void setTransactionFlag(bool on);

    // The memo text of a memo field of a record buffer.
    std::string readMemo(const FieldInfo& field, const uint8_t* record) const;

    void sync();

    // Reads records in file order in large chunks: far fewer system calls than readRecord.
    class Scanner {
      public:
        Scanner(const DbfTable& table, uint32_t first, uint32_t last, size_t chunkBytes = 1 << 20);
        // The next record (its bytes stay valid until the next call), or nullptr at the end.
        const uint8_t* next(uint32_t& recno);

      private:
        const DbfTable& table_;
        uint32_t nextRec_, lastRec_;
        std::vector<uint8_t> buf_;
        uint32_t bufFirst_ = 0, bufCount_ = 0;
    };

  private:
    DbfTable() = default;
    uint64_t recordOffset(uint32_t recno) const {
        return uint64_t(header_.headerLength) + uint64_t(recno - 1) * header_.recordLength;
    }
    void touchDate();

    File file_;
    DbfHeader header_;
    const CodePage* codePage_ = nullptr;
    std::unique_ptr<MemoFile> memo_;
    bool dateWritten_ = false;
    std::vector<uint8_t> appendBuffer_;  // kept between appends: one allocation per table
    uint64_t wholeRecords_ = 0;
};

}  // namespace xb
