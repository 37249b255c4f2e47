// Start-up of the main window, the preferences it applies, the order and the selection.
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>

#include "app/browse_page.h"
#include "app/filter_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/mru_list.h"
#include "app/preferences_dialog.h"
#include "controls/placement.h"
#include "controls/prompts.h"
#include "store/contact_file.h"
#include "store/date_format.h"
#include "xbase/file.h"

namespace qb {

void TQBMMain::startUp(const std::function<void()>& splashDone) {
    FirstActivate_ = true;
    Notebook_->setCurrentIndex(0);
    placeOnScreen();
    mainPage_->DateFormatLabel->clear();
    show();
    QCoreApplication::processEvents();
    TableEventsOn_ = true;
    CurrentFilter_.clear();
    filterPage_->qMatchCount->clear();
    if (splashDone) splashDone();
    LoadPreferences();
    xb::settings::setErrorLevel(0);
    Dataset::setHideMarkedRecords(true);

    const QString last = GetMRUFile();
    if (!last.isEmpty()) {
        OpenQBWDBF(last);
    } else {
        const QString fallback = defaultFileName();
        if (xb::fileExists(xb::findCaseInsensitive(fallback.toStdString()))) {
            OpenQBWDBF(fallback);
        } else {
            const Notify notify = [this](const QString& t) { prompts().information(this, t); };
            if (CreateContactFile(fallback, TAbleCreate_, notify)) {
                TAbleCreate_.close();
                OpenQBWDBF(fallback);
            } else {
                OnOpenQBWFile(false);
            }
        }
    }
    if (TableQBW_.isOpen()) ApplyFilter();

    UpdateMenuMRUList();
    Notebook_->setCurrentIndex(0);
    SetTopButtons();
    SetButtons();
}

void TQBMMain::LoadPreferences() {
    prefs_ = Preferences::load(settings());
    setCurrentDateFormat(prefs_.dateFormat());
    mainPage_->Date->applyDateFormat();
    blankDateText_ = qb::blankDateText(prefs_.dateEditMask);
    mainPage_->DateFormatLabel->setText(QStringLiteral("(") + prefs_.shortDateFmt +
                                        QStringLiteral(")"));
    // Dates already on screen are shown again in the new format.
    TableQBW_.resync();
}

void TQBMMain::PreferencesClick() {
    {
        TPreferences dialog(settings(), this);
        centreOver(dialog, *this);
        dialog.exec();
    }
    LoadPreferences();
}

void TQBMMain::SetMenuOrder(QAction* item) {
    if (!item) return;
    item->setChecked(true);
    SetCurrentOrder(menus_.tagForCaption(item->text()));
}

void TQBMMain::SetCurrentOrder(const QString& tag) {
    CurrentOrder_ = tag;
    // A tag the file lacks gives record-number order, as the engine does for order 0.
    if (!tag.isEmpty()) TableQBW_.setOrderTag(tag);
}

// ---- Recently-used files --------------------------------------------------------------

QStringList TQBMMain::GetMRUList() const {
    return qb::GetMRUList(settings());
}

void TQBMMain::PutMRUList(const QStringList& list) {
    qb::PutMRUList(settings(), list);
}

QString TQBMMain::GetMRUFile() const {
    const QStringList list = GetMRUList();
    return list.isEmpty() ? QString() : list.front();
}

void TQBMMain::UpdateMRUList(const QString& path) {
    PutMRUList(promoteMruEntry(GetMRUList(), path));
    UpdateMenuMRUList();
}

void TQBMMain::UpdateMenuMRUList() {
    const QList<QAction*> actions = menus_.file->actions();
    const qsizetype start = actions.indexOf(menus_.startOfMru);
    for (qsizetype i = start + 1; i < actions.size(); ++i) {
        menus_.file->removeAction(actions[i]);
        // The entry may be the one being chosen right now: delete it later, nameless meanwhile.
        actions[i]->setObjectName(QString());
        actions[i]->deleteLater();
    }
    menus_.placeHolder = nullptr;
    const QStringList list = GetMRUList();
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list[i];
        // Doubled so that an '&' in a path is shown rather than taken as an access key.
        QAction* a = menus_.file->addAction(QString(path).replace(u'&', QStringLiteral("&&")));
        a->setObjectName(QStringLiteral("MRUItem%1").arg(i + 1));
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] {
            OpenQBWDBF(path);
            SetButtons();
        });
    }
}

}  // namespace qb
