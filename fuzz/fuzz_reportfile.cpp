// libFuzzer target for the report file reader: any bytes are opened as a report file, and the
// first pages are decoded and painted. Only a ReportError may come out.
#include "output/page_renderer.h"
#include "output/report_error.h"
#include "output/report_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

// Qt's font database keeps what fontconfig returns for each new family name in caches that
// live until exit; the leak checker would take them for leaks of the reader.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = *argc;
    static QGuiApplication app(qtArgc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        const qb::ReportFileReader reader(buffer, QStringLiteral("fuzz.qbr"));
        const qb::ReportFileHeader& h = reader.header();
        QImage image(48, 64, QImage::Format_RGB32);
        qb::RenderTarget target;
        target.pixelsPerInchX = target.pixelsPerInchY = 6;
        target.fitTextWidths = h.positioning;
        // A few pages are enough to reach every operation; the rest only repeat the reading.
        for (int page = h.firstPage;
             h.pageCount > 0 && page <= h.lastPage && page < h.firstPage + 4; ++page) {
            const qb::PageOps ops = reader.readPage(page);
            QPainter painter(&image);
            qb::renderPage(painter, ops, target);
        }
    } catch (const qb::ReportError&) {
        // A clear refusal is the expected outcome for damaged bytes.
    }
    return 0;
}
