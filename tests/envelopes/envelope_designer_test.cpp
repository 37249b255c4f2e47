// The envelope designer: zoom and the remembered positions, a setup opened and saved
// unchanged, the return lines and message kept to what prints, and the feed choices stored.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "controls/stretch_handle.h"
#include "envelopes/envelope_designer.h"
#include "envelopes_fixture.h"

namespace {

using namespace qb::envelopes;
using labelstest::child;

class Designer : public envtest::EnvelopesTest {
  protected:
    void SetUp() override {
        EnvelopesTest::SetUp();
        openContacts({{"Able"}, {"Baker"}});
    }
    std::unique_ptr<TEnvelopeDesigner> open(const EnvelopeSetup& s) {
        auto d = std::make_unique<TEnvelopeDesigner>(s, *host);
        d->FormActivate();
        QCoreApplication::processEvents();
        return d;
    }
    EnvelopeSetup saved(TEnvelopeDesigner& d) {
        d.OkButtonClick();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        return d.Result();
    }
};

TEST_F(Designer, OpensAtHalfSizeAndADraggedBlockIsRememberedAtFullSize) {
    auto d = open(EnvelopeSetup());
    EXPECT_EQ(d->zoom(), 50);
    EXPECT_EQ(d->envelopePanel()->size(), QSize(912 / 2, 396 / 2));
    d->returnBlock()->move(37, 37);
    d->RememberPositions();
    EXPECT_EQ(d->returnAt(), QPoint(74, 74));
    const EnvelopeSetup s = saved(*d);
    EXPECT_DOUBLE_EQ(s.retTop, 74.0 / d->pixelsPerInch());
    EXPECT_DOUBLE_EQ(s.delLeft, EnvelopeSetup().delLeft);  // not moved
}

TEST_F(Designer, OpeningAndSavingUnchangedKeepsEveryValueThroughEveryZoom) {
    EnvelopeSetup s;
    s.descript = QStringLiteral("Odd sizes");
    s.envWidth = 9.3;
    s.envHeight = 4.3;
    s.retLeft = 0.33;
    s.delTop = 2.07;
    s.messTop = 3.3;
    s.position = 11;
    auto d = open(s);
    for (int zoom : {75, 100, 50, 75}) {
        d->PercChoiceClick(zoom);
        d->RememberPositions();  // as after a drag of nothing
    }
    EXPECT_EQ(saved(*d), s);
}

TEST_F(Designer, ReturnLinesAndMessageHoldOnlyWhatPrints) {
    EnvelopeSetup s;
    s.retLines = {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three"),
                  QStringLiteral("Four"), QString()};
    auto d = open(s);
    TGetMemo memo(d->returnLines());
    memo.Memo()->setPlainText(QStringLiteral("One\nTwo\nFour"));
    EXPECT_EQ(memo.Lines().size(), 3);
    // Typing a sixth line or a 41st character is refused as it happens.
    memo.Memo()->setPlainText(QStringLiteral("1\n2\n3\n4\n5\n6"));
    EXPECT_EQ(memo.Memo()->toPlainText(), QStringLiteral("One\nTwo\nFour"));
    memo.Memo()->setPlainText(QString(41, u'x'));
    EXPECT_EQ(memo.Memo()->toPlainText(), QStringLiteral("One\nTwo\nFour"));
    EXPECT_TRUE(TGetMemo::fits(QStringLiteral("a\nb\nc\nd\n") + QString(40, u'e')));

    labelstest::onModal<TGetMemo>([](TGetMemo* m) {
        m->Memo()->setPlainText(QStringLiteral("One\nTwo\nFour"));
        m->accept();
    });
    d->pMenuTextClick(d->returnBlock());
    script.answerInput(QString(51, u'm'));
    script.acknowledge();
    d->pMenuTextClick(d->messageBlock());
    EXPECT_EQ(d->messageText(), s.messText);
    const EnvelopeSetup out = saved(*d);
    EXPECT_EQ(out.retLines[2], QStringLiteral("Four"));
    EXPECT_TRUE(out.retLines[3].isEmpty());
}

TEST_F(Designer, FeedChoicesAndADescriptionThatCannotBeAKey) {
    auto d = open(EnvelopeSetup());
    child<QRadioButton>(d.get(), "RotNone")->click();
    child<QRadioButton>(d.get(), "PosLeft")->click();
    child<QRadioButton>(d.get(), "FaceUp")->click();
    child<QCheckBox>(d.get(), "bClockWiseRotate")->setChecked(true);
    child<QLineEdit>(d.get(), "EnvelopeSetupDescription")->setText(QStringLiteral("a=b"));
    script.acknowledge();
    d->OkButtonClick();
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_TRUE(script.asked().back().text.contains(u'='));
    child<QLineEdit>(d.get(), "EnvelopeSetupDescription")->setText(QStringLiteral("Portrait"));
    const EnvelopeSetup s = saved(*d);
    EXPECT_EQ(s.orient, 0);
    EXPECT_EQ(s.facing, 0);
    EXPECT_EQ(s.position, 10);  // clockwise is kept even though portrait hides it
}

TEST_F(Designer, PressingABlockAttachesTheHandlesAndTheBackgroundDetachesThem) {
    auto d = open(EnvelopeSetup());
    QTest::mousePress(d->deliveryBlock(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(d->Handles()->IsAttached(d->deliveryBlock()));
    QTest::mousePress(d->envelopePanel(), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(d->Handles()->IsAttached(d->deliveryBlock()));  // posted, not yet run
    QCoreApplication::processEvents();
    EXPECT_TRUE(d->Handles()->Attached().isEmpty());
}

// The saved Intelligent Mail choice opens checked and shows its sample: every bar crosses the
// middle row, not every one reaches the bottom (as each POSTNET bar does).
TEST_F(Designer, IntelligentMailChoiceShowsItsSampleAndIsSavedWithTheSetup) {
    EnvelopeSetup s;
    s.barcode = true;
    qb::labels::saveBarcodeKind(host->settings(), qb::labels::kEnvelopeBarcodeSection, s.descript,
                                qb::labels::BarcodeKind::Imb);
    auto d = open(s);
    d->PercChoiceClick(100);
    QCheckBox* imb = child<QCheckBox>(d.get(), "chkImb");
    EXPECT_TRUE(imb->isChecked());
    EXPECT_TRUE(imb->isEnabled());
    auto runsOnRow = [&](int fromBottom) {
        const QImage picture = static_cast<QLabel*>(d->barcodePicture())->pixmap().toImage();
        const int y = fromBottom < 0 ? picture.height() / 2 : picture.height() - 1 - fromBottom;
        int runs = 0;
        bool in = false;
        for (int x = 0; x < picture.width(); ++x) {
            const bool dark = qGray(picture.pixel(x, y)) < 128;
            runs += dark && !in;
            in = dark;
        }
        return runs;
    };
    EXPECT_EQ(runsOnRow(-1), 65);
    EXPECT_LT(runsOnRow(1), 65);
    imb->click();
    EXPECT_EQ(runsOnRow(1), runsOnRow(-1));  // POSTNET again
    imb->click();
    EXPECT_EQ(saved(*d).barcodeKind, qb::labels::BarcodeKind::Imb);
    child<QCheckBox>(d.get(), "chkBarcode")->click();
    EXPECT_FALSE(imb->isEnabled());
}

}  // namespace
