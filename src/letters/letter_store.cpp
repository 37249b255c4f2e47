// The letters table and the transfers between its memo and the document model.
#include "letters/letter_store.h"

#include <QFileInfo>
#include <QTextDocument>

#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "xbase/error.h"

namespace qb::letters {

namespace {

const QString kDescript = QStringLiteral("DESCRIPT");
const QString kRtf = QStringLiteral("RTF");

void createLettersTable(const QString& path) {
    xb::WorkArea area;
    area.createNew(path.toStdString());
    area.createField("DESCRIPT", 'C', 50);
    area.createField("RTF", 'M', 10);
    area.createExec();
    area.use(path.toStdString(), xb::UseMode::Exclusive);
    area.indexTag("", xb::TagDef{"DESCRIPT", "UPPER(DESCRIPT)", "", false, false});
    area.close();
}

// The whole file name as it stands in the folder, whatever the letter case of the name.
QString existingFile(const QString& folder, const QString& name) {
    const QString exact = folder + name;
    if (QFileInfo::exists(exact)) return exact;
    const QString lower = folder + name.toLower();
    if (QFileInfo::exists(lower)) return lower;
    return {};
}

}  // namespace

bool openLettersTable(const QString& programFolder, Dataset& letters, xb::UseMode mode) {
    QString path = existingFile(programFolder, QString::fromLatin1(kLettersFileName));
    if (path.isEmpty()) {
        // Nothing there yet: a new, empty table. A file that exists is never made anew, since
        // a failed open may only mean someone else holds it, and its letters would be lost.
        path = programFolder + QString::fromLatin1(kLettersFileName);
        try {
            createLettersTable(path);
        } catch (const xb::Error&) {
            return false;
        }
    }
    try {
        letters.open(path, mode);
    } catch (const xb::Error&) {
        return false;
    }
    letters.setOrderTag(kDescript);
    letters.first();
    return true;
}

void newLetter(QTextDocument& doc, richtext::PageSettings& page) {
    doc.clear();
    richtext::prepareLetterDocument(doc);
    page = richtext::PageSettings{};
}

QByteArray storedRtf(const Dataset& letters) {
    const QString memo = letters.memo(kRtf);
    // Our writer keeps to 7-bit text, but a memo written elsewhere may hold 8-bit characters:
    // they go back to the bytes of the table's code page, which is how RTF expects them.
    std::string bytes;
    if (!letters.area().codePage().fromUtf8(memo.toStdString(), bytes)) return memo.toLatin1();
    return QByteArray::fromStdString(bytes);
}

QString LoadRichText(const Dataset& letters, QTextDocument& doc, richtext::PageSettings& page) {
    newLetter(doc, page);
    const QString memo = letters.memo(kRtf);
    if (memo.isEmpty()) return {};
    const QByteArray bytes = storedRtf(letters);
    const richtext::RtfReadResult read = richtext::readRtf(bytes, doc, page);
    if (!read.readable && read.notice.isEmpty())
        return QStringLiteral("This letter's text is damaged; what could be read is shown.");
    return read.notice;
}

bool SaveRichText(Dataset& letters, const QTextDocument& doc, const richtext::PageSettings& page,
                  QString* why) {
    const QByteArray rtf = richtext::writeRtf(doc, page);
    try {
        letters.setMemo(kRtf, QString::fromLatin1(rtf));
    } catch (const xb::Error& e) {
        if (why) *why = QString::fromStdString(e.what());
        return false;
    }
    return true;
}

bool saveLetter(Dataset& letters, bool append, const QString& description, const QTextDocument& doc,
                const richtext::PageSettings& page, QString* why) {
    QString reason;
    auto note = QObject::connect(&letters, &Dataset::failed,
                                 [&reason](const QString& message) { reason = message; });
    bool ok = append ? letters.insert() : letters.edit();
    if (ok) {
        try {
            letters.setText(kDescript, description.left(letters.fieldWidth(kDescript)));
        } catch (const xb::Error& e) {
            reason = QString::fromStdString(e.what());
            ok = false;
        }
    }
    ok = ok && SaveRichText(letters, doc, page, &reason) && letters.post();
    QObject::disconnect(note);
    if (!ok) {
        if (letters.editing()) letters.cancel();
        if (why) *why = reason.isEmpty() ? QStringLiteral("The letter was not saved.") : reason;
    }
    return ok;
}

bool findLetter(Dataset& letters, const QString& description) {
    const QString wanted = description.trimmed();
    for (letters.first(); letters.onRecord() && !letters.eof(); letters.next()) {
        if (letters.text(kDescript).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

}  // namespace qb::letters
