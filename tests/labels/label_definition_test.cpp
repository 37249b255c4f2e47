// Label definitions: the checks in their order, the editor's units and pitch rules, and the
// selection dialog's filter, walk, New, Edit and Delete.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "labels/label_definition.h"
#include "labels/label_edit.h"
#include "labels/select_label.h"
#include "labels_fixture.h"

namespace {

using namespace labelstest;
using namespace qb::labels;

TEST(LabelDefinitionChecks, TheFirstFailingCheckIsTold) {
    LabelDefinition good;
    good.description = QStringLiteral("Stock");
    struct Case {
        const char* what;
        std::function<void(LabelDefinition&)> change;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"too low, and every later check failing too",
         [](LabelDefinition& d) {
             d.height = 0.29;
             d.width = 0.4;
             d.sheetWidth = d.sheetDepth = 0;
             d.description = QStringLiteral("  ");
         },
         "Label Height must be at least .3 inches (or 7mm)"},
        {"too narrow", [](LabelDefinition& d) { d.width = 0.49; },
         "Label Width must be at least .5 inch (or 13mm)"},
        {"wider than the pitch across",
         [](LabelDefinition& d) {
             d.width = 3;
             d.vertPitch = 0.5;
         },
         "Horizontal Pitch must be at least = Label Width"},
        {"taller than the pitch down", [](LabelDefinition& d) { d.height = 1.5; },
         "Vertical Pitch must be at least = Label Height"},
        {"narrow paper", [](LabelDefinition& d) { d.sheetWidth = 0.29; },
         "Page Width must be at least .3 inch"},
        {"short paper", [](LabelDefinition& d) { d.sheetDepth = 0.29; },
         "Page Height must be at least .3 inches"},
        {"no description", [](LabelDefinition& d) { d.description = QStringLiteral("   "); },
         "You must provide a description"},
        // The pitches only matter with more than one label across or down.
        {"one across", [](LabelDefinition& d) { d.across = 1, d.width = 3; }, ""},
        {"one down", [](LabelDefinition& d) { d.down = 1, d.height = 3; }, ""},
        {"at the limits",
         [](LabelDefinition& d) {
             d.height = 0.3;
             d.width = 0.5;
             d.sheetWidth = d.sheetDepth = 0.3;
         },
         ""},
    };
    for (const Case& c : cases) {
        LabelDefinition d = good;
        c.change(d);
        EXPECT_EQ(ValidLabel(d), QString::fromLatin1(c.message)) << c.what;
    }
}

TEST(LabelDefinitionChecks, MillimetresAreStoredAsThousandthsOfAnInch) {
    LabelDefinition d;
    d.description = QStringLiteral("Metric");
    d.height = shownToInches(7, LengthUnit::Millimetres);
    EXPECT_DOUBLE_EQ(d.height, 0.276);
    EXPECT_EQ(ValidLabel(d), QStringLiteral("Label Height must be at least .3 inches (or 7mm)"));
    d.height = shownToInches(8, LengthUnit::Millimetres);
    EXPECT_DOUBLE_EQ(d.height, 0.315);
    EXPECT_EQ(ValidLabel(d), QString());
    EXPECT_EQ(paperEntryForCode(QStringLiteral("USER")),
              paperEntryForCode(QStringLiteral("USERP")));
    EXPECT_EQ(paperEntryForCode(QStringLiteral("B5")), -1);
    EXPECT_EQ(paperEntries()[size_t(paperEntryForCode(QStringLiteral("A4L")))].caption,
              std::string_view("A4 Landscape ( 297 x 210mm)"));
}

class LabelEditor : public LabelsTest {
  protected:
    QString field(TLabelEdit& e, const char* name) { return child<QLineEdit>(&e, name)->text(); }
    void type(TLabelEdit& e, const char* name, const QString& text) {
        QLineEdit* box = child<QLineEdit>(&e, name);
        box->setText(text);
        emit box->editingFinished();
    }
};

