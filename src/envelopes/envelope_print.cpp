// Envelope pages and the envelope status window.
#include "envelopes/envelope_print.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>

#include "labels/bar_figure.h"
#include "labels/bar_section.h"
#include "labels/barcode_kind.h"
#include "labels/postnet.h"
#include "output/base_report.h"

namespace qb::envelopes {

StatusTexts envelopeStatusTexts() {
    StatusTexts t;
    t.printCanceled = QStringLiteral("\rEnvelope Print Canceled!");
    t.previewCanceled = QStringLiteral("\rEnvelope Preview Canceled!");
    t.previewStopped = QStringLiteral("\rPreview Stopped!");
    t.printCompleted = QStringLiteral("\rEnvelope Print Completed!");
    t.previewReady = QStringLiteral("\rEnvelope Preview Ready!");
    return t;
}

QImage stampPicture() {
    QImage image(72, 72, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(QColor(160, 30, 30), 2, Qt::DotLine));
    p.drawRect(2, 2, 67, 67);
    p.fillRect(8, 8, 56, 56, QColor(200, 60, 60));
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(8, 8, 56, 56), Qt::AlignCenter, QStringLiteral("USA\nFIRST"));
    return image;
}

void drawDeliveryBarcode(TBaseReport& r, const EnvelopeSetup& s,
                         const labels::AddressFields& contact, const Offset& o,
                         labels::ImbMailer* mailer) {
    if (!s.barcode || !labels::zipQualifiesForBarcode(contact.zip)) return;
    r.SetOriginX(s.delLeft + o.x);
    r.SetOriginY(s.delTop - labels::kBarcodeRise + o.y);
    r.GotoXY(0, 0);
    labels::drawBarcode(r, s.barcodeKind, contact.zip, contact.street, mailer);
}

double barcodeRiseAbove(const EnvelopeSetup& s) {
    if (!s.barcode || s.barcodeKind == labels::BarcodeKind::None) return 0;
    // Intelligent Mail bars are taller and share POSTNET's bottom line.
    return s.barcodeKind == labels::BarcodeKind::Imb
               ? labels::kBarcodeRise + labels::kImbFullHeight - labels::kPrintedBars.tallHeight
               : labels::kBarcodeRise;
}

EnvelopeRun::EnvelopeRun(xb::WorkArea& contacts, const EnvelopeSetup& setup, bool preview,
                         bool wholeSelection)
    : contacts_(contacts),
      setup_(setup),
      feed_(decodePrintPosition(setup.position)),
      preview_(preview),
      wholeSelection_(wholeSelection) {}

void EnvelopeRun::BeforePrintEnvelope(TBaseReport& r) {
    offset_ = {};
    r.SetOrientation(setup_.orient != 0 ? poLandScape : poPortrait);
    r.SetStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    r.StatusText().clear();
}

void EnvelopeRun::placeOnPaper(TBaseReport& r) {
    const double pw = r.PageWidth();
    const double ph = r.PageHeight();
    paperIsEnvelope_ = paperIsEnvelope(pw, ph, setup_.envWidth, setup_.envHeight);
    offset_ = {};
    if (!paperIsEnvelope_) {
        offset_ = envelopeOffset(setup_.facing, setup_.orient, feed_, pw, ph, setup_.envWidth,
                                 setup_.envHeight, r.UnprintableLeft(), r.UnprintableTop());
    }
    r.SetMarginLeft(0);
    r.SetMarginTop(0);
}

namespace {

void useFont(TBaseReport& r, const BlockFont& f) {
    r.SetFont(f.name, f.size);
    r.SetBold(f.bold);
    r.SetItalic(f.italic);
}

void startBlock(TBaseReport& r, const BlockFont& f, double left, double top, const Offset& o) {
    useFont(r, f);
    r.SetOriginX(left + o.x);
    r.SetOriginY(top + o.y);
    r.Home();
}

}  // namespace

