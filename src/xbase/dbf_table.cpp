// DBF table file access.
#include "xbase/dbf_table.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "xbase/bytes.h"
#include "xbase/error.h"

namespace xb {

namespace {
std::string miscountMessage(const std::string& path, uint64_t counted, uint64_t held) {
    return path + ": the header counts " + std::to_string(counted) +
           " records but the file holds " + std::to_string(held) +
           "; it can only be read until \"xbtool repair\" counts them again";
}
}  // namespace

std::unique_ptr<DbfTable> DbfTable::open(const std::string& path, OpenMode mode, LockMode lock) {
    std::unique_ptr<DbfTable> t(new DbfTable);
    t->file_ = File::open(path, mode, lock);
    uint64_t size = t->file_.size();
    uint8_t first[32] = {};
    size_t got = t->file_.readAt(0, first, sizeof first);
    if (got < sizeof first)
        fail(ErrorCode::Corrupt, path + ": the file is too short to be a table");
    size_t want = dbfHeaderLengthHint(first);
    if (want < 33) want = 33;
    if (want > size) want = size_t(size);
    std::vector<uint8_t> hb(want);
    size_t n = t->file_.readAt(0, hb.data(), hb.size());
    t->header_ = decodeDbfHeader(hb.data(), n, size, path);
    t->wholeRecords_ = (size - t->header_.headerLength) / t->header_.recordLength;
    // One whole record past the count is an append that stopped between writing its record
    // and its count: it was never committed and the next append writes over it. More than
    // one means the count was damaged: appending would overwrite records and packing would
    // cut them off, so only reading (up to the count) is allowed until it is repaired.
    if (mode != OpenMode::ReadOnly && t->wholeRecords_ > uint64_t(t->header_.recordCount) + 1)
        fail(ErrorCode::Corrupt, miscountMessage(path, t->header_.recordCount, t->wholeRecords_));
    t->codePage_ = &CodePage::forDriverByte(t->header_.codePageByte);
    MemoKind mk = t->header_.memoKind();
    if (mk != MemoKind::None) {
        std::string mp = findSiblingOf(path, mk == MemoKind::Fpt ? ".FPT" : ".DBT");
        if (!fileExists(mp))
            fail(ErrorCode::NotFound, path + ": its memo file " + baseNameOf(mp) + " is missing");
        t->memo_ = MemoFile::open(mk, mp, mode, lock);
    }
    return t;
}

DbfTable::Recount DbfTable::repairRecordCount(const std::string& path) {
    File f = File::open(path, OpenMode::ReadWrite, LockMode::Exclusive);
    uint64_t size = f.size();
    uint8_t first[32] = {};
    if (f.readAt(0, first, sizeof first) < sizeof first)
        fail(ErrorCode::Corrupt, path + ": the file is too short to be a table");
    size_t want = std::max<size_t>(33, dbfHeaderLengthHint(first));
    if (want > size) want = size_t(size);
    std::vector<uint8_t> hb(want);
    size_t n = f.readAt(0, hb.data(), hb.size());
    Recount r;
    r.before = getLE32(hb.data() + 4);
    putLE32(hb.data() + 4, 0);  // the count is what is being repaired: decode without it
    DbfHeader h = decodeDbfHeader(hb.data(), n, size, path);
    uint64_t whole = (size - h.headerLength) / h.recordLength;
    if (whole > 0xFFFFFFFEu)
        fail(ErrorCode::Corrupt, path + ": the file holds more records than a table can count");
    r.after = uint32_t(whole);
    uint64_t end = h.headerLength + whole * h.recordLength;
    uint8_t eof = 0;
    bool eofMarked = size == end + 1 && f.readAt(end, &eof, 1) == 1 && eof == 0x1A;
    if (r.after == r.before && (size == end || eofMarked)) return r;
    // A torn last record (never committed) goes; the end-of-file mark follows the last whole one.
    f.truncate(end);
    eof = 0x1A;
    f.writeAt(end, &eof, 1);
    uint8_t c[4];
    putLE32(c, r.after);
    f.writeAt(4, c, 4);
    f.sync();
    r.changed = true;
    return r;
}

void DbfTable::create(const std::string& path, const std::vector<FieldInfo>& fields,
                      uint8_t codePageByte) {
    if (fields.empty()) fail(ErrorCode::Argument, path + ": a table needs at least one field");
    for (auto& f : fields)
        checkNewField(f);
    for (size_t i = 0; i < fields.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (fields[i].name == fields[j].name)
                fail(ErrorCode::Argument,
                     path + ": the field " + fields[i].name + " is defined twice");
    DbfHeader h = makeDbfHeader(fields, codePageByte);
    if (h.recordLength > 4000)
        fail(ErrorCode::Argument, path + ": records would be " + std::to_string(h.recordLength) +
                                      " bytes long, more than 4000");
    std::vector<uint8_t> bytes = encodeDbfHeader(h);
    bytes.push_back(0x1A);
    MemoKind mk = h.memoKind();
    std::string memoPath = memoPathFor(path, mk);
    // The memo file first: a table that needs one must never be left without it.
    if (mk != MemoKind::None) {
        auto memo = MemoFile::createFpt(memoPath);
        memo->sync();
    }
    File f = File::open(path, OpenMode::CreateNew, LockMode::Exclusive);
    f.writeAt(0, bytes.data(), bytes.size());
    f.sync();
    syncDirectoryOf(path);
}

void DbfTable::readRecord(uint32_t recno, uint8_t* buf) const {
    if (recno < 1 || recno > header_.recordCount)
        fail(ErrorCode::Argument, path() + ": record " + std::to_string(recno) + " does not exist");
    file_.readExact(recordOffset(recno), buf, header_.recordLength, "a record");
}

void DbfTable::readRecords(uint32_t first, uint32_t count, uint8_t* buf) const {
    if (count == 0) return;
    if (first < 1 || first + count - 1 > header_.recordCount || first + count - 1 < first)
        fail(ErrorCode::Argument, path() + ": records " + std::to_string(first) + " to " +
                                      std::to_string(first + count - 1) + " do not exist");
    file_.readExact(recordOffset(first), buf, size_t(count) * header_.recordLength, "a record");
}

void DbfTable::touchDate() {
    if (dateWritten_) return;
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    header_.year = tm.tm_year + 1900;
    header_.month = tm.tm_mon + 1;
    header_.day = tm.tm_mday;
    uint8_t d[3] = {uint8_t(header_.year % 100), uint8_t(header_.month), uint8_t(header_.day)};
    file_.writeAt(1, d, 3);
    dateWritten_ = true;
}

void DbfTable::writeRecord(uint32_t recno, const uint8_t* buf) {
    if (recno < 1 || recno > header_.recordCount)
        fail(ErrorCode::Argument, path() + ": record " + std::to_string(recno) + " does not exist");
    file_.writeAt(recordOffset(recno), buf, header_.recordLength);
    touchDate();
}

uint32_t DbfTable::appendRecord(const uint8_t* buf) {
    return appendRecords(buf, 1);
}

uint32_t DbfTable::appendRecords(const uint8_t* buf, uint32_t count) {
    if (count == 0) return header_.recordCount;
    if (count > 0xFFFFFFFEu - header_.recordCount)
        fail(ErrorCode::Argument, path() + ": the table is full");
    const uint32_t first = header_.recordCount + 1;
    const uint32_t last = header_.recordCount + count;
    // Records and end-of-file mark in one write, then the count: the count never claims a
    // record that is not on the file.
    const size_t bytes = size_t(count) * size_t(header_.recordLength);
    appendBuffer_.resize(bytes + 1);
    std::memcpy(appendBuffer_.data(), buf, bytes);
    appendBuffer_.back() = 0x1A;
    file_.writeAt(recordOffset(first), appendBuffer_.data(), appendBuffer_.size());
    uint8_t c[4];
    putLE32(c, last);
    file_.writeAt(4, c, 4);
    header_.recordCount = last;
    touchDate();
    return last;
}

void DbfTable::setFlags(uint8_t flags) {
    if (header_.flags == flags) return;
    file_.writeAt(28, &flags, 1);
    header_.flags = flags;
}

void DbfTable::setTransactionFlag(bool on) {
    uint8_t v = on ? 1 : 0;
    if (header_.transactionFlag == v) return;
    file_.writeAt(14, &v, 1);
    header_.transactionFlag = v;
}

std::string DbfTable::readMemo(const FieldInfo& field, const uint8_t* record) const {
    if (!memo_) return {};
    uint32_t block = memoBlockFromField(record + field.offset, field.width);
    return memo_->read(block);
}

void DbfTable::sync() {
    if (!file_.writable()) return;
    if (memo_) memo_->sync();
    file_.sync();
}

DbfTable::Scanner::Scanner(const DbfTable& table, uint32_t first, uint32_t last, size_t chunkBytes)
    : table_(table), nextRec_(first < 1 ? 1 : first), lastRec_(last) {
    if (lastRec_ > table.recordCount()) lastRec_ = table.recordCount();
    size_t per = size_t(table.recordLength());
    size_t n = chunkBytes / per;
    if (n < 1) n = 1;
    buf_.resize(n * per);
}

const uint8_t* DbfTable::Scanner::next(uint32_t& recno) {
    if (nextRec_ > lastRec_) return nullptr;
    size_t per = size_t(table_.recordLength());
    if (nextRec_ < bufFirst_ || nextRec_ >= bufFirst_ + bufCount_) {
        uint32_t want = uint32_t(buf_.size() / per);
        if (want > lastRec_ - nextRec_ + 1) want = lastRec_ - nextRec_ + 1;
        size_t got = table_.file_.readAt(table_.recordOffset(nextRec_), buf_.data(), want * per);
        bufFirst_ = nextRec_;
        bufCount_ = uint32_t(got / per);
        if (bufCount_ == 0)
            fail(ErrorCode::Corrupt, table_.path() + ": record " + std::to_string(nextRec_) +
                                         " lies past the end of the file");
    }
    recno = nextRec_++;
    return buf_.data() + size_t(recno - bufFirst_) * per;
}

}  // namespace xb
