// Helpers for engine tests: run a report-file pass with a drawing routine and read back what
// it recorded, page by page.
#pragma once

#include "output/page_ops.h"
#include "output/report_file.h"
#include "output/report_filer.h"

#include <QBuffer>
#include <QWidget>
#include <functional>
#include <vector>

namespace qb::test {

struct Recorded {
    ReportFileHeader header;
    std::vector<PageOps> pages;
    QByteArray bytes;
};

// Runs one report-file pass owned by a form, with `draw` as the page-drawing routine.
// `setup` may change the filer before the pass.
Recorded record(const std::function<void(TBaseReport&)>& draw,
                const std::function<void(TReportFiler&)>& setup = {});

Recorded readBack(const QByteArray& bytes);

template <typename T>
std::vector<T> opsOf(const PageOps& page) {
    std::vector<T> found;
    for (const DrawOp& op : page) {
        if (const T* t = std::get_if<T>(&op)) found.push_back(*t);
    }
    return found;
}

std::vector<QString> textsOf(const PageOps& page);

}  // namespace qb::test
