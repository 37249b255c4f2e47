// A work area: one open table with its memo file, its indexes (the production compound index
// and any single-order index files), a current record, a controlling order and a selection.
// This is the engine's public interface; each operation is named after the call it replaces.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/codepage.h"
#include "xbase/date.h"
#include "xbase/expr/expression.h"
#include "xbase/field.h"

namespace xb {

enum class UseMode { Shared = 0, ReadOnly = 1, Exclusive = 2 };

// A report on long work: pack (records copied), index building (records keyed, per tag)
// and copying out. Returning false from the callback is not supported; long work is not
// cancellable inside the engine.
struct Progress {
    enum class Phase { Pack, Index, Copy } phase = Phase::Pack;
    uint64_t done = 0;
    uint64_t total = 0;
    int tag = 0;       // Index: the tag being built, from 1
    int tagCount = 0;  // Index: how many tags this run builds
};
using ProgressFn = std::function<void(const Progress&)>;

// The description of an index order to create.
struct TagDef {
    std::string name;  // tag name (CDX) — ignored for a single-order index file
    std::string keyExpr;
    std::string forExpr;  // "" for none
    bool descending = false;
    bool unique = false;
};

class OrderSet;
class Selection;
class DbfTable;

class WorkArea {
  public:
    WorkArea();
    ~WorkArea();
    WorkArea(const WorkArea&) = delete;
    WorkArea& operator=(const WorkArea&) = delete;

    // ---- Tables -------------------------------------------------------------------------
    // Opens the table, its memo file and its production index (the .CDX of the same name,
    // when present). A damaged or missing production index does not stop the table from
    // opening: see indexProblem(). Exclusive mode keeps every other opener out, in this
    // process or another.
    void use(const std::string& path, UseMode mode = UseMode::Exclusive);
    // Posts a pending change and closes everything (files are flushed to disk).
    void close();
    bool isOpen() const;
    const std::string& path() const;
    bool readOnly() const;
    const CodePage& codePage() const;  // the table's text encoding

    // A new table: name the file, add fields in order, then create it (left closed).
    void createNew(const std::string& path);
    void createField(const std::string& name, char type, int width, int decimals = 0);
    void createExec();
    // An empty table at target with this table's fields (and a memo file when needed).
    void copyStructure(const std::string& target) const;

    // ---- Fields (numbers from 1) --------------------------------------------------------
    int fieldCount() const;
    std::string fieldName(int number) const;
    int fieldNumber(std::string_view name) const;  // 0 when there is no such field
    char fieldType(std::string_view name) const;
    int fieldWidth(std::string_view name) const;
    int fieldDecimals(std::string_view name) const;
    const FieldList& fields() const;

    // Reading the current record. Text is UTF-8: character fields without trailing blanks,
    // numbers as stored without blanks, dates as yyyymmdd ("" when empty), logicals "T"/"F"
    // ("" when not set), memos in full, and the types of other tables in a readable form.
    std::string getText(std::string_view field) const;
    std::string getText(int number) const;
    double getNumber(std::string_view field) const;
    Jdn getDate(std::string_view field) const;
    bool getLogical(std::string_view field) const;
    std::string getMemo(std::string_view field) const;
    // The field's bytes as stored, in the table's code page.
    std::string getRaw(std::string_view field) const;
    // The same by field number, without a copy: valid until the current record changes.
    // For loops over many records that look their fields up once.
    std::string_view rawField(int number) const;

    // Writing into the current record; the file changes at post(). Text longer than the
    // field is cut; a character the table's code page cannot hold throws Error(CodePage).
    void putText(std::string_view field, std::string_view utf8);
    void putText(int number, std::string_view utf8);
    void putNumber(std::string_view field, double value);
    void putDate(std::string_view field, Jdn date);
    void putLogical(std::string_view field, bool value);
    // A memo's new text (written to the memo file at post()).
    void replace(std::string_view memoField, std::string_view utf8);
    void putRaw(std::string_view field, std::string_view bytes);
    void putRaw(int number, std::string_view bytes);  // cut or blank-filled to the width

    // A blank new record, added to the file at post().
    void append();
    // Adds whole records laid end to end (each recordLength() bytes, the deletion byte first)
    // in one write, for filling a table of one's own quickly: exclusive use, no index open,
    // memo pointers taken as they are. The last of them becomes current.
    void appendRecords(std::string_view records);
    int recordLength() const;
    // The bytes of a blank new record, as append() starts it.
    std::string blankRecord() const;
    // Writes the current record (its memos first, then the record, then every index).
    // When post() returns the record is on the file.
    void post();
    // Forgets changes not yet posted; an unposted append goes back to the record before.
    void cancel();
    bool modified() const;
    bool appending() const;
    // Flushes every file of the work area to the disk.
    void commit();

    // ---- Position -----------------------------------------------------------------------
    // Goes to a record. A record outside the selection (filtered out, hidden as deleted or
    // absent from the controlling order) is not entered: the work area moves on to the next
    // record of the selection in the current order instead, or to the end.
    void go(uint32_t recno);
    uint32_t recNo() const;  // the current record; recCount()+1 at the end of file
    uint32_t recCount() const;
    bool eof() const;
    bool bof() const;
    void skip(long count = 1);
    void first();
    void last();

    // ---- Deletion mark -----------------------------------------------------------------
    void deleteRecord();  // sets the mark on the current record and posts
    void recall();
    bool deleted() const;
    // Removes every marked record and renumbers the rest; rebuilds every open index. Needs
    // exclusive use. The new files replace the old ones only when complete.
    void pack();

