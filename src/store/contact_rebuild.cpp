// Packing and re-indexing for the maintenance run.
#include "store/contact_rebuild.h"

#include <algorithm>
#include <cmath>

#include "xbase/error.h"
#include "xbase/file.h"

namespace qb {
namespace {

std::string utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

// Deletes the compound index file beside a table, if there is one.
void removeCompoundIndex(const std::string& tablePath) {
    const std::string cdx = xb::findSiblingOf(tablePath, ".CDX");
    if (xb::fileExists(cdx)) xb::removeFile(cdx);
}

// A step of 0..100 for how far one piece of work has come.
int stepOf(const xb::Progress& p) {
    if (p.total == 0) return 100;
    return int(std::min<uint64_t>(100, p.done * 100 / p.total));
}

}  // namespace

const std::vector<ProgramTableIndex>& programTableIndexes() {
    static const std::vector<ProgramTableIndex> tables = {
        {"QBMLTRS.DBF", "DESCRIPT", "UPPER(DESCRIPT)", "Rebuilding Letters File indexes"},
        {"QBMLBLS.DBF", "USERDESC", "UPPER(USERDESC)", "Rebuilding Label Type File indexes"},
        {"QBMENVS.DBF", "NAME", "UPPER(NAME)", "Rebuilding Envelope Type File indexes"},
        {"QBMSZCK.DBF", "STATE", "UPPER(STATE)", "Rebuilding State/Province File indexes"},
        {"QBMLSU.DBF", "DESCRIPT", "UPPER(descript)", "Rebuilding Label Setup File indexes"},
        {"QBMESU.DBF", "DESCRIPT", "UPPER(descript)", "Rebuilding Envelope Setup File indexes"},
    };
    return tables;
}

QString PackContactFile(Dataset& table, const xb::ProgressFn& progress) {
    if (!table.isOpen()) return QStringLiteral("No contact file is open");
    if (table.editing()) table.cancel();
    xb::WorkArea& area = table.area();
    QString complaint;
    try {
        area.closeIndexes();
        removeCompoundIndex(area.path());
        area.setProgress(progress);
        area.pack();
    } catch (const std::exception& e) {
        complaint = QString::fromUtf8(e.what());
    }
    area.setProgress({});
    table.resync();
    return complaint;
}

bool RebuildProgramTable(const QString& folder, const ProgramTableIndex& t) {
    const std::string path = xb::findCaseInsensitive(utf8(folder) + t.fileName);
    if (!xb::fileExists(path)) return false;
    xb::WorkArea area;
    try {
        area.use(path, xb::UseMode::Exclusive);
        area.setOrder(area.tagArea(t.tag));
        if (!area.indexName(1).empty()) {
            area.closeIndexes();
            removeCompoundIndex(path);
        }
        area.pack();
        area.indexTag("", xb::TagDef{t.tag, t.key, "", false, false});
        area.close();
        return true;
    } catch (const std::exception&) {
        try {
            area.close();
        } catch (const std::exception&) {
            // Closing what could not be rebuilt may fail as well; the next table goes on.
        }
        return false;
    }
}

int ReindexGauge::report(const xb::Progress& p) {
    const int step = stepOf(p);
    if (packing_) return step;
    if (p.tag != tag_) {
        // A new tag starts its own count from nothing.
        tag_ = p.tag;
        previous_ = 0;
    }
    if (step > previous_) {
        total_ += step - previous_;
        previous_ = step;
    }
    const int whole = 100 * std::max(1, p.tagCount);
    if (total_ <= 0) return 0;
    return std::min(100, int(std::lround(double(total_) * 100.0 / whole)));
}

void ReindexGauge::reset() {
    total_ = 0;
    previous_ = 0;
    tag_ = 0;
}

}  // namespace qb