void EnvelopeRun::drawEnvelope(TBaseReport& r) {
    const EnvelopeSetup& s = setup_;
    const Offset& o = offset_;
    if (preview_ && !paperIsEnvelope_) {
        r.StretchDraw(o.x + s.envWidth - 1, o.y + 0.125, o.x + s.envWidth - 0.25, o.y + 0.875,
                      stampPicture());
    }
    if (s.useReturn) {
        startBlock(r, s.retFont, s.retLeft, s.retTop, o);
        // Every line keeps its place, empty ones too.
        for (const QString& line : s.retLines)
            r.Println(line);
    }
    if (s.useMessage) {
        startBlock(r, s.messFont, s.messLeft, s.messTop, o);
        r.Println(s.messText);
    }
    const labels::AddressFields contact = labels::readAddressFields(contacts_);
    const QStringList lines =
        labels::composeAddressLines(contact, s.contents, contacts_.codePage());
    if (!lines.isEmpty()) {
        startBlock(r, s.delFont, s.delLeft, s.delTop, o);
        for (const QString& line : lines)
            r.Println(line);
    }
    drawDeliveryBarcode(r, s, contact, o, imbMailer);
    r.SetOriginX(0);
    r.SetOriginY(0);
    ++envelopes_;
}

void EnvelopeRun::PrintEnvelope(TBaseReport& r) {
    envelopes_ = 0;
    r.SetLineHeightMethod(lhmFont);
    placeOnPaper(r);
    if (contacts_.eof()) return;
    drawEnvelope(r);
    if (!wholeSelection_) return;
    for (contacts_.skip(); !contacts_.eof() && !r.Aborted(); contacts_.skip()) {
        if (letEventsRun) letEventsRun();
        if (stopRequested && stopRequested()) break;
        r.NewPage();
        drawEnvelope(r);
    }
}

TEnvelopeForm::TEnvelopeForm(QWidget* parent) : TStatusWindow(parent) {
    setObjectName(QStringLiteral("TEnvelopeForm"));
    setWindowTitle(QStringLiteral("Print Status Screen"));
    SetTexts(envelopeStatusTexts());
}

TEnvelopeForm::~TEnvelopeForm() = default;

void TEnvelopeForm::PrepareRun(xb::WorkArea& contacts, const EnvelopeSetup& setup,
                               bool wholeSelection, labels::ImbMailer* imbMailer) {
    run_ = std::make_unique<EnvelopeRun>(contacts, setup, IsPreview(), wholeSelection);
    run_->imbMailer = imbMailer;
    Engine().SetTitle(QStringLiteral("Envelopes \u2014 %1")
                          .arg(QFileInfo(QString::fromStdString(contacts.path())).fileName()));
    run_->letEventsRun = [] { QCoreApplication::processEvents(); };
    // A preview's Stop is only noted; the envelope of the current record is drawn anyway.
    if (!IsPreview()) run_->stopRequested = [this] { return Aborted(); };
    WireHandlers([this](TBaseReport& r) { run_->PrintEnvelope(r); },
                 [this](TBaseReport& r) { run_->BeforePrintEnvelope(r); });
}

void TEnvelopeForm::RunUnshown() {
    Engine().Execute();
}

}  // namespace qb::envelopes

namespace qb::envelopes {

bool envelopeFitsOnPaper(const EnvelopeSetup& s, double pw, double ph, double unprintableLeft,
                         double unprintableTop) {
    // Drivers report sizes to a few thousandths; a hundredth of slack keeps the exact fits.
    constexpr double kSlack = 0.01;
    Offset o;
    if (!paperIsEnvelope(pw, ph, s.envWidth, s.envHeight)) {
        o = envelopeOffset(s.facing, s.orient, decodePrintPosition(s.position), pw, ph, s.envWidth,
                           s.envHeight, unprintableLeft, unprintableTop);
        if (o.x + s.envWidth > pw + kSlack || o.y + s.envHeight > ph + kSlack) return false;
    }
    auto onPage = [&](double left, double top) {
        const double x = left + o.x, y = top + o.y;
        return x >= 0 && y >= 0 && x < pw && y < ph;
    };
    if (s.useReturn && !onPage(s.retLeft, s.retTop)) return false;
    if (s.useMessage && !onPage(s.messLeft, s.messTop)) return false;
    if (!onPage(s.delLeft, s.delTop)) return false;
    if (s.barcode && !onPage(s.delLeft, s.delTop - barcodeRiseAbove(s))) return false;
    return true;
}

}  // namespace qb::envelopes
