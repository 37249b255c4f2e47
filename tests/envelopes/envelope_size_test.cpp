// Envelope sizes: the list's walk to the setup's size, what may be edited and deleted, and the
// size editor's units and limits.
#include <QLineEdit>
#include <QPushButton>

#include "envelopes/select_envelope.h"
#include "envelopes_fixture.h"

namespace {

using namespace qb::envelopes;
using labelstest::child;
using labelstest::onModal;

class EnvelopeSizes : public envtest::EnvelopesTest {
  protected:
    void SetUp() override {
        EnvelopesTest::SetUp();
        sizes.open(path(kEnvelopeSizeFileName));
        sizes.setOrderTag(QStringLiteral("NAME"));
    }
    // The edit dialog with a width and height typed, Save pressed; the message, if any.
    QString save(const char* width, const char* height, bool millimetres = false) {
        TEnvelopeEdit e(QStringLiteral("Add New Envelope Size"));
        e.FormActivate();
        if (millimetres) e.MMButtonClick();
        child<QLineEdit>(&e, "WidthEdit")->setText(QLatin1String(width));
        child<QLineEdit>(&e, "HeightEdit")->setText(QLatin1String(height));
        const qsizetype before = script.asked().size();
        script.acknowledge();
        e.OKButtonClick();
        const bool told = script.asked().size() > before;
        if (!told) script.clearScript();
        return told ? script.asked().back().text : QString();
    }
    qb::Dataset sizes;
};

TEST_F(EnvelopeSizes, TheListOpensOnTheExactNameOrElseOnTheLastSize) {
    TSelectEnvelope exact(sizes, QStringLiteral("Envelope #10"));
    exact.FormActivate();
    EXPECT_EQ(exact.Chosen().name, QStringLiteral("Envelope #10"));
    EXPECT_DOUBLE_EQ(exact.Chosen().width, 9.5);
    // Letter case counts; without a match a real size stays current, never an empty row.
    TSelectEnvelope none(sizes, QStringLiteral("ENVELOPE #10"));
    none.FormActivate();
    EXPECT_TRUE(sizes.onRecord());
    EXPECT_GE(none.Chosen().width, 2.0);
    EXPECT_TRUE(child<QPushButton>(&none, "OKButton")->isEnabled());
}

TEST_F(EnvelopeSizes, StockSizesCannotBeEditedOrDeletedAndNewOnesAreTheUsers) {
    TSelectEnvelope d(sizes, QStringLiteral("Envelope #10"));
    d.FormActivate();
    script.acknowledge(QStringLiteral("You may only edit User Defined envelopes"));
    d.EditEnvelopeClick();
    script.acknowledge(QStringLiteral("You may only delete User Defined envelopes"));
    d.DeleteEnvelopeClick();
    const uint32_t before = sizes.recCount();
    onModal<TEnvelopeEdit>([](TEnvelopeEdit* e) {
        child<QLineEdit>(e, "NameEdit")->setText(QStringLiteral("Mine"));
        child<QLineEdit>(e, "DescEdit")->setText(QStringLiteral("4.3 x 9"));
        child<QLineEdit>(e, "HeightEdit")->setText(QStringLiteral("4.3"));
        e->OKButtonClick();
    });
    d.NewEnvelopeClick();
    ASSERT_EQ(sizes.recCount(), before + 1);
    const EnvelopeSize mine = d.Chosen();
    EXPECT_EQ(mine.name, QStringLiteral("Mine"));
    EXPECT_TRUE(mine.userDefined);
    EXPECT_DOUBLE_EQ(mine.width, 9.5);
    EXPECT_DOUBLE_EQ(mine.height, 4.3);
    script.answerYes(QStringLiteral("Delete this envelope?"));
    d.DeleteEnvelopeClick();
    EXPECT_EQ(sizes.selectionRecordCount(), before);
}

TEST_F(EnvelopeSizes, TwoInchesOr51MillimetresIsTheSmallestSize) {
    const QString tooLow = QStringLiteral("Envelope Height must be at least 2 inches (50mm)");
    EXPECT_EQ(save("2.000", "2.000"), QString());
    EXPECT_EQ(save("5", "1.99"), tooLow);
    EXPECT_EQ(save("1.99", "5"), QStringLiteral("Envelope Width must be at least 2 inches (50mm)"));
    EXPECT_EQ(save("100", "50", true), tooLow);
    EXPECT_EQ(save("100", "51", true), QString());
}

TEST_F(EnvelopeSizes, UnitsSwitchWithTheirDecimalsAndAnUntouchedSizeKeepsItsValue) {
    TEnvelopeEdit e(QStringLiteral("Edit Envelope Size"));
    e.Load({QStringLiteral("N"), QStringLiteral("D"), 9.5, 4.125, true});
    e.FormActivate();
    auto* height = child<QLineEdit>(&e, "HeightEdit");
    EXPECT_EQ(height->text(), QStringLiteral("4.13"));
    e.OKButtonClick();
    EXPECT_DOUBLE_EQ(e.Result().height, 4.125);
    e.MMButtonClick();
    EXPECT_EQ(height->text(), QStringLiteral("105"));  // 4.13 inches
    e.InchesbuttonClick();
    EXPECT_EQ(height->text(), QStringLiteral("4.13"));  // 105 mm
}

}  // namespace
