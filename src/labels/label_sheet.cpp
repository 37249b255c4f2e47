// Drawing the labels of a run through the report output engine.
#include "labels/label_sheet.h"

#include "labels/bar_figure.h"
#include "labels/bar_section.h"
#include "labels/barcode_kind.h"
#include "labels/label_lines.h"
#include "output/base_report.h"
#include "presort/presort_file.h"
#include "presort/sorted_zip_walk.h"

namespace qb::labels {

double slotLeft(const LabelSetup& s, const LabelSlot& slot) {
    return slot.column * double(s.horizPitch) + double(s.leftMarg);
}

double slotTop(const LabelSetup& s, const LabelSlot& slot) {
    return slot.row * double(s.vertPitch) + double(s.topMarg);
}

LabelSheetRun::LabelSheetRun(xb::WorkArea& contacts, const LabelSetup& setup, int copies)
    : contacts_(contacts), setup_(setup), copies_(copies < 1 ? 1 : copies) {}

LabelSheetRun::~LabelSheetRun() = default;

bool LabelSheetRun::finished() const {
    return contacts_.eof();
}

void LabelSheetRun::moveOn() {
    if (walk_) {
        walk_->moveOn();
    } else {
        contacts_.skip();
    }
}

void LabelSheetRun::drawRecordLabel(TBaseReport& r, const LabelSlot& slot) {
    const AddressFields fields = readAddressFields(contacts_);
    const double xOffset = setup_.xOffset;
    const double width = setup_.lblWidth;
    for (QString line : composeAddressLines(fields, setup_.contents, contacts_.codePage())) {
        if (!setup_.trimText) {
            r.Println(line);
            continue;
        }
        // An offset as wide as the label leaves room for nothing; the loop still ends.
        while (!line.isEmpty() && r.TextWidth(line) + xOffset > width)
            line.chop(1);
        if (r.LinesLeft() <= 0) continue;
        if (line.isEmpty()) {
            r.NewLine();
        } else {
            r.Println(line);
        }
    }
    if (barcodeWanted(setup_.barcode, fields.zip)) {
        r.SetOriginY(slotTop(setup_, slot) + (double(setup_.yOffset) - kBarcodeRise));
        r.GotoXY(0, 0);
        drawBarcode(r, setup_.barcodeKind, fields.zip, fields.street, imbMailer);
    }
}

void LabelSheetRun::PrintLabels(TBaseReport& r) {
    recordLabels_ = separatorLabels_ = 0;
    if (!presortFolder_.isEmpty()) {
        walk_ = std::make_unique<presort::SortedZipWalk>(contacts_,
                                                         presort::readPresortFile(presortFolder_));
        walk_->nextGroup();
    }
    r.SetLineHeightMethod(lhmFont);
    r.SetFont(setup_.fontName, setup_.fontSize);
    r.SetBold(setup_.fontBold);
    r.SetItalic(setup_.fontItalic);
    r.SetMarginLeft(0);
    r.SetMarginTop(0);

    const int across = setup_.nbrAcross < 1 ? 1 : setup_.nbrAcross;
    const int down = setup_.nbrDown < 1 ? 1 : setup_.nbrDown;
    LabelSlot slot;
    int copiesDone = 0;
    while (!finished() && !(stopRequested && stopRequested())) {
        if (slot.row >= down) {
            slot = {};
            r.NewPage();
        }
        r.SetOriginX(slotLeft(setup_, slot) + double(setup_.xOffset));
        r.SetOriginY(slotTop(setup_, slot) + double(setup_.yOffset));
        r.SetSectionBottom(double(setup_.lblHeight) - double(setup_.yOffset));
        r.Home();

        const bool header = walk_ && walk_->atHeader();
        if (header) {
            r.Println(QString::fromStdString(walk_->currentLine()));
            ++separatorLabels_;
        } else {
            drawRecordLabel(r, slot);
            ++copiesDone;
            ++recordLabels_;
        }

        if (++slot.column >= across) {
            slot.column = 0;
            ++slot.row;
        }
        if (!header && copiesDone < copies_) continue;

        moveOn();
        copiesDone = 0;
        if (letEventsRun) letEventsRun();
    }
}

}  // namespace qb::labels
