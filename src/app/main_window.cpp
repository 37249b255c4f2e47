// Building the main window: the top buttons, the three pages, the bottom buttons and the
// menus, and wiring the commands that this window carries out itself.
#include "app/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/browse_page.h"
#include "app/entry_keys.h"
#include "app/filter_page.h"
#include "app/main_page.h"
#include "app/record_entry.h"
#include "app/splash_window.h"
#include "app/window_keys.h"
#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/key_state_bar.h"
#include "controls/prompts.h"
#include "dialer/dial_command.h"
#include "envelopes/envelopes_command.h"
#include "import/import_commands.h"
#include "labels/labels_command.h"
#include "letters/letters_command.h"
#include "presort/zip_count_command.h"
#include "reports/reports_command.h"
#include "utilities/bulk_commands.h"
#include "utilities/check_commands.h"
#include "utilities/copy_out_dialog.h"

namespace qb {
namespace {

// The filter image: a small funnel.
QPixmap funnel() {
    QPixmap p(22, 22);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(2, 3);
    path.lineTo(20, 3);
    path.lineTo(13, 11);
    path.lineTo(13, 19);
    path.lineTo(9, 17);
    path.lineTo(9, 11);
    path.closeSubpath();
    painter.fillPath(path, QColor(0x80, 0x00, 0x80));
    return p;
}

QPushButton* topButton(const char* name, const QString& caption, const QString& help,
                       QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(80);
    return b;
}

}  // namespace

TQBMMain::TQBMMain(QString programFolder, QWidget* parent)
    : QMainWindow(parent), programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("TQBMMain"));
    setWindowTitle(QLatin1String(kProductTitle));
    TableQBW_.setObjectName(QStringLiteral("TableQBW"));
    TAbleCreate_.setObjectName(QStringLiteral("TAbleCreate"));
    buildWindow();
    entry_ = new RecordEntry(*this);
    keys_ = new EntryKeys(*this, *entry_);
    connectCommands();
    new PageAccessKeys(this, Notebook_);
    connect(keys_, &EntryKeys::insertModeChanged, KeyState_, &KeyStateBar::setInsertMode);
    installHelpKey();
}

TQBMMain::~TQBMMain() = default;

void TQBMMain::suspendRecordDisplay() {
    TableQBW_.disableControls();
    TableEventsOn_ = false;
}

void TQBMMain::resumeRecordDisplay() {
    TableQBW_.enableControls();
    TableEventsOn_ = true;
    SetButtons();
}

void TQBMMain::releaseContactFile() {
    TableQBW_.disableControls();
    TableQBW_.close();
}

void TQBMMain::reclaimContactFile(uint32_t recno) {
    TableQBW_.enableControls();
    // The file name is kept while the table is closed; a failed reopen says why and leaves
    // the window without a file, as any failed open does. The table keeps its selection
    // across the close, so the filter is in force again.
    if (OpenQBWDBF(CurrentFileName_)) {
        // A record the utility removed, or one the filter now leaves out, gives the first.
        if (recno != 0) TableQBW_.go(recno);
        if (TableQBW_.eof()) TableQBW_.first();
    }
    showPage(0);
    SetButtons();
}

void TQBMMain::reapplyFilter() {
    if (!TableQBW_.isOpen()) return;
    ApplyFilter();
    TableQBW_.first();
    SetButtons();
}

Settings TQBMMain::settings() const {
    return Settings(programFolder_ + QStringLiteral("QUILLB.INI"));
}

