// libFuzzer target for the RTF reader: any bytes are read into a document, which is written,
// read and written again; the two writings must agree, and a small document is paged and drawn.
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "richtext/paginator.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

// Qt's font database keeps what fontconfig returns for each new family name in caches that
// live until exit; the leak checker would take them for leaks of the reader.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = *argc;
    static QGuiApplication app(qtArgc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qb::richtext;
    QTextDocument doc;
    PageSettings page;
    readRtf(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), doc, page);
    const QByteArray first = writeRtf(doc, page);
    QTextDocument again;
    PageSettings againPage;
    readRtf(first, again, againPage);
    if (writeRtf(again, againPage) != first) std::abort();  // saving again must not drift
    if (doc.characterCount() < 400) {
        const Paginator pages(doc, page);
        QImage image(34, 44, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.scale(1.0 / 360, 1.0 / 360);
        for (int i = 0; i < pages.pageCount() && i < 3; ++i)
            pages.drawPage(painter, i);
    }
    return 0;
}