TEST_F(LabelEditor, SwitchingUnitsTwiceRoundsEveryLengthToWholeMillimetres) {
    LabelDefinition d;
    d.width = 2.625;
    d.topMargin = 0.188;
    TLabelEdit e(QStringLiteral("Edit Label Definition"), d);
    EXPECT_EQ(field(e, "LabelWidth"), QStringLiteral("2.625"));
    child<QRadioButton>(&e, "rbMillimeters")->click();
    EXPECT_EQ(field(e, "LabelWidth"), QStringLiteral("67"));  // 66.675
    EXPECT_EQ(field(e, "TopMargin"), QStringLiteral("5"));    // 4.775
    EXPECT_EQ(field(e, "PaperWidth"), QStringLiteral("216"));
    child<QRadioButton>(&e, "rbInches")->click();
    EXPECT_EQ(field(e, "LabelWidth"), QStringLiteral("2.638"));
    EXPECT_EQ(field(e, "TopMargin"), QStringLiteral("0.197"));
    EXPECT_EQ(field(e, "PaperWidth"), QStringLiteral("8.504"));

    // A paper entry fills the size in the unit shown; the user-defined ones leave it.
    child<QRadioButton>(&e, "rbMillimeters")->click();
    e.PaperSizeClick(paperEntryForCode(QStringLiteral("A4")));
    EXPECT_EQ(field(e, "PaperWidth"), QStringLiteral("210"));
    EXPECT_EQ(field(e, "PaperHeight"), QStringLiteral("297"));
    e.PaperSizeClick(paperEntryForCode(QStringLiteral("USERL")));
    EXPECT_EQ(field(e, "PaperWidth"), QStringLiteral("210"));
}

TEST_F(LabelEditor, ALabelLargerThanItsPitchTakesThePitchAlong) {
    TLabelEdit e(QStringLiteral("Edit Label Definition"), LabelDefinition{});
    type(e, "LabelWidth", QStringLiteral("3.5"));
    EXPECT_EQ(field(e, "HorizPitch"), QStringLiteral("3.5"));
    type(e, "LabelWidth", QStringLiteral("1"));
    EXPECT_EQ(field(e, "HorizPitch"), QStringLiteral("3.5"));
    type(e, "LabelHeight", QStringLiteral("1.5"));
    EXPECT_EQ(field(e, "VertPitch"), QStringLiteral("1.5"));
}

