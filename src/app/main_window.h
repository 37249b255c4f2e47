// The main window: owner of the contact table and of the state every dialog reads, with the
// Main, Browse and Filter pages, the menus and the recently-used files.
#pragma once

#include <QMainWindow>
#include <functional>

#include "app/main_menus.h"
#include "app/preferences.h"
#include "store/contact_host.h"
#include "store/dataset.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace qb {

class BrowsePage;
class EntryKeys;
class FilterPage;
class KeyStateBar;
class MainPage;
class RecordEntry;

inline constexpr int kHelpMainPage = 1027;
inline constexpr int kHelpBrowsePage = 1005;
inline constexpr int kHelpFilterPage = 1020;
inline constexpr int kHelpContents = 1010;

class TQBMMain : public QMainWindow, public ContactHost {
    Q_OBJECT

  public:
    // programFolder: where QUILLB.INI, the program tables and the default file live.
    explicit TQBMMain(QString programFolder, QWidget* parent = nullptr);
    ~TQBMMain() override;

    // The start-up after construction: shows the window, loads the preferences, opens the
    // last file (or the default one, created when missing), applies the filter and builds
    // the recently-used menu. splashDone runs when the splash window should go.
    void startUp(const std::function<void()>& splashDone = {});

    // ---- ContactHost ------------------------------------------------------------------
    Dataset& contactTable() override { return TableQBW_; }
    QString currentFileName() const override { return CurrentFileName_; }
    QString currentFilter() const override { return CurrentFilter_; }
    QString currentOrder() const override { return CurrentOrder_; }
    bool tableEventsOn() const override { return TableEventsOn_; }
    void setTableEventsOn(bool on) override { TableEventsOn_ = on; }
    QString programFolder() const override { return programFolder_; }
    Settings settings() const override;
    QWidget* hostWindow() override { return this; }
    void suspendRecordDisplay() override;
    void resumeRecordDisplay() override;
    void releaseContactFile() override;
    void reclaimContactFile(uint32_t recno) override;
    void reapplyFilter() override;

    // ---- Files ------------------------------------------------------------------------
    // Opens a contact file; the caption shows the path whether or not it opened.
    bool OpenQBWDBF(const QString& path);
    void OnOpenQBWFile(bool opened);
    // The open file's folder, with a trailing '/'.
    QString GetDatabasePath() const;
    void OpenClick();
    void NewClick();
    // The default contact file in the program folder.
    QString defaultFileName() const;

    // ---- Recently-used files ----------------------------------------------------------
    QStringList GetMRUList() const;
    void PutMRUList(const QStringList& list);
    void UpdateMRUList(const QString& path);
    void UpdateMenuMRUList();
    QString GetMRUFile() const;

    // ---- State and pages --------------------------------------------------------------
    void SetButtons();
    void SetTopButtons();
    void ChangeToRecord();
    void ChangeToBrowse();
    void ChangeToFilter();
    void MainButtonClick();
    void BrowseButtonClick();
    void FilterButtonClick();
    void HelpButtonClick();
    int currentPage() const;
    bool editing() const { return Editing_; }
    void RecordPrevClick();
    void RecordNextClick();

    // ---- Order and filter -------------------------------------------------------------
    void SetMenuOrder(QAction* item);
    void SetCurrentOrder(const QString& tag);
    // CurrentFilter from the Filter page's boxes.
    void BuildFilterExpression();
    // Builds the filter and puts it in force with the deletion exclusion, or the exclusion
    // alone. Returns the number of matches (0 without a filter).
    int ApplyFilter();
    void qSetFilterButtonClick();
    void qClearButtonClick();

    // ---- Search and counting ----------------------------------------------------------
    void SearchButtonClick();
    void SearchMemoButtonClick();
    void SearchMemoNextButtonClick();
    // Runs the memo search in its window, from the first record or the one after the
    // current; true when it stopped on a match.
    bool FindTextInMemo(bool fromStart);
    const QString& memoSearchText() const { return MemoSearchText_; }
    bool memoFound() const { return MemoFound_; }
    void CountRecords1Click();

    // ---- Maintenance ------------------------------------------------------------------
    void mnuRebuildIndexesClick();

    // ---- Preferences ------------------------------------------------------------------
    void LoadPreferences();
    const Preferences& preferences() const { return prefs_; }
    const QString& blankDateText() const { return blankDateText_; }
    void PreferencesClick();
    void AboutClick();

    // ---- What the dialogs and record entry that plug in reach --------------------------
    MainPage* mainPage() const { return mainPage_; }
    BrowsePage* browsePage() const { return browsePage_; }
    FilterPage* filterPage() const { return filterPage_; }
    const MainMenus& menus() const { return menus_; }
    QStackedWidget* notebook() const { return Notebook_; }
    RecordEntry& recordEntry() const { return *entry_; }
    EntryKeys& entryKeys() const { return *keys_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildWindow();
    void connectCommands();
    void placeOnScreen();
    void showPage(int page);
    void reportEngineFailure(const QString& message);

    QString programFolder_;
    Dataset TableQBW_;
    Dataset TAbleCreate_;
    QString CurrentFileName_;
    QString CurrentFilter_;
    QString CurrentOrder_;
    bool Editing_ = false;
    bool TableEventsOn_ = false;
    bool FirstActivate_ = true;
    Preferences prefs_;
    QString blankDateText_;
    QStringList pendingFailures_;
    QString MemoSearchText_;
    bool MemoFound_ = false;

    MainMenus menus_;
    QStackedWidget* Notebook_ = nullptr;
    MainPage* mainPage_ = nullptr;
    BrowsePage* browsePage_ = nullptr;
    FilterPage* filterPage_ = nullptr;
    QPushButton *MainButton_ = nullptr, *BrowseButton_ = nullptr, *FilterButton_ = nullptr;
    QLabel* FilterStatus_ = nullptr;
    QPushButton *ExitButton_ = nullptr, *HelpButton_ = nullptr;
    QToolButton* MouseHelpButton_ = nullptr;
    KeyStateBar* KeyState_ = nullptr;
    // Both belong to the window as Qt children.
    RecordEntry* entry_ = nullptr;
    EntryKeys* keys_ = nullptr;
};

}  // namespace qb
