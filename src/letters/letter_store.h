// The letters table QBMLTRS.DBF in the program folder: opening it (creating it only where no
// such file exists) and moving a template between its RTF memo and a rich-text document.
#pragma once

#include <QString>

#include "richtext/page_settings.h"
#include "store/dataset.h"

class QTextDocument;

namespace qb::letters {

inline constexpr const char* kLettersFileName = "QBMLTRS.DBF";
inline constexpr const char* kUnableToOpenOrCreate = "Unable to Open or Create QBMLTRS.DBF";

// Opens the letters table of the folder on letters, ordered by description, at its first row.
// Only when no QBMLTRS.DBF exists is a new one made (with its tag); a file that is there but
// will not open (held by another program, damaged) is left exactly as it is. False when the
// table could not be opened or made.
bool openLettersTable(const QString& programFolder, Dataset& letters,
                      xb::UseMode mode = xb::UseMode::Exclusive);

// What a new letter starts as: Letter paper, one-inch margins, Times New Roman 12, no text.
void newLetter(QTextDocument& doc, richtext::PageSettings& page);

// The current row's RTF memo as the bytes of an RTF file.
QByteArray storedRtf(const Dataset& letters);

// Loads the current row's template into doc and page (LoadRichText). A memo that is damaged
// or not RTF loads as far as it is readable; the notice says what was not kept or read ("" when
// everything was).
QString LoadRichText(const Dataset& letters, QTextDocument& doc, richtext::PageSettings& page);

// Puts doc and page into the current row's RTF memo (SaveRichText); the row must be in insert or
// edit mode. False with why set when the memo refused the text.
bool SaveRichText(Dataset& letters, const QTextDocument& doc, const richtext::PageSettings& page,
                  QString* why = nullptr);

// Saves a letter as the designer's Save does: a new row when append, else the current row
// changed; description and template written and the row posted. False, with the row's edit
// cancelled and why saying what failed, when any step was refused; the table is as before.
bool saveLetter(Dataset& letters, bool append, const QString& description, const QTextDocument& doc,
                const richtext::PageSettings& page, QString* why);

// Goes to the letter of this description (blanks around it and letter case ignored); false
// when there is none.
bool findLetter(Dataset& letters, const QString& description);

}  // namespace qb::letters
