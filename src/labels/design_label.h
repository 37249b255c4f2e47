// The label designer: edits one label setup (stock, font, text position, contents, barcode)
// against a sample label drawn from the main window's current contact.
#pragma once

#include <QDialog>
#include <array>

#include "labels/label_offsets.h"
#include "labels/label_setup.h"
#include "store/contact_host.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qb::labels {

class StepButton;

inline constexpr const char* kDescriptionMissing =
    "Please enter a description for this Label Setup record";

class TDesignLabel : public QDialog {
  public:
    TDesignLabel(const LabelSetup& setup, ContactHost& host, QWidget* parent = nullptr);
    ~TDesignLabel() override;

    // The setup as saved; meaningful once the designer closed with Save.
    const LabelSetup& Result() const { return setup_; }

    // The first-activation set-up: the setup into the controls, then the sample.
    void FormActivate();
    void OkButtonClick();
    void ChooseLabelButtonClick();
    void FontButtonClick();
    void FontSizeStep(int delta);
    void OffsetUp(bool repeating);
    void OffsetDown(bool repeating);
    void OffsetLeft(bool repeating);
    void OffsetRight(bool repeating);
    void OffsetHome();
    void BarcodeClick();
    void ContentsClick();
    // first, prior, next, last over the main window's contacts
    void NavigatorClick(int which);

    OffsetPixels offsets() const { return offsets_; }
    double pixelsPerInch() const { return dpi_; }
    // The setup as the controls show it now.
    LabelSetup current() const;
    // The sample as last drawn.
    const QImage& sample() const { return sample_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QCheckBox* addCheck(const char* name, const QString& caption, const QString& help);
    void updateFontName();
    void updateBarcodeBox();
    void updateZipOptions();
    void DrawLabel();

    LabelSetup setup_;
    ContactHost& host_;
    double dpi_;
    OffsetPixels offsets_;
    bool firstActivation_ = true;
    bool loading_ = false;
    QImage sample_;

    QLineEdit* description_;
    QLabel* labelDesc_;
    QLabel* fontName_;
    QLabel* sampleView_;
    QCheckBox *name_, *title_, *company_, *street_, *cityState_, *zip_, *phone_, *country_;
    QCheckBox *barcode_, *upper_, *trim_;
    QCheckBox* imb_;  // Intelligent Mail in place of POSTNET
    std::array<QRadioButton*, 4> zipOptions_{};
};

}  // namespace qb::labels
