// The shared field grid and button bar.
#include "app/field_grid.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QWidget>
#include <cstring>

#include "controls/bound_edit.h"
#include "store/contact_schema.h"

namespace qb {

QGridLayout* makeFieldGrid(const std::vector<FieldSlot>& fieldSlots, QWidget* parent) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    // Wide enough for the longest label of either page.
    const int labelWidth =
        QFontMetrics(parent->font()).horizontalAdvance(QStringLiteral("State or Prov")) + 8;
    for (int pair = 0; pair < 3; ++pair) {
        grid->setColumnMinimumWidth(pair * 2, labelWidth);
        grid->setColumnStretch(pair * 2, 0);
        grid->setColumnStretch(pair * 2 + 1, pair == 2 ? 2 : 3);
    }
    for (const FieldSlot& s : fieldSlots) {
        if (s.label) {
            s.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(s.label, s.row, s.column * 2);
        }
        if (s.box) grid->addWidget(s.box, s.row, s.column * 2 + 1, 1, s.span * 2 - 1);
    }
    return grid;
}

void holdField(EnterEdit* box, const char* field) {
    if (std::strcmp(field, "ZIP") == 0) {
        box->holdWhole(QStringLiteral("00000-0000"));
        return;
    }
    for (const ContactField& f : contactFields()) {
        if (std::strcmp(f.name, field) == 0) {
            // The box's frame and margins, then the characters.
            box->setMinimumWidth(box->widthFor(QString()) +
                                 f.width * box->fontMetrics().averageCharWidth());
            return;
        }
    }
}

QLabel* noDataPanel(QWidget* parent) {
    auto* panel = new QLabel(QStringLiteral("Please Open or Create a Quillbank file"), parent);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    QFont big = panel->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    panel->setFont(big);
    return panel;
}

QGridLayout* makeButtonBar(const QList<QList<QWidget*>>& cells, QWidget*) {
    auto* bar = new QGridLayout;
    bar->setHorizontalSpacing(6);
    for (int i = 0; i < cells.size(); ++i) {
        bar->setColumnMinimumWidth(i, kButtonWidth);
        for (QWidget* w : cells[i]) {
            if (!w) continue;
            w->setFixedWidth(kButtonWidth);
            bar->addWidget(w, 0, i);
        }
    }
    bar->setColumnStretch(int(cells.size()), 1);
    return bar;
}

}  // namespace qb
