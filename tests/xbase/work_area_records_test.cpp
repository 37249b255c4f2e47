// Reading and writing records: field types, code pages, memos, appends and the record buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "test_util.h"
#include "xbase/error.h"
#include "xbase/file.h"

using namespace xbtest;

namespace {

TEST(WorkAreaRecords, ValuesRoundTripThroughTheFile) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    {
        xb::WorkArea a;
        a.use(p);
        a.append();
        a.putText("NAME", "Zoë Müller");  // two letters outside ASCII, both in Windows-1252
        a.putText("CITY", "a city name much longer than fifteen");
        a.putNumber("AMOUNT", -1234.567);
        a.putDate("DAY", xb::jdnFromYmd(2026, 2, 28));
        a.putLogical("FLAG", true);
        a.replace("NOTE", "line one\r\nline two");
        a.post();
        a.append();
        a.post();  // a blank record
        a.close();
    }
    xb::WorkArea a;
    a.use(p, xb::UseMode::ReadOnly);
    ASSERT_EQ(a.recCount(), 2u);
    a.go(1);
    EXPECT_EQ(a.getText("NAME"), "Zoë Müller");
    EXPECT_EQ(a.getRaw("NAME").substr(0, 10), "Zo\xEB M\xFCller");  // stored as Windows-1252 bytes
    EXPECT_EQ(a.getText("CITY"), "a city name muc");                // cut to the width
    EXPECT_EQ(a.getText("AMOUNT"), "-1234.57");
    EXPECT_DOUBLE_EQ(a.getNumber("AMOUNT"), -1234.57);
    EXPECT_EQ(a.getText("DAY"), "20260228");
    EXPECT_TRUE(a.getLogical("FLAG"));
    EXPECT_EQ(a.getMemo("NOTE"), "line one\r\nline two");
    a.go(2);
    EXPECT_EQ(a.getText("NAME"), "");
    EXPECT_EQ(a.getText("DAY"), "");
    EXPECT_EQ(a.getDate("DAY"), xb::kEmptyDate);
    EXPECT_EQ(a.getText("FLAG"), "");
    EXPECT_EQ(a.getMemo("NOTE"), "");
    EXPECT_EQ(a.getRaw("NOTE"), std::string(10, ' '));  // an empty memo has no block
}

TEST(WorkAreaRecords, RefusesValuesTheFieldCannotHold) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    a.append();
    EXPECT_THROW(a.putText("NAME", "\xE4\xB8\xAD"), xb::Error);   // not in Windows-1252
    EXPECT_THROW(a.putNumber("AMOUNT", 123456789.0), xb::Error);  // would need 12 places
    EXPECT_THROW(a.putText("AMOUNT", "12abc"), xb::Error);
    EXPECT_THROW(a.putText("DAY", "20260230"), xb::Error);  // 30 February
    EXPECT_THROW(a.putText("NOSUCH", "x"), xb::Error);
    a.putText("AMOUNT", " 42 ");
    a.post();
    EXPECT_EQ(a.getText("AMOUNT"), "42.00");
}

TEST(WorkAreaRecords, MemoRewritesReuseTheirBlocksOnlyWhenTheyFit) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    addRow(a, "one", "x");
    a.replace("NOTE", "short");
    a.post();
    std::string firstPointer = a.getRaw("NOTE");
    a.replace("NOTE", "tiny");  // fits the same block
    a.post();
    EXPECT_EQ(a.getRaw("NOTE"), firstPointer);
    a.replace("NOTE", std::string(500, 'x'));  // needs more blocks: moves to the end
    a.post();
    EXPECT_NE(a.getRaw("NOTE"), firstPointer);
    EXPECT_EQ(a.getMemo("NOTE"), std::string(500, 'x'));
    a.replace("NOTE", "");
    a.post();
    EXPECT_EQ(a.getMemo("NOTE"), "");
    EXPECT_EQ(a.getRaw("NOTE"), std::string(10, ' '));
}

