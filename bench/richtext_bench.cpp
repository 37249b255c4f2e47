// The letter document's RTF reading and writing, and its paging, on a 100-page letter.
#include <benchmark/benchmark.h>

#include <QTextCursor>
#include <QTextDocument>

#include "richtext/paginator.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

namespace {

using namespace qb::richtext;

// About 100 pages of Times 12: paragraphs of mixed styles, sizes, colours, tabs and accented
// text, written by our own writer.
const QByteArray& hundredPages() {
    static const QByteArray rtf = [] {
        QTextDocument doc;
        prepareLetterDocument(doc);
        QTextCursor cursor(&doc);
        QTextCharFormat plain, bold, colored;
        plain.setFontPointSize(12);
        bold.setFontWeight(QFont::Bold);
        colored.setForeground(QColor(0, 0, 128));
        colored.setFontFamilies({QStringLiteral("Arial")});
        QTextBlockFormat para;
        para.setTabPositions({QTextOption::Tab(192, QTextOption::LeftTab)});
        para.setBottomMargin(8);
        for (int i = 0; i < 1900; ++i) {
            if (i)
                cursor.insertBlock(para);
            else
                cursor.setBlockFormat(para);
            cursor.insertText(QStringLiteral("Paragraph %1:\t").arg(i), bold);
            cursor.insertText(
                QStringLiteral("Dear r\u00e9sum\u00e9 reader, this line of the letter "
                               "runs on with ordinary words "),
                plain);
            cursor.insertText(QStringLiteral("and a coloured \u201cquote\u201d "), colored);
            cursor.insertText(QStringLiteral("before it ends."), plain);
        }
        return writeRtf(doc, PageSettings{});
    }();
    return rtf;
}

void BM_ReadRtf100Pages(benchmark::State& state) {
    const QByteArray& rtf = hundredPages();
    for (auto _ : state) {
        QTextDocument doc;
        PageSettings page;
        readRtf(rtf, doc, page);
        benchmark::DoNotOptimize(doc.blockCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadRtf100Pages)->Unit(benchmark::kMillisecond);

void BM_WriteRtf100Pages(benchmark::State& state) {
    QTextDocument doc;
    PageSettings page;
    readRtf(hundredPages(), doc, page);
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(doc, page));
}
BENCHMARK(BM_WriteRtf100Pages)->Unit(benchmark::kMillisecond);

void BM_Paginate100Pages(benchmark::State& state) {
    QTextDocument doc;
    PageSettings page;
    readRtf(hundredPages(), doc, page);
    int pages = 0;
    for (auto _ : state) {
        const Paginator paginator(doc, page);
        pages = paginator.pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_Paginate100Pages)->Unit(benchmark::kMillisecond);

}  // namespace
