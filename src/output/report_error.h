// The one exception the report engine throws: misuse of the engine (a drawing call outside a
// pass, a missing stream) and faults found in a report file, with the text shown to the user.
#pragma once

#include <QString>
#include <stdexcept>

namespace qb {

class ReportError : public std::runtime_error {
  public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const noexcept { return message_; }

  private:
    QString message_;
};

namespace report_messages {
inline const QString notPrinting =
    QStringLiteral("Invalid method call.  Report engine is not printing.");
inline const QString alreadyPrinting =
    QStringLiteral("Invalid method call.  Report engine already printing.");
inline const QString noPrinters = QStringLiteral("No printers are defined, aborting print job.");
inline const QString filerNeedsForm =
    QStringLiteral("TReportFiler.Owner must be a TForm if no printers are defined.");
inline const QString userStreamMissing = QStringLiteral("StreamMode is smUser but Stream is nil");
inline const QString scrollBoxMissing =
    QStringLiteral("ScrollBox must be assigned for FilePreview component");
inline const QString invalidPrinter = QStringLiteral("Invalid Printer");
}  // namespace report_messages

}  // namespace qb
