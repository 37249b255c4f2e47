// Prints a finished report file: page by page on the selected printer, or into a PDF file of
// the report's own page size.
#pragma once

#include "output/report_types.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QIODevice;

namespace qb {

class TFilePrinter : public QObject {
  public:
    explicit TFilePrinter(QObject* owner = nullptr);

    TStreamMode StreamMode() const { return streamMode_; }
    void SetStreamMode(TStreamMode mode) { streamMode_ = mode; }
    QIODevice* Stream() const { return stream_; }
    void SetStream(QIODevice* stream) { stream_ = stream; }
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title.left(31); }

    // Prints every stored page on the selected printer. False when nothing was printed.
    bool Execute();
    // Writes every stored page to a PDF at `path`; a ReportError tells what went wrong.
    void WritePdf(const QString& path);

  private:
    QWidget* dialogParent() const;

    TStreamMode streamMode_ = smUser;
    QPointer<QIODevice> stream_;
    QString fileName_;
    QString title_ = QStringLiteral("Quillbank Report");
};

}  // namespace qb
