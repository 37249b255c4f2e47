// The shipped tables built from the project's CSV sources, and a program folder being filled
// from the installed copies.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "store/program_folder.h"
#include "store/program_tables.h"
#include "xbase/error.h"

namespace qb {
namespace {

std::string dataFile(const char* name) {
    std::ifstream in(std::string(QB_SOURCE_DIR) + "/data/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ProgramTables, CsvLinesSplitAtCommasOutsideQuotes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitCsvLine("a,b,,c"), (V{"a", "b", "", "c"}));
    EXPECT_EQ(splitCsvLine("\"Avery 5160  Address,   1.00\",1.000,F"),
              (V{"Avery 5160  Address,   1.00", "1.000", "F"}));
    EXPECT_EQ(splitCsvLine("\"say \"\"hi\"\"\",x"), (V{"say \"hi\"", "x"}));
    EXPECT_EQ(splitCsvLine(""), (V{""}));
    EXPECT_THROW(splitCsvLine("\"open,x"), xb::Error);
}

TEST(ProgramTables, TheShippedSourcesBuildTablesWithTheirRowsAndTags) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    buildProgramTable(folder + "QBMLBLS.DBF", labelStockTable(), dataFile("label-stock.csv"));
    buildProgramTable(folder + "QBMENVS.DBF", envelopeSizeTable(), dataFile("envelope-sizes.csv"));
    buildProgramTable(folder + "QBMSZCK.DBF", stateTable(), dataFile("states.csv"));
    buildProgramTable(folder + "QBMESU.DBF", envelopeSetupTable(), "");

    xb::WorkArea area;
    area.use(folder + "QBMLBLS.DBF");
    EXPECT_EQ(area.recCount(), 66u);
    EXPECT_EQ(area.tagName(1), "USERDESC");
    area.setOrder(area.tagArea("USERDESC"));
    ASSERT_TRUE(area.seek("AVERY 5160"));
    EXPECT_EQ(area.getText("USERDESC"), "Avery 5160  Address,   1.00 x 2.63");
    EXPECT_DOUBLE_EQ(area.getNumber("LBLWIDTH"), 2.625);
    EXPECT_DOUBLE_EQ(area.getNumber("LEFTMARG"), 0.188);
    EXPECT_EQ(area.getNumber("NBRDOWN"), 10);
    EXPECT_FALSE(area.getLogical("USERDEF"));
    EXPECT_EQ(area.checkIndexes(), "");

    // The default envelope setup names Envelope #10, so the stock must hold it.
    area.use(folder + "QBMENVS.DBF");
    EXPECT_EQ(area.recCount(), 23u);
    area.setOrder(area.tagArea("NAME"));
    ASSERT_TRUE(area.seek("ENVELOPE #10"));
    EXPECT_DOUBLE_EQ(area.getNumber("WIDTH"), 9.5);
    EXPECT_DOUBLE_EQ(area.getNumber("HEIGHT"), 4.125);

    area.use(folder + "QBMSZCK.DBF");
    EXPECT_EQ(area.recCount(), 59u);
    EXPECT_EQ(area.fieldWidth("STATE"), 4);
    area.setOrder(area.tagArea("STATE"));
    ASSERT_TRUE(area.seek("NY"));
    EXPECT_EQ(area.getText("LOW_ZIP"), "00500");

    area.use(folder + "QBMESU.DBF");
    EXPECT_EQ(area.recCount(), 0u);
    EXPECT_EQ(area.fieldCount(), 44);
    EXPECT_EQ(area.orderKey(1), "UPPER(descript)");
}

TEST(ProgramTables, FaultySourcesAreReportedWithTheirLine) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/QBMENVS.DBF";
    auto message = [&](const std::string& csv) {
        try {
            buildProgramTable(path, envelopeSizeTable(), csv);
        } catch (const xb::Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_NE(message("NAME,WIDTH\nA,1\nB,wide\n").find("line 3"), std::string::npos);
    EXPECT_NE(message("NAME,COLOUR\n").find("COLOUR"), std::string::npos);
    EXPECT_NE(message("NAME,WIDTH\nA,1,2\n").find("line 2"), std::string::npos);
    EXPECT_NE(message("NAME,WIDTH\n\"A,1\n").find("line 2"), std::string::npos);
}

TEST(ProgramFolder, MissingTablesAreCopiedAndExistingOnesKept) {
    QTemporaryDir installed, home;
    const std::string from = installed.path().toStdString() + "/";
    buildProgramTable(from + "QBMLBLS.DBF", labelStockTable(), dataFile("label-stock.csv"));
    buildProgramTable(from + "QBMENVS.DBF", envelopeSizeTable(), dataFile("envelope-sizes.csv"));
    buildProgramTable(from + "QBMSZCK.DBF", stateTable(), dataFile("states.csv"));
    buildProgramTable(from + "QBMLSU.DBF", labelSetupTable(), "");
    // QBMESU.DBF is not installed.
    const QString to = withTrailingSlash(home.path());
    {
        QFile mine(to + QStringLiteral("qbmlbls.dbf"));  // the user's own, in another case
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("mine");
    }
    const QStringList missing = provideShippedTables(to, installed.path());
    EXPECT_EQ(missing, QStringList{QStringLiteral("QBMESU.DBF")});
    EXPECT_TRUE(QFile::exists(to + QStringLiteral("QBMENVS.DBF")));
    EXPECT_TRUE(QFile::exists(to + QStringLiteral("QBMENVS.CDX")));
    EXPECT_TRUE(QFile::exists(to + QStringLiteral("QBMLSU.DBF")));
    EXPECT_FALSE(QFile::exists(to + QStringLiteral("QBMLBLS.DBF")));
    QFile mine(to + QStringLiteral("qbmlbls.dbf"));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), QByteArray("mine"));

    xb::WorkArea area;
    area.use((to + QStringLiteral("QBMSZCK.DBF")).toStdString());
    EXPECT_EQ(area.recCount(), 59u);
}

TEST(ProgramFolder, AnExplicitFolderWinsAndAlwaysEndsWithASlash) {
    QTemporaryDir dir;
    const QString wanted = dir.path() + QStringLiteral("/made/here");
    EXPECT_EQ(resolveProgramFolder(wanted, QStringLiteral("/nonexistent")), wanted + u'/');
    EXPECT_TRUE(QDir(wanted).exists());
    qputenv("QUILLBANK_HOME", dir.path().toUtf8());
    EXPECT_EQ(resolveProgramFolder({}, QStringLiteral("/nonexistent")), dir.path() + u'/');
    qunsetenv("QUILLBANK_HOME");
    EXPECT_EQ(resolveProgramFolder({}, dir.path()), dir.path() + u'/');
    EXPECT_EQ(folderOf(QStringLiteral("/a/b/C.DBF")), QStringLiteral("/a/b/"));
}

}  // namespace
}  // namespace qb