    // ---- Indexes and orders -------------------------------------------------------------
    // Creates a tag in a compound index (file "" = the production index) over all records,
    // keeps it current from then on and makes it the controlling order. Returns its order.
    int indexTag(const std::string& file, const TagDef& tag);
    // Creates several tags of the production index in one pass over the table (the same
    // result as calling indexTag for each, in order; the last becomes the order).
    void indexTags(const std::vector<TagDef>& tags);
    // Creates a single-order index file. With createEmpty it holds no keys until keyAdd()
    // adds them and only such records are kept current; otherwise it is built over all
    // records. Becomes the controlling order; returns its order number.
    int index(const std::string& path, const TagDef& def, bool createEmpty);
    // Opens an existing single-order index file as an additional order.
    int openIndex(const std::string& path);
    // Adds the current record's key to the single-order index file at path (or, when path
    // names no open index file, to the controlling order).
    void keyAdd(const std::string& path);
    // keyAdd for each of the records, in one go: the index file is written once at the end
    // instead of once per key, and the current record stays where it is. A record listed
    // twice gets one entry.
    void keyAdd(const std::string& path, const std::vector<uint32_t>& recnos);
    // index() created empty and then keyAdd() for each of the records, in one sorted build:
    // the order holds those records' keys only and is kept current for them.
    int indexRecords(const std::string& path, const TagDef& def,
                     const std::vector<uint32_t>& records);
    // For a run of posts that changes most records in exclusive use: the production index is
    // put aside (the table's transaction flag set on the file, so that a process dying in the
    // run leaves the next exclusive open to rebuild it) and posts keep no index current until
    // endBulkUpdate() rebuilds every tag in one bounded build and clears the flag. Meanwhile
    // the work area has no orders. Returns false, changing nothing, when not in exclusive use,
    // without a production index, or with index files of its own open.
    bool beginBulkUpdate();
    void endBulkUpdate();
    bool bulkUpdating() const;
    // In a bulk update: change is called with the bytes of each listed record as stored, in
    // record order (read in large blocks), and may change them; when it returns true they
    // are written back. Memo pointers and the deletion mark must stay as they are. goOn,
    // told the records done so far, may stop the run. Returns the records done.
    uint32_t rewriteRecords(const std::vector<uint32_t>& recnos,
                            const std::function<bool(uint32_t recno, uint8_t* record)>& change,
                            const std::function<bool(uint32_t done)>& goOn = {});
    // Rebuilds every open index from the records (the production index into a new file).
    void reindex();
    void closeIndexes();
    // Closes the indexes and deletes the production index file. The table stops naming it
    // (on disk) before the file goes, so at no moment does the table point to an index file
    // that is not there, which other xBase programs refuse to open.
    void dropProductionIndex();

    int orderCount() const;
    int tagArea(std::string_view tagName) const;  // its order number, 0 when absent
    void setOrder(int order);                     // 0 = record-number order
    int indexOrd() const;
    std::string indexName(int order) const;  // the index file of that order, "" when none
    std::string tagName(int order) const;
    std::string orderKey(int order) const;
    std::string orderFor(int order) const;
    // The value type of an order's key (character, numeric, date or logical).
    ValueType orderKeyType(int order) const;
    // Calls visit for every entry of an order, in index order, with the key bytes as stored.
    void scanOrder(int order,
                   const std::function<void(uint32_t recno, std::string_view key)>& visit);
    // Checks every open order against the records: tree structure, one entry per record that
    // belongs (partial orders: entries only for existing records) and each key equal to the
    // key computed from its record. Returns "" when all is well, else what is wrong.
    std::string checkIndexes();
    // Why the production index could not be used at open ("" when fine): missing although
    // the table says it has one, damaged, or possibly stale after an interrupted post.
    const std::string& indexProblem() const;

    // ---- Seeking ------------------------------------------------------------------------
    // Seeks in the controlling order: found when a key begins with the text (exact off) or
    // equals it apart from trailing blanks (exact on). Not found: at the next greater key
    // with soft seek on, else at the end of file.
    bool seek(std::string_view utf8);
    bool seekNumber(double value);
    bool seekDate(Jdn value);
    bool found() const;
    void setExact(bool on);
    bool exact() const;
    void setSoftSeek(bool on);

    // ---- Selection ----------------------------------------------------------------------
    // Only records for which the expression is true are visited and counted ("" removes it).
    void query(const std::string& expr);
    const std::string& dbFilter() const;
    // The number of records in the selection (in the controlling order's records).
    uint32_t queryRecCount();
    // The logical value of an expression on the current record.
    bool evalLogical(const std::string& expr);
    Value evaluate(const std::string& expr);
    // Marked records hidden (true) or visible.
    void setDeleted(bool hide);
    bool deletedHidden() const;

    // Positional access for grids: the selection as rows 0..selectionCount()-1 in order.
    uint32_t selectionCount();
    uint32_t position();            // the current record's row (selectionCount() at the end)
    void goPosition(uint32_t row);  // past the last row: end of file

    void setProgress(ProgressFn fn);
    // Reading ahead in large blocks: for walks through the table in record order. Writes
    // drop what was read ahead, so it never shows stale records.
    void setFastRead(bool on);

    struct State;  // the inside, for the engine's own implementation files

  private:
    std::unique_ptr<State> s_;
};

// Process-wide settings of the engine.
namespace settings {
void setCentury(bool on);
bool century();
void setErrorLevel(int level);  // kept for callers; the engine never shows or prints anything
int errorLevel();
}  // namespace settings

}  // namespace xb
