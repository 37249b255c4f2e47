// The label run as it lands on the page: slots across and down, copies, page breaks, cutting
// lines to the label, the POSTNET bars and the presort separators.
#include <QBuffer>
#include <cmath>
#include <map>

#include "labels/bar_figure.h"
#include "labels_fixture.h"
#include "presort/bulk_mail_presort.h"
#include "presort/sorted_zip_walk.h"

namespace {

using namespace labelstest;
using qb::labels::LabelSetup;

// The lines of each label of a page, by (row, column), found from where their texts lie.
using Sheet = std::map<std::pair<int, int>, QStringList>;

Sheet sheetOf(const qb::PageOps& page, const LabelSetup& s) {
    std::multimap<std::tuple<int, int, float>, QString> ordered;
    for (const qb::TextOp& t : opsOf<qb::TextOp>(page)) {
        const int column = int(std::floor((t.x - s.leftMarg) / s.horizPitch));
        const int row = int(std::floor((t.y - s.topMarg) / s.vertPitch));
        ordered.insert({{row, column, t.y}, t.text});
    }
    Sheet sheet;
    for (const auto& [where, text] : ordered)
        sheet[{std::get<0>(where), std::get<1>(where)}] << text;
    return sheet;
}

class LabelSheet : public LabelsTest {};

TEST_F(LabelSheet, CopiesFillTheRowWithTheSameRecordAndLabelsStartAtTheOffset) {
    FakeHost& h = openContacts(numbered(2));
    LabelSetup s;  // the default setup: 3 across, 10 down, 2.625 by 1 inch
    const RecordedRun run = recordRun(h.table.area(), s, 3);
    ASSERT_EQ(run.pages.size(), 1u);
    EXPECT_EQ(run.recordLabels, 6);
    const Sheet sheet = sheetOf(run.pages[0], s);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(sheet.at({0, column}).front(), QStringLiteral("Pat P001 ")) << column;
        EXPECT_EQ(sheet.at({1, column}).front(), QStringLiteral("Pat P002 ")) << column;
    }
    // Every line of a label starts at its left edge plus the x offset.
    for (const qb::TextOp& t : opsOf<qb::TextOp>(run.pages[0])) {
        const double column = std::round((t.x - s.leftMarg - s.xOffset) / s.horizPitch);
        EXPECT_NEAR(t.x, column * s.horizPitch + s.leftMarg + s.xOffset, 1e-4);
    }
}

TEST_F(LabelSheet, ALastLabelThatFillsThePageStartsNoEmptyPage) {
    LabelSetup s;
    {
        FakeHost& h = openContacts(numbered(30));
        const RecordedRun run = recordRun(h.table.area(), s);
        EXPECT_EQ(run.header.pageCount, 1u);
        EXPECT_EQ(sheetOf(run.pages[0], s).size(), 30u);
    }
    FakeHost& h = openContacts(numbered(31));
    const RecordedRun run = recordRun(h.table.area(), s);
    ASSERT_EQ(run.header.pageCount, 2u);
    const Sheet second = sheetOf(run.pages[1], s);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second.begin()->first, std::make_pair(0, 0));
    EXPECT_EQ(second.begin()->second.front(), QStringLiteral("Pat P031 "));
}

TEST_F(LabelSheet, TrimmingCutsLinesToTheLabelAndDropsLinesBelowIt) {
    const QString street = QStringLiteral("12345 Extraordinarily Long Way");
    FakeHost& h = openContacts({{"Long", "62704", street.toStdString()}});
    LabelSetup s;
    s.lblWidth = 1.5f;
    RecordedRun run = recordRun(h.table.area(), s);
    const auto texts = opsOf<qb::TextOp>(run.pages[0]);
    ASSERT_EQ(texts.size(), 3u);
    const qb::TextOp& cut = texts[1];
    EXPECT_TRUE(street.startsWith(cut.text));
    EXPECT_GT(cut.text.size(), 5);
    EXPECT_LT(cut.text.size(), street.size());
    EXPECT_LE(cut.width + s.xOffset, s.lblWidth + 1e-4);

    // Untrimmed, the line runs past the label.
    s.trimText = false;
    h.table.first();
    run = recordRun(h.table.area(), s);
    EXPECT_EQ(opsOf<qb::TextOp>(run.pages[0])[1].text, street);

    // 36 points is 0.6 inch a line: one line fits below a 0.25 offset on a 1-inch label.
    s.fontSize = 36;
    s.trimText = true;
    h.table.first();
    run = recordRun(h.table.area(), s);
    EXPECT_EQ(opsOf<qb::TextOp>(run.pages[0]).size(), 1u);
    s.trimText = false;
    h.table.first();
    run = recordRun(h.table.area(), s);
    EXPECT_EQ(opsOf<qb::TextOp>(run.pages[0]).size(), 3u);
}

TEST_F(LabelSheet, AnOffsetWiderThanTheLabelStillEnds) {
    FakeHost& h = openContacts(numbered(4));
    LabelSetup s;
    s.xOffset = 3;
    const RecordedRun run = recordRun(h.table.area(), s);
    EXPECT_EQ(run.recordLabels, 4);
    for (const qb::TextOp& t : opsOf<qb::TextOp>(run.pages[0]))
        EXPECT_TRUE(t.text.isEmpty());
}

