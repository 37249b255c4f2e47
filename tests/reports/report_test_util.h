// Helpers shared by the report and ZIP count tests: a pass recorded into a report file and read
// back page by page, and the words of a PDF with their boxes in inches.
#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QProcess>
#include <QRegularExpression>
#include <QWidget>
#include <functional>
#include <ostream>
#include <vector>

#include "output/page_ops.h"
#include "output/report_file.h"
#include "output/report_filer.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", " : "") << '"' << list[i].toStdString() << '"';
    *os << '}';
}
QT_END_NAMESPACE

namespace reporttest {

struct Recorded {
    qb::ReportFileHeader header;
    std::vector<qb::PageOps> pages;
};

inline Recorded readBack(const QByteArray& bytes) {
    Recorded out;
    QBuffer read;
    read.setData(bytes);
    read.open(QIODevice::ReadOnly);
    qb::ReportFileReader reader(read, QStringLiteral("test pass"));
    out.header = reader.header();
    for (int p = out.header.firstPage; out.header.pageCount > 0 && p <= out.header.lastPage; ++p)
        out.pages.push_back(reader.readPage(p));
    return out;
}

// One report-file pass on a Letter page with the status windows' margins and line height.
inline Recorded recordPass(const std::function<void(qb::TBaseReport&)>& draw) {
    QWidget form;
    QBuffer stream;
    qb::TReportFiler filer(&form);
    filer.SetStreamMode(qb::smUser);
    filer.SetStream(&stream);
    filer.SetLineHeightMethod(qb::lhmFont);
    for (auto set : {&qb::TBaseReport::SetMarginLeft, &qb::TBaseReport::SetMarginRight,
                     &qb::TBaseReport::SetMarginTop, &qb::TBaseReport::SetMarginBottom})
        (filer.*set)(0.5);
    filer.OnPrint = draw;
    filer.Execute();
    return readBack(stream.data());
}

template <typename T>
std::vector<T> opsOf(const qb::PageOps& page) {
    std::vector<T> found;
    for (const qb::DrawOp& op : page)
        if (const T* t = std::get_if<T>(&op)) found.push_back(*t);
    return found;
}

// Every text drawn on the page, plain or clipped, in drawing order.
inline QStringList textsOf(const qb::PageOps& page) {
    QStringList texts;
    for (const qb::DrawOp& op : page) {
        if (const auto* t = std::get_if<qb::TextOp>(&op)) texts << t->text;
        if (const auto* t = std::get_if<qb::ClipTextOp>(&op)) texts << t->text;
    }
    return texts;
}

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;  // inches
    int page;
};

inline std::vector<Word> pdfWords(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<Word> words;
    int page = 0;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == u"<page ") {
            ++page;
            continue;
        }
        words.push_back({m.captured(5), m.captured(1).toDouble() / 72,
                         m.captured(2).toDouble() / 72, m.captured(3).toDouble() / 72,
                         m.captured(4).toDouble() / 72, page});
    }
    return words;
}

inline const Word* findWord(const std::vector<Word>& words, const QString& text, int page = 1) {
    for (const Word& w : words)
        if (w.text == text && w.page == page) return &w;
    return nullptr;
}

}  // namespace reporttest