void TQBMMain::buildWindow() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    tileBackground(central);
    setCentralWidget(central);

    MainButton_ = topButton("MainButton", QStringLiteral("Main"),
                            QStringLiteral("Shows one contact at a time."), central);
    BrowseButton_ = topButton("BrowseButton", QStringLiteral("Browse"),
                              QStringLiteral("Shows the contacts in a table."), central);
    FilterButton_ =
        topButton("FilterButton", QStringLiteral("Filter"),
                  QStringLiteral("Chooses which contacts are shown and printed."), central);
    FilterStatus_ = new QLabel(central);
    FilterStatus_->setObjectName(QStringLiteral("FilterStatus"));
    FilterStatus_->setPixmap(funnel());
    FilterStatus_->setToolTip(QStringLiteral("A filter is in force"));
    FilterStatus_->setWhatsThis(QStringLiteral("Shown while a filter limits the contacts."));
    FilterStatus_->hide();
    auto* top = new QHBoxLayout;
    top->addWidget(MainButton_);
    top->addWidget(BrowseButton_);
    top->addWidget(FilterButton_);
    top->addWidget(FilterStatus_);
    top->addStretch();

    Notebook_ = new QStackedWidget(central);
    Notebook_->setObjectName(QStringLiteral("Notebook"));
    mainPage_ = new MainPage(&TableQBW_, Notebook_);
    browsePage_ = new BrowsePage(&TableQBW_, Notebook_);
    filterPage_ = new FilterPage(Notebook_);
    Notebook_->addWidget(mainPage_);
    Notebook_->addWidget(browsePage_);
    Notebook_->addWidget(filterPage_);

    ExitButton_ = new QPushButton(QStringLiteral("Exit"), central);
    ExitButton_->setObjectName(QStringLiteral("ExitButton"));
    ExitButton_->setWhatsThis(QStringLiteral("Ends the program, after asking."));
    HelpButton_ = new QPushButton(QStringLiteral("Help"), central);
    HelpButton_->setObjectName(QStringLiteral("HelpButton"));
    HelpButton_->setWhatsThis(QStringLiteral("Help about the page shown."));
    MouseHelpButton_ = new QToolButton(central);
    MouseHelpButton_->setObjectName(QStringLiteral("MouseHelpButton"));
    MouseHelpButton_->setText(QStringLiteral("?"));
    MouseHelpButton_->setWhatsThis(
        QStringLiteral("Click this, then a control, to learn what "
                       "the control is for."));
    makePointerHelpButton(MouseHelpButton_);
    for (QWidget* w : {static_cast<QWidget*>(ExitButton_), static_cast<QWidget*>(HelpButton_)})
        w->setFocusPolicy(Qt::TabFocus);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ExitButton_);
    bottom->addStretch();
    bottom->addWidget(HelpButton_);
    bottom->addWidget(MouseHelpButton_);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(Notebook_, 1);
    layout->addLayout(bottom);

    KeyState_ = new KeyStateBar(this);
    setStatusBar(KeyState_);

    menus_ = MainMenus::build(menuBar());
    SetTopButtons();
}

