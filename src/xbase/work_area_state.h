// The inside of a work area, shared by the files that implement its operations by concern
// (tables and fields, records, navigation, orders, building and packing).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "xbase/dbf_table.h"
#include "xbase/expr/expression.h"
#include "xbase/index/index.h"
#include "xbase/selection.h"
#include "xbase/work_area.h"

namespace xb {

class TableMemoSource;

// One index order: a tag of the production index or a single-order index file.
struct Order {
    std::string name;     // tag name ("" for an index file)
    std::string file;     // path of the index file
    std::string keyText;  // the key expression as stored
    std::string forText;
    index::Tag* tag = nullptr;
    int idxSlot = -1;  // which single-order index file, -1 for a production tag
    Expression key;
    Expression cond;  // invalid when the order has no condition
    int keyLength = 0;
    KeyKind kind = KeyKind::Character;
    bool unique = false;
    bool descending = false;
    bool partial = false;   // created empty: holds only the records keyAdd gave it
    std::vector<int> deps;  // fields the key or condition reads
    bool depDeleted = false, depMemo = false, depRecno = false;

    // The description the order was made from (the name only matters for production tags).
    index::TagParams params() const {
        index::TagParams p;
        p.name = name;
        p.keyExpr = keyText;
        p.forExpr = forText;
        p.keyLength = keyLength;
        p.kind = kind;
        p.unique = unique;
        p.descending = descending;
        return p;
    }
};

// The production index beside a table (an existing file in any letter case).
std::string productionIndexPath(const std::string& tablePath);

struct WorkArea::State {
    // The table.
    std::unique_ptr<DbfTable> table;
    UseMode mode = UseMode::Exclusive;
    std::string path;

    // A table being defined (createNew / createField / createExec).
    std::string createPath;
    std::vector<FieldInfo> createFields;
    bool creating = false;

    // The current record.
    std::vector<uint8_t> buf, orig;
    std::map<int, std::string> memoEdits;  // field index -> new memo bytes
    uint32_t recno = 0;
    bool eof = true, bof = true, found = false;
    bool modified = false, appending = false;
    uint32_t beforeAppend = 0;

    // Orders.
    std::unique_ptr<index::CdxFile> cdx;
    std::vector<std::unique_ptr<index::IdxFile>> idxFiles;
    std::vector<bool> idxPartial;  // per index file: created empty, filled by keyAdd
    std::vector<Order> orders;     // order n is orders[n-1]
    int current = 0;
    std::unique_ptr<index::TagCursor> cursor;  // on the controlling order
    uint32_t cursorRec = 0;    // the record the cursor was placed for (0: not placed)
    bool cursorExact = false;  // the cursor's entry is that record's own
    std::string indexProblem;
    std::vector<std::string> unusableTags;  // production tags whose key or condition fails
    std::string unreadableIndex;            // why the production index could not be opened at all

    // Selection and settings.
    Expression filter;
    std::string filterText;
    bool hideDeleted = false;
    bool exact = false;
    bool softSeek = false;
    Selection sel;
    ProgressFn progress;
    bool fastRead = false;
    std::vector<uint8_t> readAhead;  // records raFirst .. raFirst+raCount-1
    uint32_t raFirst = 0, raCount = 0;
    uint32_t lastLoaded = 0;          // the record loadRecord read last
    std::vector<uint8_t> priorImage;  // a post's record before the change
    static constexpr uint32_t kNearStep = 16;
    Expression lastExpr;  // the last expression evaluate() compiled, kept for loops
    std::string lastExprText;
    std::unique_ptr<TableMemoSource> memoOnDisk;   // memos as stored
    std::unique_ptr<TableMemoSource> memoPending;  // memos with the unposted edits

    // ---- helpers (work_area.cpp) ----
    DbfTable& t() const;
    void requireOpen() const;
    void requireWritable() const;
    const FieldInfo& field(std::string_view name) const;
    CompileContext compileContext() const;
    Expression compile(const std::string& utf8) const;
    EvalSettings evalSettings() const { return EvalSettings{exact, xb::today()}; }
    // A record image for evaluation; pending memo edits are seen when withPending.
    RecordRef refOf(const uint8_t* rec, uint32_t recno, bool withPending = false) const;
    void loadRecord(uint32_t r);  // reads r into buf/orig, or blanks at the end
    void blankRecord(std::vector<uint8_t>& rec) const;

    // ---- orders (work_area_orders.cpp) ----
    void openProductionIndex();
    void addOrdersFromCdx();
    std::string coverageProblem();  // "" when the production index holds the table's records
    Order makeOrder(const index::TagInfo& info, index::Tag* tag, int idxSlot,
                    const std::string& file);
    Order* currentOrder() { return current > 0 ? &orders[size_t(current - 1)] : nullptr; }
    // Index upkeep for a written record (old image null for an append).
    // Returns true when the controlling order's position of the record may have changed.
    bool updateIndexes(const uint8_t* oldRec, const uint8_t* newRec, uint32_t recno,
                       bool memoChanged);
    // Writes every changed index page; when posts left their keys unwritten (see
    // postPending), also clears the table's transaction flag once they are all on the file.
    void flushIndexes();
    // Posts in exclusive use whose index pages are still only in the page cache.
    int deferredPosts = 0;
    // Between beginBulkUpdate and endBulkUpdate: the production index put aside, and the tag
    // that was the controlling order.
    bool bulkUpdate = false;
    std::string bulkOrderName;
    void computeKey(const Order& o, const uint8_t* rec, uint32_t recno, uint8_t* out) const;
    bool inOrder(const Order& o, const uint8_t* rec, uint32_t recno) const;
    void dropOrders();
    void rebuildOrderList();    // orders from the open index files, keeping the current one
    void ensureCdxForAdding();  // opens or creates the production index for new tags
    void rebuildAllIndexes();   // every open index rebuilt from the records
    int tagOrder(const std::string& name) const;

    // ---- navigation (work_area_nav.cpp) ----
    bool selectionActive() const { return filter.valid() || hideDeleted; }
    void ensureBits();
    bool visible(uint32_t r);
    void ensureRows();
    void positionCursorAt(uint32_t r);  // cursor to the record's entry, or where it would be
    void settle(uint32_t r);            // make r current (r = 0: end of file)
    void setEof();
    uint32_t stepFrom(uint32_t r, bool forward);  // the next/previous visible record, 0 = none
    void afterWrite(const uint8_t* oldRec, uint32_t recno, bool orderMoved);

    // ---- records (work_area_record.cpp) ----
    void postPending();
    void writeMemos();
};

// Reads memos of the table, preferring pending edits for the record being posted.
class TableMemoSource : public MemoSource {
  public:
    TableMemoSource(const DbfTable& table, const std::map<int, std::string>* pending)
        : table_(table), pending_(pending) {}
    std::string readMemo(const FieldInfo& field, const uint8_t* fieldBytes) const override;

  private:
    const DbfTable& table_;
    const std::map<int, std::string>* pending_;
};

}  // namespace xb
