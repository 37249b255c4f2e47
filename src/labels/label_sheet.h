// The page-drawing routine of a label run: one label (or several copies) per contact record,
// laid out across and down the sheets of the setup's stock, with the address lines, the
// optional barcode and, in presort order, a separator label before each presort group.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "labels/label_setup.h"
#include "xbase/work_area.h"

namespace qb {
class TBaseReport;
}
namespace qb::presort {
class SortedZipWalk;
}

namespace qb::labels {

struct ImbMailer;

// Where a label lies on its sheet, in inches from the sheet's top-left corner.
struct LabelSlot {
    int row = 0;
    int column = 0;
};
double slotLeft(const LabelSetup& s, const LabelSlot& slot);
double slotTop(const LabelSetup& s, const LabelSlot& slot);

class LabelSheetRun {
  public:
    // The run starts at the contact table's current record and follows the table's order,
    // or, with a presort folder, the presort list in that folder.
    LabelSheetRun(xb::WorkArea& contacts, const LabelSetup& setup, int copies);
    ~LabelSheetRun();
    LabelSheetRun(const LabelSheetRun&) = delete;
    LabelSheetRun& operator=(const LabelSheetRun&) = delete;

    // Walk the presort list of PRESORT.PSL in folder instead of the table's order.
    void followPresortList(const QString& folder) { presortFolder_ = folder; }

    // Asked before each label; true ends the run (a stopped preview keeps its pages).
    std::function<bool()> stopRequested;
    // Called once per record, so windows stay responsive during the run.
    std::function<void()> letEventsRun;
    // Gives each Intelligent Mail barcode its tracking code; needed when the setup prints them.
    ImbMailer* imbMailer = nullptr;

    // The engine's OnPrint: draws every page of the run.
    void PrintLabels(TBaseReport& report);

    int recordLabels() const { return recordLabels_; }
    int separatorLabels() const { return separatorLabels_; }

  private:
    void drawRecordLabel(TBaseReport& r, const LabelSlot& slot);
    bool finished() const;
    void moveOn();

    xb::WorkArea& contacts_;
    LabelSetup setup_;
    int copies_;
    QString presortFolder_;
    std::unique_ptr<presort::SortedZipWalk> walk_;
    int recordLabels_ = 0;
    int separatorLabels_ = 0;
};

}  // namespace qb::labels