TEST_F(LabelSheet, BarsStandAboveTheTextOfQualifyingZipsOnly) {
    // Sorted by last name: A (5 digits), B (postal code), C (ZIP+4 with delivery point).
    FakeHost& h = openContacts(
        {{"A", "62704"}, {"B", "K1A 0B1"}, {"C", "12345-6789", "100 MAIN ST"}, {"D", "1234"}});
    LabelSetup s;
    s.barcode = true;
    s.lblWidth = 4;
    s.horizPitch = 4.188f;
    s.nbrAcross = 2;
    s.yOffset = 0.3f;
    const RecordedRun run = recordRun(h.table.area(), s);
    const auto lines = opsOf<qb::LineOp>(run.pages[0]);
    // Labels A and C: 32 and 62 bars; B and D get none.
    ASSERT_EQ(lines.size(), 32u + 62u);
    auto check = [&](size_t first, size_t count, double left, double top) {
        const double barTop = top + s.yOffset - qb::labels::kBarcodeRise;
        for (size_t i = 0; i < count; ++i) {
            const qb::LineOp& bar = lines[first + i];
            EXPECT_NEAR(bar.x1, left + s.xOffset + double(i) * 0.045, 1e-4);
            EXPECT_FLOAT_EQ(bar.x1, bar.x2);
            EXPECT_NEAR(bar.y2, barTop + 0.125, 1e-4);
            const bool tall = std::abs(bar.y1 - barTop) < 1e-4;
            if (i == 0 || i + 1 == count) {
                EXPECT_TRUE(tall) << "frame bars are tall";
            } else if (!tall) {
                EXPECT_NEAR(bar.y1, barTop + 0.0625, 1e-4);
            }
            // Inside the label, above the text block.
            EXPECT_GT(bar.y1, top);
            EXPECT_LT(bar.y2, top + s.yOffset);
        }
    };
    check(0, 32, s.leftMarg, s.topMarg);
    check(32, 62, s.leftMarg, s.topMarg + s.vertPitch);
    for (const qb::PenOp& pen : opsOf<qb::PenOp>(run.pages[0]))
        EXPECT_NEAR(pen.width, 0.01, 1e-6);
    EXPECT_FALSE(opsOf<qb::PenOp>(run.pages[0]).empty());
}

TEST_F(LabelSheet, StoppingEndsTheRunBeforeTheNextLabel) {
    FakeHost& h = openContacts(numbered(12));
    int asked = 0;
    const RecordedRun run =
        recordRun(h.table.area(), LabelSetup{}, 1, {}, [&] { return ++asked > 5; });
    EXPECT_EQ(run.recordLabels, 5);
    EXPECT_EQ(sheetOf(run.pages[0], LabelSetup{}).size(), 5u);
}

class Quiet : public qb::presort::PresortObserver {
  public:
    void showProgress(const QString&) override {}
    bool cancelRequested() override { return false; }
};

TEST_F(LabelSheet, PresortedRunsPrintSeparatorsAndLeaveOutWhatDidNotQualify) {
    std::vector<Person> people;
    for (int i = 0; i < 10; ++i)
        people.push_back({"Five" + std::to_string(i), "12345-0001"});
    for (int i = 0; i < 3; ++i)
        people.push_back({"Adc" + std::to_string(i), "12901"});
    people.push_back({"Canada", "K1A 0B1"});
    people.push_back({"Nozip", ""});
    people.push_back({"Short", "0000"});
    people.push_back({"Gone", "12345", "1 Elm", "DELETED"});
    FakeHost& h = openContacts(people);
    Quiet quiet;
    qb::presort::BulkMailPresort presort(quiet);
    ASSERT_TRUE(presort.run(h.table.area(), folder));
    qb::presort::SortedZipWalk::prepare(h.table.area());

    LabelSetup s;
    const RecordedRun run = recordRun(h.table.area(), s, 2, folder);
    EXPECT_EQ(run.separatorLabels, 2);
    EXPECT_EQ(run.recordLabels, 2 * 13);
    QStringList firstLines;
    for (const auto& page : run.pages)
        for (const auto& [slot, lines] : sheetOf(page, s))
            firstLines << lines.front();
    ASSERT_EQ(firstLines.size(), 28);
    EXPECT_EQ(firstLines[0], QStringLiteral("** 5-digit 12345"));
    EXPECT_EQ(firstLines[21], QStringLiteral("** ADC ALBANY NY 120"));
    for (int i = 1; i <= 20; ++i)
        EXPECT_TRUE(firstLines[i].contains(QStringLiteral("Five"))) << i;
    for (int i = 22; i < 28; ++i)
        EXPECT_TRUE(firstLines[i].contains(QStringLiteral("Adc"))) << i;
    // Copies follow each other; the separator is printed once.
    EXPECT_EQ(firstLines[1], firstLines[2]);
    EXPECT_NE(firstLines[2], firstLines[3]);
}

}  // namespace
