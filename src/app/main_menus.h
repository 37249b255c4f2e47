// The main window's menus: captions, access keys and object names of every command, and the
// Order menu's table of orders.
#pragma once

#include <QString>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QObject;

namespace qb {

struct OrderItem {
    QAction* action;
    const char* compared;  // the caption without '&', upper case
    const char* tag;
};

struct MainMenus {
    QMenu* file = nullptr;
    QAction *open, *newFile, *preferences, *importDbf, *importAscii, *rebuildIndexes, *clone, *exit,
        *startOfMru, *placeHolder;

    QMenu* order = nullptr;
    QActionGroup* orderGroup = nullptr;
    std::vector<OrderItem> orderItems;

    QMenu* utilities = nullptr;
    QAction *countRecords, *countZipCodes, *checkStateZip, *checkDuplicates, *convertUpper,
        *deleteRecords, *copyOut, *searchReplace;

    QAction *labels, *envelopes, *letters, *reports;

    QMenu* help = nullptr;
    QAction *contents, *about;

    // Builds every menu on the bar; the actions belong to the bar's window.
    static MainMenus build(QMenuBar* bar);
    // The tag for an Order item's caption ("&Last Name" → LNAME); empty when none matches.
    QString tagForCaption(const QString& caption) const;
    QAction* orderAction(const QString& tag) const;
};

}  // namespace qb
