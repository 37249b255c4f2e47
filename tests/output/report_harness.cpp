// Recording passes for tests.
#include "report_harness.h"

namespace qb::test {

Recorded readBack(const QByteArray& bytes) {
    Recorded r;
    r.bytes = bytes;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ReportFileReader reader(buffer, QStringLiteral("test report"));
    r.header = reader.header();
    for (int p = r.header.firstPage; r.header.pageCount > 0 && p <= r.header.lastPage; ++p) {
        r.pages.push_back(reader.readPage(p));
    }
    return r;
}

Recorded record(const std::function<void(TBaseReport&)>& draw,
                const std::function<void(TReportFiler&)>& setup) {
    QWidget form;
    QBuffer stream;
    TReportFiler filer(&form);
    filer.SetStreamMode(smUser);
    filer.SetStream(&stream);
    filer.OnPrint = draw;
    if (setup) setup(filer);
    filer.Execute();
    return readBack(stream.data());
}

std::vector<QString> textsOf(const PageOps& page) {
    std::vector<QString> texts;
    for (const TextOp& t : opsOf<TextOp>(page))
        texts.push_back(t.text);
    return texts;
}

}  // namespace qb::test
