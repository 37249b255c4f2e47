// The comma-delimited reader: record rules, line ends, marks, encodings and refusals.
#include <gtest/gtest.h>

#include <QBuffer>

#include "store/csv_reader.h"
#include "store/csv_writer.h"

namespace qb {
namespace {

using Records = std::vector<QStringList>;

struct Case {
    const char* name;
    QByteArray bytes;
    Records expected;
};

TEST(CsvReader, ReadsEachKindOfRecord) {
    QStringList wide;
    QByteArray wideLine;
    for (int i = 1; i <= 300; ++i) {
        wide << QString::number(i);
        wideLine += QByteArray::number(i) + (i < 300 ? "," : "\r\n");
    }
    const QString longValue(5000, u'x');
    const Case cases[] = {
        {"plain", "a,b,c\r\nd,e,f\r\n", {{"a", "b", "c"}, {"d", "e", "f"}}},
        {"quoted comma", "\"Jones, Brown and Co\",x\r\n", {{"Jones, Brown and Co", "x"}}},
        {"doubled quotes",
         "\"He said \"\"hi\"\"\",\"5\"\" Main St, Apt 2\"",
         {{"He said \"hi\"", "5\" Main St, Apt 2"}}},
        {"empty quoted and trailing comma", "\"\",a,\r\n", {{"", "a", ""}}},
        {"older lines with bare quotes",
         "\"a \"b\" c\",\"d\"\r\n\"a\"b,\r\n",
         {{"a \"b\" c", "d"}, {"\"a\"b", ""}}},
        {"line break inside quotes",
         "\"1 Main\r\nSuite 2\",b\nc\n",
         {{"1 Main\r\nSuite 2", "b"}, {"c"}}},
        {"quote never closed", "\"abc\nx,y\n", {{"\"abc"}, {"x", "y"}}},
        {"byte-order mark", "\xEF\xBB\xBF\"a\",b\r\n", {{"a", "b"}}},
        {"CR only", "a\rb,c\r", {{"a"}, {"b", "c"}}},
        {"LF and no final end", "a\nb", {{"a"}, {"b"}}},
        {"end-of-file mark", "a,b\r\n\x1A", {{"a", "b"}}},
        {"end-of-file mark on the last line", "a\x1A", {{"a"}}},
        {"empty lines", "\r\n\r\nx\r\n", {{""}, {""}, {"x"}}},
        {"nothing", "", {}},
        {"more than 255 values", wideLine, {wide}},
        {"long line", "\"" + longValue.toLatin1() + "\",y", {{longValue, "y"}}},
    };
    for (const Case& c : cases) {
        QString problem;
        EXPECT_EQ(readCsv(c.bytes, TextEncoding::Auto, &problem), c.expected) << c.name;
        EXPECT_TRUE(problem.isEmpty()) << c.name;
    }
}

TEST(CsvReader, NumbersTheLineEachRecordStartsOn) {
    QByteArray bytes = "a\r\n\"b\r\nc\nd\",e\r\nf\r\n";
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    CsvReader reader(in, TextEncoding::Utf8);
    QStringList values;
    QList<qint64> lines;
    while (reader.next(values))
        lines << reader.line();
    EXPECT_EQ(lines, (QList<qint64>{1, 2, 5}));
    EXPECT_EQ(reader.consumed(), bytes.size());
}

TEST(CsvReader, DetectsTheEncoding) {
    const QString accented = QStringLiteral("Zoë Müller");
    struct Enc {
        QByteArray bytes;
        TextEncoding expected;
    };
    const Enc cases[] = {
        {"plain ascii", TextEncoding::Windows1252},
        {accented.toUtf8(), TextEncoding::Utf8},
        {"Zo\xEB M\xFCller", TextEncoding::Windows1252},
        // One valid UTF-8 sequence does not make a file UTF-8 when another byte is not.
        {"\xC3\xAB and \xEB", TextEncoding::Windows1252},
        {"\xEF\xBB\xBFplain", TextEncoding::Utf8},
    };
    for (const Enc& c : cases) {
        QByteArray bytes = c.bytes;
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        const CsvInspection look = inspectCsv(in);
        EXPECT_TRUE(look.problem.isEmpty());
        EXPECT_EQ(look.encoding, c.expected) << c.bytes.constData();
    }
    EXPECT_EQ(readCsv(accented.toUtf8()), (Records{{accented}}));
    EXPECT_EQ(readCsv("Zo\xEB M\xFCller"), (Records{{accented}}));
    EXPECT_EQ(readCsv("\x80", TextEncoding::Windows1252), (Records{{QStringLiteral("€")}}));
}

TEST(CsvReader, RefusesBytesThatAreNotText) {
    for (const QByteArray& bytes : {QByteArray("a,b\r\nc\0d\r\n", 10), QByteArray("\xFF\xFE"
                                                                                  "a\0",
                                                                                  4)}) {
        QString problem;
        EXPECT_TRUE(readCsv(bytes, TextEncoding::Auto, &problem).empty());
        EXPECT_FALSE(problem.isEmpty());
    }
    // Read without the look first, the reader still stops at the NUL.
    QString problem;
    const Records got = readCsv(QByteArray("a\r\nb\0\r\n", 7), TextEncoding::Utf8, &problem);
    EXPECT_TRUE(got.size() <= 1);
    EXPECT_FALSE(problem.isEmpty());
}

TEST(CsvReader, RecordsAcrossReadBlocksComeBackWhole) {
    // Enough lines that records, a quoted line break and the closing mark straddle the
    // reader's block boundaries.
    QByteArray bytes;
    const int count = 60000;
    for (int i = 0; i < count; ++i)
        bytes += "\"" + QByteArray::number(i) + ",\r\nx\",\"q\"\"\",plain " +
                 QByteArray::number(i) + "\r\n";
    bytes += '\x1A';
    const Records got = readCsv(bytes);
    ASSERT_EQ(int(got.size()), count);
    for (int i = 0; i < count; i += 997)
        EXPECT_EQ(got[size_t(i)], (QStringList{QString::number(i) + ",\r\nx", "q\"",
                                               "plain " + QString::number(i)}));
    EXPECT_EQ(got.back().last(), "plain " + QString::number(count - 1));
}

TEST(CsvWriter, EncodedFieldsAreQuotedAsTheTextForm) {
    for (const QString value :
         {"", "plain", "a,b", "5\" Main", "\"\"", "x\r\ny", "\"edge\"", "Zoë"})
        for (const CsvQuoting q : {CsvQuoting::Always, CsvQuoting::WhenNeeded}) {
            QByteArray line;
            const QByteArray utf8 = value.toUtf8();
            appendCsvField(line, std::string_view(utf8.constData(), size_t(utf8.size())), q);
            EXPECT_EQ(QString::fromUtf8(line), csvField(value, q)) << value.toStdString();
        }
}

}  // namespace
}  // namespace qb
