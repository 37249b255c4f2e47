// The envelope designer (TEnvelopeDesigner): the envelope drawn to scale with the return
// address, message and delivery address as blocks moved with the sizing handles; the delivery
// contents, the envelope size and the feed method on a second page; TGetMemo for the return
// address lines.
#pragma once

#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QPoint>
#include <QSize>
#include <QStringList>

#include "envelopes/envelope_setup.h"
#include "store/contact_host.h"

class QCheckBox;
class QComboBox;

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace qb {
class TStretchHandle;
}

namespace qb::envelopes {

// "Return Address": up to five lines of up to 40 characters, held to that while typing.
class TGetMemo : public QDialog {
  public:
    explicit TGetMemo(const QStringList& lines, QWidget* parent = nullptr);
    QStringList Lines() const;
    QPlainTextEdit* Memo() const { return memo_; }

    // Whether text fits: five lines at most, none longer than 40 characters.
    static bool fits(const QString& text);

  private:
    void keepFitting();

    QPlainTextEdit* memo_;
    QString lastGood_;
};

class TEnvelopeDesigner : public QDialog {
  public:
    // The event the handles' detach is posted as, so it runs after the mouse event at hand.
    static constexpr int kDetachEvent = 1066 - 1024;

    TEnvelopeDesigner(const EnvelopeSetup& setup, ContactHost& host, QWidget* parent = nullptr);
    ~TEnvelopeDesigner() override;

    // The record as Save left it.
    const EnvelopeSetup& Result() const { return record_; }

    void FormActivate();
    void OkButtonClick();
    void PercChoiceClick(int zoom);
    void ChooseEnvelopeButtonClick();
    void AddressContentsClick();
    void NavigatorClick(int which);
    void pMenuFontClick(QWidget* block);
    void pMenuTextClick(QWidget* block);
    // Rebuilds every block from its text, fonts and the current contact.
    void Repaint();
    // Takes the record from the controls (also done by Save).
    void UpDateEnvelopeSetupRecord();

    int zoom() const { return zoom_; }
    int pixelsPerInch() const { return ppi_; }
    QSize envelopePixels() const { return envPx_; }
    // The remembered full-size positions of the return, message and delivery blocks.
    QPoint returnAt() const { return retAt_; }
    QPoint messageAt() const { return messAt_; }
    QPoint deliveryAt() const { return delAt_; }
    QWidget* returnBlock() const { return retBlock_; }
    QWidget* messageBlock() const { return messBlock_; }
    QWidget* deliveryBlock() const { return delBlock_; }
    QWidget* barcodePicture() const { return barcode_; }
    QWidget* envelopePanel() const { return envelope_; }
    TStretchHandle* Handles() const { return handle_; }
    const QStringList& returnLines() const { return retLines_; }
    const QString& messageText() const { return message_; }
    // After a drag ended: the positions of all three blocks as shown, back at full size.
    void RememberPositions();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* buildDesignPage();
    QWidget* buildOptionsPage();
    void postDetach();
    void placeBlocks();
    void sizePanels();
    void blocksToDefaults();
    void drawFeedPicture();
    void showBlockMenu(QWidget* block, QPoint global);
    labels::AddressContents contents() const;
    QFont shownFont(const BlockFont& f) const;
    void paintBlock(QLabel* block, const QStringList& lines, const BlockFont& font);

    ContactHost& host_;
    EnvelopeSetup record_;
    bool firstActivation_ = true;
    int ppi_ = 96;
    int zoom_ = 100;
    QSize envPx_;
    QSize lastEnvPx_;
    QPoint retAt_, messAt_, delAt_;
    QStringList retLines_;
    QString message_;
    BlockFont retFont_, messFont_, delFont_;

    QLineEdit* description_;
    QTabWidget* pages_;
    QCheckBox *chkReturn_, *chkMessage_, *chkBarcode_, *showOutlines_;
    QCheckBox* chkImb_;  // Intelligent Mail in place of POSTNET
    QComboBox* percChoice_;
    QWidget* background_;
    QWidget* envelope_;
    QLabel *retBlock_, *messBlock_, *delBlock_, *barcode_;
    TStretchHandle* handle_;
    QCheckBox *name_, *title_, *company_, *street_, *cityState_, *zip_, *phone_, *country_;
    QRadioButton *afterState_, *beforeCity_, *afterCountry_, *beforeCountry_;
    QCheckBox* upperCase_;
    QLabel* envelopeDesc_;
    QRadioButton *posLeft_, *posRight_, *posCenter_, *rotNone_, *rotRight_, *faceUp_, *faceDown_;
    QCheckBox* clockwise_;
    QLabel* feedPicture_;
};

}  // namespace qb::envelopes
