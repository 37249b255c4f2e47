// The printer selection shared by every engine object of the process: the chosen printer, its
// paper, paper source, orientation and copies, its page geometry, and the printer document of
// a pass. The main window releases it after each output dialog; the next use starts afresh on
// the default printer.
#pragma once

#include "output/ppd_bins.h"
#include "output/report_types.h"

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QWidget;

namespace qb {

class SafeOutputFile;

struct PageGeometry {
    double width = 8.5;  // inches, as oriented
    double height = 11;
    double unprintableLeft = 0;
    double unprintableTop = 0;
    double unprintableRight = 0;
    double unprintableBottom = 0;
    double dpiX = 96;
    double dpiY = 96;
};

class PrinterDevice {
  public:
    static PrinterDevice& shared();
    static void releaseShared();
    static bool sharedExists();

    // On the default printer, or on none when no printer is installed.
    PrinterDevice();
    ~PrinterDevice();
    PrinterDevice(const PrinterDevice&) = delete;
    PrinterDevice& operator=(const PrinterDevice&) = delete;

    bool hasPrinter() const { return printer_ != nullptr; }
    QString printerName() const { return name_; }
    QString driverName() const;
    QString portName() const;
    // -1 when no printer is installed.
    int printerIndex() const;
    // -1 picks the default printer; an index outside the list is refused.
    bool setPrinterIndex(int index);
    bool selectPrinter(const QString& name);

    // What a printer of the catalogue offers, whether or not it is the one selected.
    static QStringList paperNamesOf(const QString& printerName);
    static QStringList binNamesOf(const QString& printerName);

    QStringList binNames() const;
    int binIndex() const;
    bool selectBin(const QString& name);
    QStringList paperNames() const;
    int paperIndex() const;
    bool selectPaper(const QString& name);
    // A nonzero code is a standard paper code (1 Letter, 9 A4, 11 A5, ...); code 0 asks for a
    // custom size, which a printer receives in tenths of a millimetre. Returns whether the
    // printer took it; without a printer the size is simply recorded.
    bool setPaperSize(int code, double height, double width);

    TOrientation orientation() const;
    void setOrientation(TOrientation orientation);
    int copies() const;
    void setCopies(int copies);
    // Resolution of devices that let it be chosen, such as the PDF printer.
    void setResolution(int dpi);

    PageGeometry geometry() const;

    // The device the print and set-up dialogs edit; null without a printer.
    QPrinter* qprinter() { return printer_.get(); }
    // Takes over what a dialog changed on the device, including another printer chosen there.
    void adoptDialogChanges();

    // The page range chosen in a print dialog, for the next printer pass, whichever engine
    // object runs it (dialogs ask on their own object, the status window's object prints).
    void setChosenPages(int first, int last) { chosenPages_ = {first, last}; }
    std::optional<std::pair<int, int>> takeChosenPages() { return std::exchange(chosenPages_, {}); }

    // Where the PDF printer writes; when empty the user is asked at the start of each document.
    void setOutputFileName(const QString& path) { outputFile_ = path; }
    QString outputFileName() const { return outputFile_; }

    enum class Open { Ok, Cancelled, Failed };
    // Prepares a document under `title`; the PDF printer asks for its file here. When Failed,
    // failure() says why if the device knows (a refused or unwritable file).
    Open beginDocument(const QString& title, QWidget* dialogParent);
    // Starts the next page of the open document; null when the printer refuses.
    QPainter* startPage();
    bool supportsMultipleCopies() const;
    // Finishes the document; for the PDF printer the file takes the target's place only now.
    // False, with failure() set and nothing left behind, when the document could not be saved.
    bool endDocument();
    void abandonDocument();
    bool documentOpen() const { return documentOpen_; }
    // The first write fault of the document, or of its opening or saving; empty while none.
    QString failure() const;

  private:
    void createPrinter(const QString& name);
    void setUpPdf();
    void closePainter(bool abort);
    QPagedPaintDevice* pageDevice();

    std::unique_ptr<QPrinter> printer_;
    QString name_;
    std::vector<PaperBin> bins_;
    int bin_ = 0;
    // What stands for the paper when no printer is installed.
    QSizeF plainPaper_{8.5, 11};
    TOrientation plainOrientation_ = poPortrait;
    int plainCopies_ = 1;

    std::optional<std::pair<int, int>> chosenPages_;
    QString outputFile_;
    std::unique_ptr<QPainter> painter_;
    bool documentOpen_ = false;
    QString failure_;
    // The PDF printer's document: drawn by a PDF writer into a file of ours, which checks
    // every write and replaces the target only when the document is whole.
    std::unique_ptr<SafeOutputFile> pdfFile_;
    std::unique_ptr<QPdfWriter> pdfWriter_;
};

}  // namespace qb
