// The Rebuild Indexes command around its dialog.
#include <QAction>

#include "app/main_window.h"
#include "app/reindex_dialog.h"
#include "controls/placement.h"
#include "controls/prompts.h"

namespace qb {

void TQBMMain::mnuRebuildIndexesClick() {
    if (!TableQBW_.isOpen()) {
        prompts().information(this, QStringLiteral("You need to have a QBW file open first"));
        return;
    }
    TableQBW_.disableControls();
    {
        TQBReindex dialog(*this, this);
        centreOver(dialog, *this);
        dialog.exec();
    }
    TableQBW_.enableControls();
    SetMenuOrder(menus_.orderItems.front().action);
    SetButtons();
}

}  // namespace qb
