// Reading a PDF written through the "PDF file" printer back: word boxes from pdftotext -bbox
// and a grey rendering from pdftoppm, both in inches from the page's top-left corner.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <vector>

namespace qb::test {

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;  // inches
};

inline std::vector<Word> pdfWords(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression wordRe(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<Word> words;
    for (auto it = wordRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble() / 72,
                         m.captured(2).toDouble() / 72, m.captured(3).toDouble() / 72,
                         m.captured(4).toDouble() / 72});
    }
    return words;
}

// A page rendered to grey pixels by pdftoppm.
struct Raster {
    int width = 0, height = 0, dpi = 0;
    QByteArray pixels;
    bool dark(double xInches, double yInches) const {
        const int x = int(xInches * dpi), y = int(yInches * dpi);
        if (x < 0 || y < 0 || x >= width || y >= height) return false;
        return quint8(pixels[qsizetype(y) * width + x]) < 128;
    }
};

// Renders page `page` (from 1).
inline Raster render(const QString& pdf, const QString& stem, int dpi, int page = 1) {
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(dpi),
             QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
             QString::number(page), QStringLiteral("-singlefile"), pdf, stem});
    EXPECT_TRUE(p.waitForFinished(60000));
    QFile f(stem + QStringLiteral(".pgm"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    // P5 header: magic, width, height, maximum, each followed by white space.
    const QList<QByteArray> head = all.left(64).split('\n');
    Raster r;
    r.dpi = dpi;
    const QList<QByteArray> size = head.value(1).split(' ');
    r.width = size.value(0).toInt();
    r.height = size.value(1).toInt();
    const qsizetype start = head.value(0).size() + head.value(1).size() + head.value(2).size() + 3;
    r.pixels = all.mid(start);
    EXPECT_EQ(r.pixels.size(), qsizetype(r.width) * r.height);
    return r;
}

// Four-state bars read back from a rendering: each bar is found where it crosses the middle
// of the figure (the tracker band), and its state from whether it is dark just inside the
// figure's top and its bottom: F full, A ascender, D descender, T tracker.
struct FourStateBars {
    QString states;
    std::vector<double> centres;  // inches, left to right
    int overreaching = 0;         // bars dark beyond the figure's top or bottom
};

inline FourStateBars readFourStateBars(const Raster& page, double from, double to, double figureTop,
                                       double bottom) {
    FourStateBars read;
    const double middle = (figureTop + bottom) / 2;
    double runStart = -1;
    for (double x = from; x < to; x += 1.0 / page.dpi) {
        const bool d = page.dark(x, middle);
        if (d && runStart < 0) runStart = x;
        if (!d && runStart >= 0) {
            read.centres.push_back((runStart + x) / 2);
            runStart = -1;
        }
    }
    for (double x : read.centres) {
        const bool up = page.dark(x, figureTop + 0.01);
        const bool down = page.dark(x, bottom - 0.01);
        read.states += up ? (down ? u'F' : u'A') : (down ? u'D' : u'T');
        if (page.dark(x, figureTop - 0.01) || page.dark(x, bottom + 0.01)) ++read.overreaching;
    }
    return read;
}

}  // namespace qb::test
