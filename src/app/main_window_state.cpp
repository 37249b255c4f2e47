// What the main window shows and enables, its pages and top buttons, and record stepping.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

#include "app/browse_page.h"
#include "app/button_rules.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "controls/beep.h"
#include "controls/prompts.h"

namespace qb {
namespace {

const char* kTeal = "#008080";
const char* kPurple = "#800080";

void showAndEnable(QWidget* w, bool on) {
    w->setVisible(on);
    w->setEnabled(on);
}

}  // namespace

void TQBMMain::SetButtons() {
    const bool fileOpen = TableQBW_.isOpen();
    Editing_ = TableQBW_.editing();
    const ButtonRules r =
        computeButtonRules(fileOpen, Editing_, TableQBW_.onRecord(), !CurrentFilter_.isEmpty());
    MainPage& m = *mainPage_;

    menus_.rebuildIndexes->setEnabled(r.fileCommands);
    menus_.importAscii->setEnabled(r.fileCommands);
    menus_.importDbf->setEnabled(r.fileCommands);

    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    showAndEnable(m.AddButton, r.addButton);
    showAndEnable(m.EditButton, r.editAndDelete);
    showAndEnable(m.DeleteButton, r.editAndDelete);
    for (QWidget* w : {static_cast<QWidget*>(m.SearchButton), static_cast<QWidget*>(m.RecordPrev),
                       static_cast<QWidget*>(m.RecordNext), static_cast<QWidget*>(m.DialButton),
                       static_cast<QWidget*>(m.SearchMemoButton),
                       static_cast<QWidget*>(browsePage_->RecordPrev2),
                       static_cast<QWidget*>(browsePage_->RecordNext2)}) {
        w->setVisible(r.recordButtons);
    }
    m.SaveButton->setVisible(r.saveAndCancel);
    m.CancelButton->setVisible(r.saveAndCancel);
    for (QAction* a : {menus_.clone, menus_.order->menuAction(), menus_.utilities->menuAction(),
                       menus_.labels, menus_.envelopes, menus_.letters, menus_.reports}) {
        a->setEnabled(r.recordCommands);
    }
    menus_.file->menuAction()->setEnabled(r.fileMenu);
    if (r.hideFindNext) m.SearchMemoNextButton->hide();
    FilterStatus_->setVisible(r.filterStatus);

    m.SaveButton->setText(r.saveCaption);
    m.CancelButton->setText(r.cancelCaption);
    m.AddButton->setText(r.addCaption);
    m.EditButton->setText(r.editCaption);
    m.DeleteButton->setText(r.deleteCaption);
    m.SearchButton->setText(r.searchCaption);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    if (r.focusToFirstBox && !m.isEntryBox(QApplication::focusWidget())) m.Last->setFocus();
}

void TQBMMain::SetTopButtons() {
    const int page = currentPage();
    const QList<QPushButton*> buttons = {MainButton_, BrowseButton_, FilterButton_};
    for (int i = 0; i < buttons.size(); ++i) {
        buttons[i]->setStyleSheet(QStringLiteral("QPushButton { color: %1; font-weight: bold; }")
                                      .arg(QLatin1String(i == page ? kTeal : kPurple)));
    }
}

int TQBMMain::currentPage() const {
    return Notebook_->currentIndex();
}

void TQBMMain::showPage(int page) {
    if (Notebook_->currentIndex() != page) Notebook_->setCurrentIndex(page);
}

void TQBMMain::ChangeToRecord() {
    showPage(0);
}

void TQBMMain::ChangeToBrowse() {
    showPage(1);
}

void TQBMMain::ChangeToFilter() {
    showPage(2);
}

void TQBMMain::MainButtonClick() {
    if (Editing_) {
        beep();
        return;
    }
    ChangeToRecord();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    SetButtons();
    SetTopButtons();
}

void TQBMMain::BrowseButtonClick() {
    if (Editing_) {
        beep();
        return;
    }
    ChangeToBrowse();
    SetTopButtons();
    browsePage_->DBGrid1->setFocus();
}

void TQBMMain::FilterButtonClick() {
    if (Editing_) {
        beep();
        return;
    }
    ChangeToFilter();
    SetTopButtons();
}

void TQBMMain::HelpButtonClick() {
    static const int byPage[] = {kHelpMainPage, kHelpBrowsePage, kHelpFilterPage};
    prompts().showHelp(this, byPage[qBound(0, currentPage(), 2)]);
}

void TQBMMain::RecordPrevClick() {
    if (!TableQBW_.onRecord()) return;
    TableQBW_.prior();
    if (TableQBW_.bof()) beep();
}

void TQBMMain::RecordNextClick() {
    if (!TableQBW_.onRecord()) return;
    TableQBW_.next();
    if (TableQBW_.eof()) beep();
}

}  // namespace qb
