// The main window's file lifecycle: opening a contact file, the Open and New commands, and
// what the window shows with and without a file.
#include <QCoreApplication>
#include <QFileInfo>

#include "app/filter_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "controls/prompts.h"
#include "store/contact_file.h"
#include "store/program_folder.h"
#include "xbase/file.h"

namespace qb {
namespace {

bool hasDbfExtension(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("DBF"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString TQBMMain::defaultFileName() const {
    return programFolder_ + QStringLiteral("QUILLB1.DBF");
}

QString TQBMMain::GetDatabasePath() const {
    return TableQBW_.isOpen() ? folderOf(TableQBW_.path()) : QString();
}

bool TQBMMain::OpenQBWDBF(const QString& path) {
    if (path.isEmpty()) return false;
    const Notify notify = [this](const QString& text) { prompts().information(this, text); };
    const bool opened = OpenContactFile(path, TableQBW_, notify);
    OnOpenQBWFile(TableQBW_.isOpen());
    if (opened) {
        UpdateMRUList(path);
        CurrentFileName_ = path;
    } else {
        CurrentFileName_.clear();
    }
    setWindowTitle(QLatin1String(kProductTitle) + QStringLiteral(" - ") + path);
    // A memo search belongs to the file it ran in.
    MemoFound_ = false;
    mainPage_->SearchMemoNextButton->hide();
    return opened;
}

void TQBMMain::OnOpenQBWFile(bool opened) {
    // A count or filter of the file shown before says nothing about this one.
    filterPage_->qMatchCount->clear();
    if (!opened) {
        TableQBW_.close();
        mainPage_->showNoData(true);
        filterPage_->showNoData(true);
        CurrentOrder_.clear();
        CurrentFilter_.clear();
        FilterStatus_->hide();
        return;
    }
    mainPage_->showNoData(false);
    filterPage_->showNoData(false);
    SetMenuOrder(menus_.orderItems.front().action);
    QCoreApplication::processEvents();
    if (TableQBW_.recCount() == 0) {
        prompts().information(this, QStringLiteral("There are no records in this file\r\n"
                                                   "Press Alt-A to add a new record OR\r\n"
                                                   "From the File menu select\r\n"
                                                   "Import from DBF File  or\r\n"
                                                   "Import from ASCII File"));
    }
}

void TQBMMain::OpenClick() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Open");
    request.directory = programFolder_;
    request.filter = QStringLiteral("Quillbank Files|*.dbf");
    request.mustExist = true;
    if (const auto chosen = prompts().openFile(this, request)) {
        if (!hasDbfExtension(*chosen)) {
            prompts().information(this, QStringLiteral("Must be a DBF file"));
        } else {
            OpenQBWDBF(*chosen);
        }
    }
    SetButtons();
}

void TQBMMain::NewClick() {
    FileDialogRequest request;
    request.caption = QStringLiteral("New");
    request.directory = programFolder_;
    request.fileName = QStringLiteral("QUILLB1.DBF");
    request.filter = QStringLiteral("Quillbank Files|*.DBF");
    request.defaultSuffix = QStringLiteral("DBF");
    request.overwritePrompt = true;
    request.mustExist = false;
    if (const auto chosen = prompts().saveFile(this, request)) {
        const QString path = *chosen;
        if (!hasDbfExtension(path)) {
            prompts().information(this, QStringLiteral("Must have a .DBF extension"));
        } else if (xb::fileExists(xb::findCaseInsensitive(path.toStdString()))) {
            prompts().information(
                this, QStringLiteral("That file already exists.Please select another name"));
        } else {
            const Notify notify = [this](const QString& t) { prompts().information(this, t); };
            if (CreateContactFile(path, TAbleCreate_, notify)) {
                TAbleCreate_.close();
                TableQBW_.close();
                OpenQBWDBF(path);
            }
        }
    }
    SetButtons();
}

}  // namespace qb