void TQBMMain::connectCommands() {
    connect(&TableQBW_, &Dataset::failed, this, &TQBMMain::reportEngineFailure);
    // What the buttons offer follows the table's state through the record entry reactions.

    connect(MainButton_, &QPushButton::clicked, this, &TQBMMain::MainButtonClick);
    connect(BrowseButton_, &QPushButton::clicked, this, &TQBMMain::BrowseButtonClick);
    connect(FilterButton_, &QPushButton::clicked, this, &TQBMMain::FilterButtonClick);
    connect(ExitButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(HelpButton_, &QPushButton::clicked, this, &TQBMMain::HelpButtonClick);

    connect(mainPage_->RecordPrev, &QPushButton::clicked, this, &TQBMMain::RecordPrevClick);
    connect(mainPage_->RecordNext, &QPushButton::clicked, this, &TQBMMain::RecordNextClick);
    connect(browsePage_->RecordPrev2, &QPushButton::clicked, this, &TQBMMain::RecordPrevClick);
    connect(browsePage_->RecordNext2, &QPushButton::clicked, this, &TQBMMain::RecordNextClick);
    connect(browsePage_->DBGrid1, &BrowseGrid::leaveRequested, this, &TQBMMain::MainButtonClick);
    // A record removed in the grid changes what the buttons offer.
    connect(&TableQBW_, &Dataset::rowsChanged, this, &TQBMMain::SetButtons);

    connect(menus_.open, &QAction::triggered, this, &TQBMMain::OpenClick);
    connect(menus_.newFile, &QAction::triggered, this, &TQBMMain::NewClick);
    connect(menus_.preferences, &QAction::triggered, this, &TQBMMain::PreferencesClick);
    connect(menus_.exit, &QAction::triggered, this, &QWidget::close);
    for (const OrderItem& o : menus_.orderItems) {
        QAction* action = o.action;
        connect(action, &QAction::triggered, this, [this, action] { SetMenuOrder(action); });
    }
    connect(mainPage_->SearchButton, &QPushButton::clicked, this, &TQBMMain::SearchButtonClick);
    connect(mainPage_->SearchMemoButton, &QPushButton::clicked, this,
            &TQBMMain::SearchMemoButtonClick);
    connect(mainPage_->SearchMemoNextButton, &QPushButton::clicked, this,
            &TQBMMain::SearchMemoNextButtonClick);
    connect(menus_.countRecords, &QAction::triggered, this, &TQBMMain::CountRecords1Click);
    connect(filterPage_->qSetFilterButton, &QPushButton::clicked, this,
            &TQBMMain::qSetFilterButtonClick);
    connect(filterPage_->qClearButton, &QPushButton::clicked, this, &TQBMMain::qClearButtonClick);
    connect(menus_.rebuildIndexes, &QAction::triggered, this, &TQBMMain::mnuRebuildIndexesClick);
    connect(menus_.contents, &QAction::triggered, this,
            [this] { prompts().showHelp(this, kHelpContents); });
    connect(menus_.about, &QAction::triggered, this, &TQBMMain::AboutClick);
    connect(menus_.labels, &QAction::triggered, this, [this] { labels::LabelsClick(*this); });
    connect(menus_.reports, &QAction::triggered, this, [this] { reports::ReportsClick(*this); });
    connect(menus_.countZipCodes, &QAction::triggered, this,
            [this] { presort::CountZipCodesClick(*this); });
    connect(menus_.letters, &QAction::triggered, this, [this] { letters::LettersClick(*this); });
    connect(mainPage_->DialButton, &QPushButton::clicked, this,
            [this] { dialer::DialButtonClick(*this); });
    connect(menus_.checkStateZip, &QAction::triggered, this,
            [this] { utilities::CheckState1Click(*this); });
    connect(menus_.checkDuplicates, &QAction::triggered, this,
            [this] { utilities::DuplicatesReport1Click(*this); });
    connect(menus_.convertUpper, &QAction::triggered, this,
            [this] { utilities::CaseConversion1Click(*this); });
    connect(menus_.searchReplace, &QAction::triggered, this,
            [this] { utilities::SearchReplaceFieldValues1Click(*this); });
    connect(menus_.deleteRecords, &QAction::triggered, this,
            [this] { utilities::DeleteRecords1Click(*this); });
    connect(menus_.envelopes, &QAction::triggered, this,
            [this] { envelopes::EnvelopesClick(*this); });
    connect(menus_.copyOut, &QAction::triggered, this,
            [this] { utilities::CopyRecordsOut1Click(*this); });
    connect(menus_.importAscii, &QAction::triggered, this,
            [this] { import::mnuImportASCIIClick(*this); });
    connect(menus_.importDbf, &QAction::triggered, this,
            [this] { import::mnuImportDBFClick(*this); });
}

void TQBMMain::reportEngineFailure(const QString& message) {
    // A failure can come from inside a paint (the grid reading rows), where a modal box must
    // not open; it is shown once the event loop is free, and a repeat while waiting is dropped.
    if (pendingFailures_.contains(message)) return;
    pendingFailures_ << message;
    if (pendingFailures_.size() > 1) return;
    QTimer::singleShot(0, this, [this] {
        while (!pendingFailures_.isEmpty()) {
            prompts().information(this, pendingFailures_.front());
            pendingFailures_.pop_front();
        }
    });
}

void TQBMMain::AboutClick() {
    TSplash about(true, this);
    about.exec();
}

void TQBMMain::placeOnScreen() {
    // Larger only when the font in use needs more room for the boxes to show whole values.
    resize(QSize(610, 450).expandedTo(minimumSizeHint()));
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    // On the smallest screens the window takes the top left corner, as it nearly fills them.
    if (area.width() == 640 && area.height() == 480) {
        move(area.topLeft());
    } else {
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TQBMMain::closeEvent(QCloseEvent* event) {
    // A record being edited is the user's work: before anything else it is kept or dropped
    // on their word, and Cancel stays with it.
    if (TableQBW_.editing()) {
        switch (prompts().confirmOrCancel(this, QStringLiteral("Confirm"),
                                          QStringLiteral("Save changes?"))) {
            case Prompts::Answer::Yes:
                entry_->SaveButtonClick();
                break;
            case Prompts::Answer::No:
                entry_->CancelButtonClick();
                break;
            case Prompts::Answer::Cancel:
                break;
        }
        // Still editing: the user stayed, or the record could not be saved and waits to be
        // put right.
        if (TableQBW_.editing()) {
            event->ignore();
            return;
        }
    }
    if (!prompts().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Exit now?"))) {
        event->ignore();
        return;
    }
    event->accept();
}

void TQBMMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!isMaximized() || !screen()) return;
    // A maximised window never reaches past the usable part of the screen.
    const QRect usable = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.height() > usable.height()) {
        setGeometry(geometry().x(), usable.top(), geometry().width(),
                    usable.height() - (frame.height() - geometry().height()));
    } else if (frame.width() > usable.width()) {
        setGeometry(usable.left(), geometry().y(),
                    usable.width() - (frame.width() - geometry().width()), geometry().height());
    }
}

void TQBMMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    SetButtons();
    if (FirstActivate_) {
        // The Filter page's boxes share the Main page's grid (field_grid.h), so they already
        // lie over their twins; what is left of the first activation is the help popups.
        installWhatsThisMenus(this);
        FirstActivate_ = false;
    }
}

}  // namespace qb
