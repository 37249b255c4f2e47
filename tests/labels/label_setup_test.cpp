// Label setups and label stock in their tables: the shipped layouts, the default setup of an
// empty table, writing with three-decimal rounding, and what a chosen definition hands over.
#include "labels/label_definition.h"
#include "labels_fixture.h"

namespace {

using namespace labelstest;
using namespace qb::labels;

class LabelTables : public LabelsTest {
  protected:
    QStringList fieldsOf(const char* file) {
        xb::WorkArea a;
        a.use(path(file).toStdString(), xb::UseMode::ReadOnly);
        QStringList names;
        for (int i = 1; i <= a.fieldCount(); ++i)
            names << QString::fromStdString(a.fieldName(i));
        return names;
    }
};

TEST_F(LabelTables, ShippedTablesHoldTheFieldsInTheirOrder) {
    EXPECT_EQ(fieldsOf(kLabelStockFileName).join(u' '),
              QStringLiteral("USERDESC LBLHEIGHT LBLWIDTH NBRACROSS NBRDOWN TOPMARG LEFTMARG "
                             "HORIZPITCH VERTPITCH SHEETWIDTH SHEETDEPTH PRINTER PAPERSIZE "
                             "USERDEF"));
    EXPECT_EQ(fieldsOf(kLabelSetupFileName).join(u' '),
              QStringLiteral("DESCRIPT USERLABELN PRINTERTYP FONTNAME FONTSIZE FONTBOLD "
                             "FONTITALIC XOFFSET YOFFSET BARCODE NAME TITLE COMPANY STREET "
                             "CITYSTATE ZIP PHONE COUNTRY ZIPOPTIONS UPPERCASE LBLHEIGHT "
                             "LBLWIDTH NBRACROSS NBRDOWN TOPMARG LEFTMARG HORIZPITCH VERTPITCH "
                             "SHEETWIDTH SHEETDEPTH PAPERSIZE TRIMTEXT"));
}

TEST_F(LabelTables, AnEmptyOrPassedTableGivesTheDefaultSetup) {
    xb::WorkArea a;
    a.use(path(kLabelSetupFileName).toStdString());
    ASSERT_EQ(a.recCount(), 0u);
    const LabelSetup d = ReadLabelSetup(a);
    EXPECT_EQ(d.descript, QStringLiteral("Default Label Setup"));
    EXPECT_EQ(d.userLabelName, QStringLiteral("Avery 5160  Address,   1.00 x 2.63"));
    EXPECT_EQ(d.printerType, QStringLiteral("LJ"));
    EXPECT_EQ(d.fontName, QStringLiteral("Arial"));
    EXPECT_EQ(d.fontSize, 10);
    EXPECT_FALSE(d.fontBold || d.fontItalic || d.barcode || d.contents.title ||
                 d.contents.company || d.contents.phone || d.contents.country ||
                 d.contents.upperCase);
    EXPECT_TRUE(d.contents.name && d.contents.street && d.contents.cityState && d.contents.zip &&
                d.trimText);
    EXPECT_EQ(d.contents.zipOption, 1);
    EXPECT_FLOAT_EQ(d.xOffset, 0.25f);
    EXPECT_FLOAT_EQ(d.yOffset, 0.25f);
    EXPECT_FLOAT_EQ(d.lblHeight, 1);
    EXPECT_FLOAT_EQ(d.lblWidth, 2.625f);
    EXPECT_EQ(d.nbrAcross, 3);
    EXPECT_EQ(d.nbrDown, 10);
    EXPECT_FLOAT_EQ(d.topMarg, 0.5f);
    EXPECT_FLOAT_EQ(d.leftMarg, 0.188f);
    EXPECT_FLOAT_EQ(d.horizPitch, 2.75f);
    EXPECT_FLOAT_EQ(d.vertPitch, 1);
    EXPECT_FLOAT_EQ(d.sheetWidth, 8.5f);
    EXPECT_FLOAT_EQ(d.sheetDepth, 11);
    EXPECT_EQ(d.paperSize, QStringLiteral("LTR"));

    // One row, then positioned past it.
    a.append();
    LabelSetup other = d;
    other.descript = QStringLiteral("Other");
    WriteLabelSetup(a, other);
    a.post();
    a.first();
    EXPECT_EQ(ReadLabelSetup(a).descript, QStringLiteral("Other"));
    a.skip();
    EXPECT_EQ(ReadLabelSetup(a), d);
}

TEST_F(LabelTables, SetupsAreWrittenWithRealsToThousandthsAndTextsToTheirWidths) {
    LabelSetup s;
    s.descript = QString(70, u'D');
    s.fontName = QStringLiteral("Courier New");
    s.fontSize = 14;
    s.fontBold = s.fontItalic = s.barcode = true;
    s.xOffset = 0.1875f;
    s.yOffset = 0.20833f;
    s.contents = {false, true, true, false, false, true, true, true, 4, true};
    s.lblWidth = 3.99951f;
    s.nbrAcross = 2;
    s.paperSize = QStringLiteral("USERLX");
    s.trimText = false;
    xb::WorkArea a;
    a.use(path(kLabelSetupFileName).toStdString());
    a.append();
    WriteLabelSetup(a, s);
    a.post();
    a.close();
    a.use(path(kLabelSetupFileName).toStdString(), xb::UseMode::ReadOnly);
    a.first();
    const LabelSetup back = ReadLabelSetup(a);
    LabelSetup expected = s;
    expected.descript = QString(50, u'D');
    expected.xOffset = 0.188f;
    expected.yOffset = 0.208f;
    expected.lblWidth = 4;
    expected.paperSize = QStringLiteral("USERL");
    EXPECT_EQ(back, expected);
}

TEST_F(LabelTables, AChosenDefinitionHandsOverItsStock) {
    xb::WorkArea a;
    a.use(path(kLabelStockFileName).toStdString(), xb::UseMode::ReadOnly);
    a.first();
    while (!a.eof() && a.getText("USERDESC").rfind("Avery 5163", 0) != 0)
        a.skip();
    ASSERT_FALSE(a.eof());
    const LabelDefinition d = readLabelDefinition(a);
    EXPECT_FALSE(d.userDefined);
    LabelSetup s;
    s.descript = QStringLiteral("Mine");
    s.fontSize = 12;
    copyDefinitionIntoSetup(d, s);
    EXPECT_EQ(s.userLabelName, QStringLiteral("Avery 5163  Shipping,   2.00 x 4.00"));
    EXPECT_FLOAT_EQ(s.lblWidth, 4);
    EXPECT_FLOAT_EQ(s.lblHeight, 2);
    EXPECT_EQ(s.nbrAcross, 2);
    EXPECT_EQ(s.nbrDown, 5);
    EXPECT_FLOAT_EQ(s.horizPitch, 4.188f);
    EXPECT_FLOAT_EQ(s.leftMarg, 0.156f);
    EXPECT_EQ(s.printerType, QStringLiteral("LJ"));
    EXPECT_EQ(s.paperSize, QStringLiteral("LTR"));
    // What the user designed stays.
    EXPECT_EQ(s.descript, QStringLiteral("Mine"));
    EXPECT_EQ(s.fontSize, 12);
}

}  // namespace
