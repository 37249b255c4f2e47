// What dialogs use of the main window, without the window: a contact table, a filter, the
// program folder's settings and a window to centre over.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

#include "store/contact_host.h"
#include "store/contact_schema.h"
#include "store/dataset.h"
#include "store/settings.h"

namespace qb::test {

class FakeHost : public qb::ContactHost {
  public:
    explicit FakeHost(QString folder) : folder_(std::move(folder)) {}
    qb::Dataset& contactTable() override { return table; }
    QString currentFileName() const override { return table.isOpen() ? table.path() : released_; }
    QString currentFilter() const override { return filter; }
    QString currentOrder() const override { return table.orderTag(); }
    bool tableEventsOn() const override { return eventsOn; }
    void setTableEventsOn(bool on) override { eventsOn = on; }
    QString programFolder() const override { return folder_; }
    qb::Settings settings() const override {
        return qb::Settings(folder_ + QStringLiteral("QUILLB.INI"));
    }
    QWidget* hostWindow() override { return &window; }
    void suspendRecordDisplay() override {
        table.disableControls();
        eventsOn = false;
    }
    void resumeRecordDisplay() override {
        table.enableControls();
        eventsOn = true;
    }
    void releaseContactFile() override {
        released_ = table.path();
        table.close();
    }
    void reapplyFilter() override {
        const QString exclusion = QString::fromLatin1(qb::kDeletionExclusion);
        table.setSelection(filter.isEmpty() ? exclusion : filter + ".and. " + exclusion);
        table.first();
    }
    void reclaimContactFile(uint32_t recno) override {
        reclaimedAt = recno;
        if (released_.isEmpty()) return;
        table.open(released_);
        if (recno != 0) table.go(recno);
        released_.clear();
    }

    qb::Dataset table;
    QString filter;
    bool eventsOn = true;
    QWidget window;
    uint32_t reclaimedAt = 0;

  private:
    QString folder_;
    QString released_;
};

}  // namespace qb::test
