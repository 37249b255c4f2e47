// Work area: opening, closing and creating tables; the field list; reading and writing field
// values of the current record.
#include "xbase/work_area.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/pack_journal.h"
#include "xbase/work_area_state.h"

namespace xb {

namespace {

std::string rtrim(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\0'))
        --n;
    return std::string(s.substr(0, n));
}

std::string trimBoth(std::string_view s) {
    size_t a = 0;
    while (a < s.size() && (s[a] == ' ' || s[a] == '\0'))
        ++a;
    return rtrim(s.substr(a));
}

std::string formatNumber(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// Parses the ASCII number of an N or F field; blanks and junk read as 0.
double parseNumber(const uint8_t* p, int width) {
    char buf[32];
    int n = 0;
    for (int i = 0; i < width && n < 31; ++i)
        if (p[i] != ' ' && p[i] != 0) buf[n++] = char(p[i]);
    buf[n] = 0;
    if (n == 0) return 0;
    char* end = nullptr;
    double v = std::strtod(buf, &end);
    if (end == buf || !std::isfinite(v)) return 0;
    return v;
}

bool settingsCentury = true;
int settingsErrorLevel = 1;

}  // namespace

namespace settings {
void setCentury(bool on) {
    settingsCentury = on;
}
bool century() {
    return settingsCentury;
}
void setErrorLevel(int level) {
    settingsErrorLevel = level;
}
int errorLevel() {
    return settingsErrorLevel;
}
}  // namespace settings

std::string TableMemoSource::readMemo(const FieldInfo& field, const uint8_t* fieldBytes) const {
    if (pending_) {
        auto it = pending_->find(field.index);
        if (it != pending_->end()) return it->second;
    }
    if (!table_.memo()) return {};
    return table_.memo()->read(memoBlockFromField(fieldBytes, field.width));
}

// ---- State helpers ---------------------------------------------------------------------

DbfTable& WorkArea::State::t() const {
    if (!table) fail(ErrorCode::State, "No table is open in this work area");
    return *table;
}

void WorkArea::State::requireOpen() const {
    (void)t();
}

void WorkArea::State::requireWritable() const {
    if (!t().writable()) fail(ErrorCode::State, path + " is open read-only");
}

const FieldInfo& WorkArea::State::field(std::string_view name) const {
    const FieldInfo* f = t().fields().find(name);
    if (!f) fail(ErrorCode::NotFound, path + ": there is no field " + std::string(name));
    return *f;
}

CompileContext WorkArea::State::compileContext() const {
    CompileContext c;
    c.fields = &t().fields();
    c.upper = t().codePage().upperTable();
    return c;
}

Expression WorkArea::State::compile(const std::string& utf8) const {
    return Expression::compile(t().codePage().encode(utf8), compileContext());
}

RecordRef WorkArea::State::refOf(const uint8_t* rec, uint32_t r, bool withPending) const {
    RecordRef ref;
    ref.data = rec;
    ref.recno = r;
    ref.memos = withPending ? static_cast<const MemoSource*>(memoPending.get())
                            : static_cast<const MemoSource*>(memoOnDisk.get());
    return ref;
}

void WorkArea::State::blankRecord(std::vector<uint8_t>& rec) const {
    rec.assign(size_t(t().recordLength()), ' ');
    for (auto& f : t().fields().all()) {
        switch (f.type) {
            case 'C':
            case 'N':
            case 'F':
            case 'D':
            case 'L':
                break;
            case 'M':
            case 'G':
            case 'P':
                if (f.width == 4) std::memset(rec.data() + f.offset, 0, 4);
                break;
            default:
                std::memset(rec.data() + f.offset, 0, size_t(f.width));
        }
    }
}

void WorkArea::State::loadRecord(uint32_t r) {
    memoEdits.clear();
    modified = false;
    appending = false;
    if (r >= 1 && r <= t().recordCount()) {
        const size_t per = size_t(t().recordLength());
        buf.resize(per);
        // In exclusive use nobody else writes the table and a post copies its record into what
        // was read ahead, so a block read once stays true. Steps forward by a few records at a
        // time (a walk that acts on every few records) then read in blocks too; any other
        // move reads the one record.
        const bool exclusive = mode == UseMode::Exclusive;
        const bool inBlock = r >= raFirst && r < raFirst + raCount;
        const bool stepping =
            exclusive && lastLoaded != 0 && r > lastLoaded && r - lastLoaded <= kNearStep;
        if (inBlock && (fastRead || exclusive)) {
            std::memcpy(buf.data(), readAhead.data() + size_t(r - raFirst) * per, per);
        } else if (fastRead || stepping) {
            const size_t bytes = fastRead ? size_t(256) << 10 : size_t(64) << 10;
            uint32_t want = uint32_t(std::max<size_t>(1, bytes / per));
            want = std::min(want, t().recordCount() - r + 1);
            readAhead.resize(size_t(want) * per);
            raCount = 0;  // nothing is trusted until the read is whole
            t().readRecords(r, want, readAhead.data());
            raFirst = r;
            raCount = want;
            std::memcpy(buf.data(), readAhead.data(), per);
        } else {
            t().readRecord(r, buf.data());
        }
        lastLoaded = r;
        recno = r;
    } else {
        blankRecord(buf);
        recno = t().recordCount() + 1;
    }
    orig = buf;
}

// ---- Opening and closing ---------------------------------------------------------------

WorkArea::WorkArea() : s_(std::make_unique<State>()) {}

WorkArea::~WorkArea() {
    try {
        close();
    } catch (...) {
        // A destructor cannot report; callers that care close() first.
    }
}

void WorkArea::use(const std::string& rawPath, UseMode mode) {
    close();
    std::string p = findCaseInsensitive(rawPath);
    OpenMode om = mode == UseMode::ReadOnly ? OpenMode::ReadOnly : OpenMode::ReadWrite;
    LockMode lm = mode == UseMode::Exclusive ? LockMode::Exclusive : LockMode::Shared;
    // A pack journal lies beside the table's real file, wherever a link to it was opened.
    const std::string real = realPathOf(p);
    if (om != OpenMode::ReadOnly) recoverInterruptedPack(real);
    auto table = DbfTable::open(p, om, lm);
    if (om == OpenMode::ReadOnly && packJournalComplete(real))
        fail(ErrorCode::State, p + ": a pack of this table was interrupted while its files were "
                                   "being replaced; opening it for writing finishes the pack");
    s_ = std::make_unique<State>();
    s_->table = std::move(table);
    s_->mode = mode;
    s_->path = p;
    s_->memoOnDisk = std::make_unique<TableMemoSource>(*s_->table, nullptr);
    s_->memoPending = std::make_unique<TableMemoSource>(*s_->table, &s_->memoEdits);
    try {
        s_->openProductionIndex();
    } catch (...) {
        s_ = std::make_unique<State>();
        throw;
    }
    s_->current = 0;
    if (s_->table->recordCount() > 0)
        s_->settle(1);
    else
        s_->setEof();
}

void WorkArea::close() {
    if (!s_->table) return;
    std::exception_ptr err;
    try {
        if (s_->table->writable()) {
            s_->postPending();
            commit();
        }
    } catch (...) {
        err = std::current_exception();
    }
    s_ = std::make_unique<State>();
    if (err) std::rethrow_exception(err);
}

bool WorkArea::isOpen() const {
    return s_->table != nullptr;
}
const std::string& WorkArea::path() const {
    return s_->path;
}
bool WorkArea::readOnly() const {
    return !s_->t().writable();
}
const CodePage& WorkArea::codePage() const {
    return s_->t().codePage();
}

void WorkArea::setFastRead(bool on) {
    s_->fastRead = on;
    s_->raCount = 0;
}

void WorkArea::commit() {
    s_->requireOpen();
    if (!s_->table->writable()) return;
    s_->postPending();
    s_->flushIndexes();
    if (s_->cdx) s_->cdx->sync();
    for (auto& f : s_->idxFiles)
        f->sync();
    s_->table->sync();
}

// ---- Creating ----------------------------------------------------------------------------

namespace {
// A new table; a production index left by an earlier table of that name would not match it.
void createTableFiles(const std::string& path, const std::vector<FieldInfo>& fields, uint8_t cp) {
    std::string cdx = findSiblingOf(path, ".CDX");
    DbfTable::create(path, fields, cp);
    if (fileExists(cdx)) removeFile(cdx);
}
}  // namespace

void WorkArea::createNew(const std::string& p) {
    s_->createPath = p;
    s_->createFields.clear();
    s_->creating = true;
}

void WorkArea::createField(const std::string& name, char type, int width, int decimals) {
    if (!s_->creating) fail(ErrorCode::State, "createField without createNew");
    FieldInfo f;
    f.name = name;
    for (auto& c : f.name)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    f.type = char(std::toupper(static_cast<unsigned char>(type)));
    f.width = width;
    f.decimals = decimals;
    checkNewField(f);
    s_->createFields.push_back(f);
}

void WorkArea::createExec() {
    if (!s_->creating) fail(ErrorCode::State, "createExec without createNew");
    s_->creating = false;
    createTableFiles(s_->createPath, s_->createFields, CodePage::windows1252().driverByte());
    s_->createFields.clear();
}

void WorkArea::copyStructure(const std::string& target) const {
    std::vector<FieldInfo> fields = s_->t().fields().all();
    for (auto& f : fields) {
        if (f.isMemoPointer()) f.width = 10;  // the copy is a FoxPro 2.x table
    }
    createTableFiles(target, fields, s_->t().codePage().driverByte());
}

// ---- Fields --------------------------------------------------------------------------------

int WorkArea::fieldCount() const {
    return s_->t().fields().count();
}

std::string WorkArea::fieldName(int number) const {
    if (number < 1 || number > fieldCount())
        fail(ErrorCode::Argument,
             s_->path + ": there is no field number " + std::to_string(number));
    return s_->t().fields().at(number - 1).name;
}

int WorkArea::fieldNumber(std::string_view name) const {
    const FieldInfo* f = s_->t().fields().find(name);
    return f ? f->index + 1 : 0;
}

char WorkArea::fieldType(std::string_view name) const {
    return s_->field(name).type;
}
int WorkArea::fieldWidth(std::string_view name) const {
    return s_->field(name).width;
}
int WorkArea::fieldDecimals(std::string_view name) const {
    return s_->field(name).decimals;
}
const FieldList& WorkArea::fields() const {
    return s_->t().fields();
}

std::string WorkArea::getText(int number) const {
    return getText(fieldName(number));
}

std::string WorkArea::getText(std::string_view name) const {
    const FieldInfo& f = s_->field(name);
    const uint8_t* p = s_->buf.data() + f.offset;
    std::string_view bytes(reinterpret_cast<const char*>(p), size_t(f.width));
    const CodePage& cp = s_->t().codePage();
    switch (f.type) {
        case 'C':
            if (f.flags & 0x04) return rtrim(bytes);
            return cp.toUtf8(rtrim(bytes));
        case 'N':
        case 'F':
            return trimBoth(bytes);
        case 'D': {
            Jdn d = jdnFromDbf(reinterpret_cast<const char*>(p));
            return d == kEmptyDate ? std::string() : jdnToDtos(d);
        }
        case 'L':
            switch (p[0]) {
                case 'T':
                case 't':
                case 'Y':
                case 'y':
                    return "T";
                case 'F':
                case 'f':
                case 'N':
                case 'n':
                    return "F";
                default:
                    return "";
            }
        case 'I':
            return std::to_string(int32_t(getLE32(p)));
        case 'Y': {
            int64_t v = int64_t(getLE64(p));
            return formatNumber(double(v) / 10000.0, 4);
        }
        case 'T': {
            Jdn d = Jdn(getLE32(p));
            uint32_t ms = getLE32(p + 4);
            if (d <= 0) return "";
            std::string s = jdnToDtos(d);
            char t[16];
            std::snprintf(t, sizeof t, " %02u:%02u:%02u", ms / 3600000 % 24, ms / 60000 % 60,
                          ms / 1000 % 60);
            return s + t;
        }
        case 'B':
            if (f.width == 8 && s_->t().header().isVisualFoxPro()) {
                double v;
                std::memcpy(&v, p, 8);
                return formatNumber(v, f.decimals);
            }
            return getMemo(name);
        case 'M':
        case 'G':
        case 'P':
            return getMemo(name);
        case 'V':
        case 'Q': {
            // A short value keeps its length in the last byte when its null-flag bit says so;
            // without reading the flags, trailing blanks and zeros are dropped instead.
            std::string v = rtrim(bytes);
            return f.type == 'V' ? cp.toUtf8(v) : v;
        }
        default:
            return cp.toUtf8(rtrim(bytes));
    }
}

std::string WorkArea::getRaw(std::string_view name) const {
    const FieldInfo& f = s_->field(name);
    return std::string(reinterpret_cast<const char*>(s_->buf.data() + f.offset), size_t(f.width));
}

double WorkArea::getNumber(std::string_view name) const {
    const FieldInfo& f = s_->field(name);
    const uint8_t* p = s_->buf.data() + f.offset;
    switch (f.type) {
        case 'N':
        case 'F':
            return parseNumber(p, f.width);
        case 'I':
            return double(int32_t(getLE32(p)));
        case 'Y':
            return double(int64_t(getLE64(p))) / 10000.0;
        case 'B':
            if (f.width == 8) {
                double v;
                std::memcpy(&v, p, 8);
                return v;
            }
            break;
        default:
            break;
    }
    fail(ErrorCode::Argument, s_->path + ": the field " + f.name + " is not numeric");
}

Jdn WorkArea::getDate(std::string_view name) const {
    const FieldInfo& f = s_->field(name);
    const uint8_t* p = s_->buf.data() + f.offset;
    if (f.type == 'D') return jdnFromDbf(reinterpret_cast<const char*>(p));
    if (f.type == 'T') return Jdn(getLE32(p));
    fail(ErrorCode::Argument, s_->path + ": the field " + f.name + " is not a date");
}

bool WorkArea::getLogical(std::string_view name) const {
    const FieldInfo& f = s_->field(name);
    if (f.type != 'L')
        fail(ErrorCode::Argument, s_->path + ": the field " + f.name + " is not logical");
    uint8_t c = s_->buf[size_t(f.offset)];
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

std::string WorkArea::getMemo(std::string_view name) const {
    const FieldInfo& f = s_->field(name);
    if (!f.isMemoPointer() && !(f.type == 'M' || f.type == 'G' || f.type == 'P'))
        fail(ErrorCode::Argument, s_->path + ": the field " + f.name + " is not a memo");
    std::string bytes = s_->memoPending->readMemo(f, s_->buf.data() + f.offset);
    if (f.type == 'M') return s_->t().codePage().toUtf8(bytes);
    return bytes;
}

}  // namespace xb