TEST(WorkAreaRecords, CancelForgetsChangesAndAppends) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    addRow(a, "kept", "x");
    a.putText("NAME", "changed");
    a.replace("NOTE", "memo");
    EXPECT_TRUE(a.modified());
    a.cancel();
    EXPECT_EQ(a.getText("NAME"), "kept");
    EXPECT_EQ(a.getMemo("NOTE"), "");
    a.append();
    a.putText("NAME", "never");
    a.cancel();
    EXPECT_EQ(a.recCount(), 1u);
    EXPECT_EQ(a.recNo(), 1u);
    EXPECT_EQ(a.getText("NAME"), "kept");
}

TEST(WorkAreaRecords, MovingPostsPendingChanges) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    addRow(a, "a", "x");
    addRow(a, "b", "x");
    a.go(1);
    a.putText("NAME", "changed");
    a.go(2);
    a.go(1);
    EXPECT_EQ(a.getText("NAME"), "changed");
}

// Exclusive use reads ahead in blocks while it steps forward a few records at a time; a
// record written or deleted meanwhile must read back as written, never as the block
// had it.
TEST(WorkAreaRecords, StepsThroughTheTableSeeWhatWasJustWritten) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    for (int i = 1; i <= 60; ++i) {
        a.append();
        a.putText("NAME", "n" + std::to_string(i));
        a.post();
    }
    for (uint32_t r = 2; r <= 60; r += 3) {
        a.go(r);
        ASSERT_EQ(a.getText("NAME"), "n" + std::to_string(r));
        a.putText("NAME", "w" + std::to_string(r));
        if (r % 2 == 0) a.deleteRecord();
        a.post();
    }
    // Backwards: records the block already holds come from it.
    for (uint32_t r = 60; r >= 1; --r) {
        a.go(r);
        const bool written = r % 3 == 2;
        EXPECT_EQ(a.getText("NAME"), (written ? "w" : "n") + std::to_string(r)) << "record " << r;
        EXPECT_EQ(a.deleted(), written && r % 2 == 0) << "record " << r;
    }
}

TEST(WorkAreaRecords, CopyStructureMakesAnEmptyTableWithItsMemoFile) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    addRow(a, "a", "x");
    writeBytes(dir.file("COPY.CDX"), std::vector<uint8_t>(1024, 0x55));  // left by an older copy
    a.copyStructure(dir.file("COPY.DBF"));
    ASSERT_TRUE(xb::fileExists(dir.file("COPY.FPT")));
    EXPECT_FALSE(xb::fileExists(dir.file("COPY.CDX")));
    xb::WorkArea c;
    c.use(dir.file("COPY.DBF"));
    EXPECT_EQ(c.recCount(), 0u);
    ASSERT_EQ(c.fieldCount(), a.fieldCount());
    for (int i = 1; i <= a.fieldCount(); ++i) {
        EXPECT_EQ(c.fieldName(i), a.fieldName(i));
        EXPECT_EQ(c.fieldType(a.fieldName(i)), a.fieldType(a.fieldName(i)));
        EXPECT_EQ(c.fieldWidth(a.fieldName(i)), a.fieldWidth(a.fieldName(i)));
    }
    c.append();
    c.replace("NOTE", "memo in the copy");
    c.post();
    EXPECT_EQ(c.getMemo("NOTE"), "memo in the copy");
}

TEST(WorkAreaRecords, NewTablesAreFoxProWithTheirHeaderRules) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    {
        xb::WorkArea a;
        a.use(p);
        addRow(a, "a", "x");
        addRow(a, "b", "y");
    }
    auto bytes = readBytes(p);
    ASSERT_GE(bytes.size(), 32u);
    EXPECT_EQ(bytes[0], 0xF5);                      // FoxPro 2.x with memo
    EXPECT_EQ(bytes[4], 2);                         // record count
    int headerLength = bytes[8] | (bytes[9] << 8);  // 32 + 6 fields * 32 + 1
    EXPECT_EQ(headerLength, 32 + 6 * 32 + 1);
    int recordLength = bytes[10] | (bytes[11] << 8);
    EXPECT_EQ(recordLength, 1 + 20 + 15 + 8 + 8 + 1 + 10);
    EXPECT_EQ(bytes[29], 0x03);  // Windows-1252
    EXPECT_EQ(bytes.size(), size_t(headerLength + 2 * recordLength + 1));
    EXPECT_EQ(bytes.back(), 0x1A);  // end-of-file mark after the last record
    auto fpt = readBytes(dir.file("T.FPT"));
    ASSERT_GE(fpt.size(), 512u);
    EXPECT_EQ(fpt[6] * 256 + fpt[7], 64);  // block size
}

