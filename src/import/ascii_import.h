// The ASCII import's work without its windows: sampling a comma-delimited file, the contact
// field each match button fills, the check that every value fits the contact file's code
// page, and appending one contact per record with the index set aside and rebuilt after.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "store/csv_reader.h"
#include "xbase/work_area.h"

namespace qb::import {

inline constexpr const char* kUnableToImport = "Unable to import from this file";
inline constexpr int kMaxImportFields = 255;

// A button of the matching window: its object name, its caption (the match it gives) and the
// contact field it fills ("" for "(none)").
struct MatchButton {
    const char* objectName;
    const char* caption;
    const char* field;
};
// "(none)", the sixteen contact fields with Memo, and Date.
const std::vector<MatchButton>& asciiMatchButtons();
// The contact field a match caption fills; empty for none or an unknown caption.
QString contactFieldOf(const QString& caption);
// The matches that read back what copy out writes: its sixteen fields in its order.
QStringList copyOutMatches();

// The first lines of a file, to learn how many values a line has and how wide they are.
struct AsciiSample {
    QString problem;  // empty when the file can be imported
    TextEncoding encoding = TextEncoding::Windows1252;
    int fieldCount = 0;  // from the first line, at most kMaxImportFields
    std::vector<int> maxLength;
    std::vector<QStringList> lines;  // up to ten
};
// encoding Auto detects; a file with no line, or one that is not text, cannot be imported.
AsciiSample sampleAsciiFile(const QString& path, TextEncoding encoding);

// What the import tells and asks on its way.
struct ImportObserver {
    std::function<void(const QString& text)> status;
    std::function<void(int percent)> gauge;
    std::function<bool()> cancelRequested;
    // Asked once, before anything is written, when a value holds a character the contact file
    // cannot store: true replaces each such character by '?', false imports nothing.
    std::function<bool(const QString& question)> replaceUnholdable;
};

struct ImportResult {
    uint32_t imported = 0;
    bool cancelled = false;
    // The production index was set aside: the caller must rebuild it.
    bool indexDropped = false;
    // Nothing was imported because the user declined the unstorable characters.
    bool declined = false;
    // Dates that were not dates in the format in force nor yyyy-mm-dd (left empty).
    uint32_t badDates = 0;
    // Why the import stopped early; the records posted before stay.
    QString error;
};

// Appends one contact per record of the file to the exclusively open contact table: matches
// holds the match caption of each value position ("" not imported). The production index is
// set aside first; the caller rebuilds it whatever the outcome.
ImportResult importAsciiFile(xb::WorkArea& contacts, const QString& path, TextEncoding encoding,
                             const QStringList& matches, const ImportObserver& observer);

// The closing message.
QString importOutcomeMessage(const ImportResult& result);

// Sets the contact file's production index aside in one step that leaves the table readable
// by other xBase programs: the table stops naming its index before the index file goes.
void dropProductionIndex(xb::WorkArea& contacts);

}  // namespace qb::import
