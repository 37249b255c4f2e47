// The label designer: offsets on the pixel grid and the offset buttons' limits, the barcode
// box, the font size steps, saving, and the sample label it draws.
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "controls/beep.h"
#include "labels/design_label.h"
#include "labels/label_offsets.h"
#include "labels/label_sample.h"
#include "labels_fixture.h"

namespace {

using namespace labelstest;
using namespace qb::labels;

TEST(LabelOffsets, ButtonsStepWithinTheirLimits) {
    const double P = 96;
    struct Case {
        const char* what;
        OffsetPixels got, expected;
    };
    const std::vector<Case> cases = {
        {"up", offsetUp({5, 10}, false, P), {5, 8}},
        {"up stops above 1", offsetUp({5, 3}, false, P), {5, 3}},
        {"up with the barcode stops above 19", offsetUp({5, 21}, true, P), {5, 21}},
        {"up with the barcode", offsetUp({5, 22}, true, P), {5, 20}},
        {"down has no limit", offsetDown({5, 900}), {5, 902}},
        {"left", offsetLeft({2, 9}, false), {1, 9}},
        {"left keeps a pixel", offsetLeft({1, 9}, false), {1, 9}},
        {"left repeating", offsetLeft({5, 9}, true), {1, 9}},
        {"left repeating keeps a pixel", offsetLeft({4, 9}, true), {4, 9}},
        {"right", offsetRight({4, 9}, false), {5, 9}},
        {"right repeating", offsetRight({4, 9}, true), {8, 9}},
        {"home", offsetHome(false, P), {5, 7}},
        {"home with the barcode", offsetHome(true, P), {5, 21}},
        {"barcode moves a high text down", offsetForBarcode({3, 12}, P), {3, 19}},
        {"barcode leaves a lower text", offsetForBarcode({3, 13}, P), {3, 13}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
    // Loading keeps whole pixels; 0.188 inch is 18 pixels at 96 per inch.
    EXPECT_EQ(inchesToPixels(0.188, P), 18);
    EXPECT_DOUBLE_EQ(pixelsToInches(18, P), 0.1875);
}

TEST(LabelSample, CpiFontsReadTheirPitchBackwardsToThePoint) {
    EXPECT_EQ(cpiOfFontName(QStringLiteral("Roman 10CPI")), 10);
    EXPECT_EQ(cpiOfFontName(QStringLiteral("Sans Serif 16.67CPI")), 16);
    EXPECT_EQ(cpiOfFontName(QStringLiteral("Draft 12cpi Bold")), 12);
    EXPECT_EQ(cpiOfFontName(QStringLiteral("Courier CPI")), std::nullopt);
    EXPECT_EQ(cpiOfFontName(QStringLiteral("Arial")), std::nullopt);
    LabelSetup s;
    s.fontName = QStringLiteral("Roman 10CPI BOLD");
    const QFont f = sampleFont(s, 96);
    EXPECT_TRUE(f.bold());
    EXPECT_EQ(f.pixelSize(), 13);  // trunc(10 * 96 / 72)
    // Ten characters per inch: about 96 / 8.5 pixels a character.
    EXPECT_NEAR(QFontMetricsF(f).averageCharWidth(), 11, 1.5);
}

int darkPixels(const QImage& image, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100) ++n;
    return n;
}

TEST(LabelSample, TheLabelIsDrawnAtScreenSizeWithTextAndBarcodeWhereTheyPrint) {
    LabelSetup s;
    s.lblWidth = 4;
    s.lblHeight = 1.5f;
    const QStringList lines = {QStringLiteral("Pat Public "), QStringLiteral("100 Main St")};
    const QImage plain = DrawLabel(s, lines, {24, 30}, 96);
    EXPECT_EQ(plain.size(), QSize(384, 144));
    EXPECT_EQ(qGray(plain.pixel(0, 0)), 192);      // silver outside the rounded corner
    EXPECT_EQ(qGray(plain.pixel(200, 130)), 255);  // white label
    // Two lines of 16-pixel pitch start at the offset.
    EXPECT_GT(darkPixels(plain, {24, 30, 100, 16}), 20);
    EXPECT_GT(darkPixels(plain, {24, 46, 100, 16}), 20);
    EXPECT_EQ(darkPixels(plain, {3, 66, 378, 70}), 0);  // inside the outline
    EXPECT_EQ(darkPixels(plain, {24, 14, 248, 12}), 0);
    s.barcode = true;
    const QImage barred = DrawLabel(s, lines, {24, 30}, 96);
    // The picture's 12 rows start trunc(0.165 * 96) = 15 pixels above the text.
    EXPECT_GT(darkPixels(barred, {24, 15, 248, 12}), 200);
    EXPECT_EQ(darkPixels(barred, {24, 10, 248, 4}), 0);
}

TEST(LabelSample, AnIntelligentMailSampleShowsItsSixtyFiveBarsInFourStates) {
    LabelSetup s;
    s.lblWidth = 4;
    s.lblHeight = 1.5f;
    s.barcode = true;
    s.barcodeKind = qb::labels::BarcodeKind::Imb;
    const QImage image = DrawLabel(s, {QStringLiteral("Pat Public ")}, {24, 30}, 96);
    auto runsOnRow = [&](int y) {
        int runs = 0;
        bool in = false;
        for (int x = 20; x < 300; ++x) {
            const bool dark = qGray(image.pixel(x, y)) < 128;
            runs += dark && !in;
            in = dark;
        }
        return runs;
    };
    // Every bar crosses the middle rows; only full bars and ascenders reach the top row, only
    // full bars and descenders the bottom one.
    EXPECT_EQ(runsOnRow(15 + 7), 65);
    EXPECT_GT(runsOnRow(15), 10);
    EXPECT_LT(runsOnRow(15), 65);
    EXPECT_GT(runsOnRow(15 + 13), 10);
    EXPECT_LT(runsOnRow(15 + 13), 65);
}

class Designer : public LabelsTest {
  protected:
    std::unique_ptr<TDesignLabel> open(const LabelSetup& s) {
        auto d = std::make_unique<TDesignLabel>(s, *host);
        d->FormActivate();
        return d;
    }
};

TEST_F(Designer, OffsetsSurviveASaveOnlyToThePixelGrid) {
    openContacts(numbered(1));
    LabelSetup s;
    s.xOffset = 0.188f;
    auto d = open(s);
    ASSERT_DOUBLE_EQ(d->pixelsPerInch(), 96);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Label Setup "));
    d->OkButtonClick();
    ASSERT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(d->Result().xOffset, 0.1875f);
    EXPECT_FLOAT_EQ(d->Result().yOffset, 0.25f);
}

TEST_F(Designer, TheBarcodeNeedsThreeInchesAndRoomAboveTheText) {
    openContacts(numbered(1));
    LabelSetup s;
    s.barcode = true;  // on a 2.625-inch label
    auto narrow = open(s);
    QCheckBox* box = child<QCheckBox>(narrow.get(), "BarcodeCheck");
    EXPECT_FALSE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());

    s.barcode = false;
    s.lblWidth = 3;
    s.yOffset = 0.125f;  // 12 pixels
    auto wide = open(s);
    box = child<QCheckBox>(wide.get(), "BarcodeCheck");
    ASSERT_TRUE(box->isEnabled());
    box->click();
    EXPECT_EQ(wide->offsets().y, 19);
    child<QPushButton>(wide.get(), "OffsetHomeButton")->click();
    EXPECT_EQ(wide->offsets(), (OffsetPixels{5, 21}));
    child<QPushButton>(wide.get(), "OffsetUpButton")->click();
    EXPECT_EQ(wide->offsets().y, 21);
    box->click();
    child<QPushButton>(wide.get(), "OffsetUpButton")->click();
    EXPECT_EQ(wide->offsets().y, 19);
}

TEST_F(Designer, TheIntelligentMailChoiceComesFromTheSettingsAndGoesBackInTheResult) {
    openContacts(numbered(1));
    LabelSetup s;
    s.lblWidth = 4;
    s.barcode = true;
    s.descript = QStringLiteral("Wide");
    qb::labels::saveBarcodeKind(host->settings(), qb::labels::kLabelBarcodeSection, s.descript,
                                qb::labels::BarcodeKind::Imb);
    auto d = open(s);
    QCheckBox* imb = child<QCheckBox>(d.get(), "ImbCheck");
    EXPECT_TRUE(imb->isChecked());
    EXPECT_TRUE(imb->isEnabled());
    d->OkButtonClick();
    EXPECT_EQ(d->Result().barcodeKind, qb::labels::BarcodeKind::Imb);
    child<QCheckBox>(d.get(), "BarcodeCheck")->click();
    EXPECT_FALSE(imb->isEnabled());
}

TEST_F(Designer, FontSizeStepsBeepAtSixAndThirtySixPoints) {
    openContacts(numbered(1));
    LabelSetup s;
    s.fontSize = 7;
    s.fontBold = true;
    auto d = open(s);
    QLabel* name = child<QLabel>(d.get(), "FontNameLabel");
    EXPECT_EQ(name->text(), QStringLiteral("Arial,7 pt., Bold"));
    QPushButton* smaller = child<QPushButton>(d.get(), "FontSizeSmallerButton");
    int beeps = qb::beepCount();
    smaller->click();
    EXPECT_EQ(qb::beepCount(), beeps);
    smaller->click();
    EXPECT_EQ(qb::beepCount(), beeps + 1);
    EXPECT_EQ(name->text(), QStringLiteral("Arial,6 pt., Bold"));
    for (int i = 0; i < 30; ++i)
        d->FontSizeStep(1);
    beeps = qb::beepCount();
    d->FontSizeStep(1);
    EXPECT_EQ(qb::beepCount(), beeps + 1);
    EXPECT_EQ(d->current().fontSize, 36);
}

TEST_F(Designer, TheFontDialogStartsFromTheSetupsFontAndAStandInKeepsItsName) {
    openContacts(numbered(1));
    LabelSetup s;
    s.fontSize = 14;
    s.fontItalic = true;
    auto d = open(s);
    QPushButton* button = child<QPushButton>(d.get(), "FontButton");
    // Confirmed as shown, under the name of the font that serves Arial here.
    QFont shown(QFontInfo(QFont(QStringLiteral("Arial"))).family(), 14);
    shown.setItalic(true);
    script.answerFont(shown);
    button->click();
    EXPECT_EQ(script.asked().back().text, QStringLiteral("Arial"));
    EXPECT_EQ(d->current().fontName, QStringLiteral("Arial"));

    QFont other(QStringLiteral("DejaVu Serif"), 12);
    other.setBold(true);
    script.answerFont(other);
    button->click();
    EXPECT_EQ(d->current().fontName, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(d->current().fontSize, 12);
    EXPECT_TRUE(d->current().fontBold);
    EXPECT_FALSE(d->current().fontItalic);
}

TEST_F(Designer, ContentsRedrawTheSampleAndSaveNeedsADescription) {
    FakeHost& h = openContacts({{"Alpha", "11111"}, {"Beta", "22222", "2 Second St", "Dr."}});
    LabelSetup s;
    auto d = open(s);
    const QImage first = d->sample();
    child<QPushButton>(d.get(), "NavLast")->click();
    EXPECT_EQ(h.table.text(QStringLiteral("LNAME")), QStringLiteral("Beta"));
    EXPECT_NE(d->sample(), first);

    QCheckBox* zip = child<QCheckBox>(d.get(), "ZipCheck");
    zip->click();
    EXPECT_FALSE(child<QRadioButton>(d.get(), "rbBeforeCity")->isEnabled());
    zip->click();
    child<QRadioButton>(d.get(), "rbBeforeCountry")->click();
    child<QCheckBox>(d.get(), "UppercaseCheck")->click();
    child<QCheckBox>(d.get(), "TrimCheck")->click();

    child<QLineEdit>(d.get(), "LabelSetupDescription")->setText(QStringLiteral("   "));
    script.acknowledge(QString::fromLatin1(kDescriptionMissing));
    d->OkButtonClick();
    EXPECT_NE(d->result(), QDialog::Accepted);
    child<QLineEdit>(d.get(), "LabelSetupDescription")->setText(QStringLiteral("Mailing"));
    d->OkButtonClick();
    ASSERT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Result().descript, QStringLiteral("Mailing"));
    EXPECT_EQ(d->Result().contents.zipOption, 4);
    EXPECT_TRUE(d->Result().contents.upperCase);
    EXPECT_FALSE(d->Result().trimText);
}

}  // namespace