TEST(WorkAreaRecords, ForeignCodePagesAreReadByTheirDriverByte) {
    TempDir dir;
    std::string p = dir.file("DOS.DBF");
    {
        xb::WorkArea a;
        a.createNew(p);
        a.createField("NAME", 'C', 10);
        a.createExec();
    }
    // Turn it into a DOS 850 table holding u-umlaut as 0x81.
    auto bytes = readBytes(p);
    bytes[29] = 0x02;
    bytes[0] = 0x03;
    bytes[4] = 1;
    bytes.pop_back();  // the end-of-file mark
    std::string rec = " M\x81ller    ";
    bytes.insert(bytes.end(), rec.begin(), rec.end());
    bytes.push_back(0x1A);
    writeBytes(p, bytes);
    xb::WorkArea a;
    a.use(p);
    a.go(1);
    EXPECT_EQ(a.getText("NAME"), "Müller");
    a.putText("NAME", "Müllerin");
    a.post();
    EXPECT_EQ(a.getRaw("NAME").substr(0, 8), "M\x81llerin");  // written back in the same page
}

TEST(WorkAreaRecords, ExclusiveUseKeepsOtherOpenersOut) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea first;
    first.use(p, xb::UseMode::Exclusive);
    xb::WorkArea second;
    try {
        second.use(p, xb::UseMode::Shared);
        FAIL() << "a second opener got in";
    } catch (const xb::Error& e) {
        EXPECT_EQ(e.code(), xb::ErrorCode::Locked);
    }
    first.close();
    second.use(p, xb::UseMode::Shared);
    xb::WorkArea third;
    third.use(p, xb::UseMode::ReadOnly);  // shared openers live together
    EXPECT_THROW(xb::WorkArea().use(p, xb::UseMode::Exclusive), xb::Error);
}

}  // namespace

namespace {

TEST(WorkAreaRecords, CreatingOverATableInUseIsRefusedAndLosesNothing) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p, xb::UseMode::Shared);
    a.append();
    a.putText("NAME", "precious");
    a.post();
    EXPECT_THROW(createSmallTable(p), xb::Error);
    EXPECT_THROW(a.copyStructure(p), xb::Error);
    a.close();
    a.use(p);
    EXPECT_EQ(a.recCount(), 1u);
    EXPECT_EQ(a.getText("NAME"), "precious");
}

}  // namespace

TEST(WorkAreaRecords, ABlockOfRecordsIsAddedWholeAndOnlyToATableWithoutIndexes) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    addRow(a, "First", "Here");
    std::string block;
    for (const char* name : {"Second", "Third"}) {
        std::string rec = a.blankRecord();
        std::memcpy(rec.data() + 1, name, std::strlen(name));  // NAME is the first field
        block += rec;
    }
    a.appendRecords(block);
    EXPECT_EQ(a.recNo(), 3u);
    EXPECT_EQ(a.getText("NAME"), "Third");
    EXPECT_THROW(a.appendRecords(block.substr(1)), xb::Error);  // not whole records
    a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
    EXPECT_THROW(a.appendRecords(block), xb::Error);  // its keys would be missing
    a.close();

    // The count and the end-of-file mark follow the block, so the file reads as three records.
    EXPECT_EQ(readBytes(p).back(), 0x1A);
    xb::WorkArea r;
    r.use(p, xb::UseMode::ReadOnly);
    ASSERT_EQ(r.recCount(), 3u);
    r.go(2);
    EXPECT_EQ(r.getText("NAME"), "Second");
    EXPECT_EQ(r.getMemo("NOTE"), "");
    EXPECT_FALSE(r.deleted());
}