TEST_F(LabelEditor, SaveChecksAndKeepsTheEditorOpenWithTheEntries) {
    LabelDefinition d;
    d.description = QStringLiteral("Metric stock");
    d.paperSize = QStringLiteral("XX");
    TLabelEdit e(QStringLiteral("Add Label Definition"), d);
    EXPECT_EQ(child<QComboBox>(&e, "PaperSizeList")->currentIndex(), -1);
    child<QRadioButton>(&e, "rbMillimeters")->click();
    type(e, "LabelHeight", QStringLiteral("7"));
    script.acknowledge(QStringLiteral("Label Height must be at least .3 inches (or 7mm)"));
    e.OKButtonClick();
    EXPECT_NE(e.result(), QDialog::Accepted);
    EXPECT_EQ(field(e, "LabelHeight"), QStringLiteral("7"));

    type(e, "LabelHeight", QStringLiteral("8"));
    child<QSpinBox>(&e, "NbrAcross")->setValue(1);
    child<QCheckBox>(&e, "TractorFed")->setChecked(true);
    e.OKButtonClick();
    ASSERT_EQ(e.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(e.Result().height, 0.315);
    EXPECT_DOUBLE_EQ(e.Result().width, 2.638);
    EXPECT_EQ(e.Result().across, 1);
    EXPECT_EQ(e.Result().printer, QStringLiteral("DM"));
    EXPECT_EQ(e.Result().paperSize, QStringLiteral("XX"));  // no entry chosen keeps the code
}

class SelectLabel : public LabelsTest {
  protected:
    void SetUp() override {
        LabelsTest::SetUp();
        stock.open(path(kLabelStockFileName));
    }
    void TearDown() override {
        stock.close();
        LabelsTest::TearDown();
    }
    QString current() { return stock.text(QStringLiteral("USERDESC")); }

    qb::Dataset stock;
};

TEST_F(SelectLabel, OpensOnTheSetupsStockWithinItsPrinterType) {
    const QString laser = QStringLiteral("Avery 5163  Shipping,   2.00 x 4.00");
    {
        TSelectLabel s(stock, laser, QStringLiteral("LJ"));
        s.FormActivate();
        EXPECT_TRUE(child<QRadioButton>(&s, "rbLaser")->isChecked());
        EXPECT_EQ(current(), laser);
    }
    // A laser stock sought among the dot-matrix stock: the walk ends on the last row.
    TSelectLabel s(stock, laser, QStringLiteral("DM"));
    s.FormActivate();
    EXPECT_TRUE(child<QRadioButton>(&s, "rbDotMatrix")->isChecked());
    EXPECT_EQ(stock.text(QStringLiteral("PRINTER")), QStringLiteral("DM"));
    const uint32_t reached = stock.recNo();
    stock.last();
    EXPECT_EQ(stock.recNo(), reached);
    EXPECT_EQ(stock.selection(), QStringLiteral("\"DM\"$printer"));
}

TEST_F(SelectLabel, NewStockStartsFromTheCurrentAndIsTheUsers) {
    TSelectLabel s(stock, QStringLiteral("Avery 5160  Address,   1.00 x 2.63"),
                   QStringLiteral("LJ"));
    s.FormActivate();
    const uint32_t before = stock.recCount();
    onModal<TLabelEdit>([this](TLabelEdit* e) {
        EXPECT_EQ(e->windowTitle(), QStringLiteral("Add Label Definition"));
        EXPECT_EQ(child<QLineEdit>(e, "Description")->text(),
                  QStringLiteral("[New] Avery 5160  Address,   1.00 x 2.63"));
        child<QPushButton>(e, "OKButton")->click();
    });
    s.NewLabelClick();
    ASSERT_EQ(stock.recCount(), before + 1);
    stock.go(before + 1);
    EXPECT_EQ(current(), QStringLiteral("[New] Avery 5160  Address,   1.00 x 2.63"));
    EXPECT_TRUE(s.Chosen().userDefined);
    EXPECT_DOUBLE_EQ(s.Chosen().width, 2.625);

    // The user's own stock is edited and deleted without the predefined warnings.
    onModal<TLabelEdit>([](TLabelEdit* e) {
        child<QLineEdit>(e, "Description")->setText(QStringLiteral("Mine"));
        child<QPushButton>(e, "OKButton")->click();
    });
    s.EditLabelClick();
    EXPECT_EQ(current(), QStringLiteral("Mine"));
    EXPECT_TRUE(s.Chosen().userDefined);
    script.answerYes(QStringLiteral("Are you sure you wish to delete this label?"));
    s.DeleteLabelClick();
    stock.go(before + 1);
    EXPECT_NE(stock.recNo(), before + 1);
}

TEST_F(SelectLabel, PredefinedStockIsChangedOnlyAfterAWarning) {
    TSelectLabel s(stock, QStringLiteral("Avery 5160  Address,   1.00 x 2.63"),
                   QStringLiteral("LJ"));
    s.FormActivate();
    const uint32_t record = stock.recNo();
    script.answerNo(
        QStringLiteral("This is a predefined Avery label.\rChanging it may result in "
                       "incorrect output.\rAre you sure you wish to modify it?"));
    s.EditLabelClick();  // No: no editor opens

    script.answerYes();
    onModal<TLabelEdit>([](TLabelEdit* e) {
        EXPECT_EQ(e->windowTitle(), QStringLiteral("Edit Label Definition"));
        child<QLineEdit>(e, "TopMargin")->setText(QStringLiteral("0.75"));
        child<QPushButton>(e, "OKButton")->click();
    });
    s.EditLabelClick();
    EXPECT_DOUBLE_EQ(s.Chosen().topMargin, 0.75);
    EXPECT_FALSE(s.Chosen().userDefined);

    script.answerNo(
        QStringLiteral("This is a predefined Avery label. Are you sure you wish to delete it?"));
    s.DeleteLabelClick();
    EXPECT_EQ(stock.recNo(), record);
}

}  // namespace
