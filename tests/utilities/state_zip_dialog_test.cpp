// The state and ZIP check dialog and the editable grid it lists its findings in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "controls/bound_edit.h"
#include "controls/edit_grid.h"
#include "utilities/check_walk.h"
#include "utilities/state_zip_check.h"
#include "utilities_fixture.h"

using namespace qb;
using namespace qb::test;
using namespace qb::utilities;

namespace {

class StateZipDialog : public ::testing::Test {
  protected:
    void openContacts(const std::vector<Values>& records) {
        path = writeContacts(folder, records);
        contacts.open(path);
        contacts.setSelection(QString::fromLatin1(kDeletionExclusion));
    }
    QString cell(EditGrid* grid, int row, int column) {
        return grid->model()->data(grid->model()->index(row, column)).toString();
    }

    ProgramFolder folder;
    PromptScript prompts;
    QString path;
    Dataset contacts;
};

TEST_F(StateZipDialog, ListsTheQuestionableInNameOrderAndEditsThemInPlace) {
    openContacts({person("Zed", "A", "NY", "99999"), person("Fine", "B", "NY", "10001"),
                  person("Adams", "C", "N", "27500"), person("Blank", "D", "NY", "")});
    TStateZipCheck dialog(contacts, folder.path());
    dialog.show();
    dialog.CheckitButton->click();
    EXPECT_EQ(dialog.foundCount(), 2);
    EXPECT_EQ(dialog.LabelCount->text(), "Found 2 records with questionable state or zipcodes");
    EXPECT_FALSE(dialog.ResultPanel->isHidden());
    EXPECT_TRUE(dialog.SetupPanel->isHidden());
    EXPECT_FALSE(dialog.Closebutton->isHidden());
    EditGrid* grid = dialog.ResultGrid;
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(cell(grid, 0, 2), "Adams");
    EXPECT_EQ(cell(grid, 1, 2), "Zed");
    EXPECT_TRUE(QFile::exists(folder.file(kStateZipIndex)));

    // A repair typed into the grid, then saved: the file and every index agree.
    grid->setCurrentIndex(grid->model()->index(1, 0));
    ASSERT_TRUE(grid->model()->setData(grid->model()->index(1, 0), "12345", Qt::EditRole));
    ASSERT_TRUE(grid->model()->setData(grid->model()->index(1, 2), "Aaron", Qt::EditRole));
    EXPECT_TRUE(contacts.editing());
    dialog.SaveQButton->click();
    EXPECT_FALSE(contacts.editing());
    EXPECT_EQ(cell(grid, 0, 2), "Aaron");  // moved to its place in the list
    EXPECT_EQ(contacts.area().checkIndexes(), "");
    // Undo forgets an edit; a character the file cannot hold is refused.
    grid->model()->setData(grid->model()->index(0, 3), "Changed", Qt::EditRole);
    dialog.CancelQButton->click();
    EXPECT_EQ(cell(grid, 0, 3), "A");
    prompts.script.acknowledge(unholdableMessage(QChar(0x4E2D)));
    EXPECT_FALSE(
        grid->model()->setData(grid->model()->index(0, 3), QString(QChar(0x4E2D)), Qt::EditRole));
    EXPECT_FALSE(contacts.editing());
    dialog.Closebutton->click();
    prompts.verify();
}

TEST_F(StateZipDialog, AMissingStateTableIsToldAndTheSetupComesBack) {
    openContacts({person("Zed", "A", "NY", "99999")});
    QFile::remove(folder.file("QBMSZCK.DBF"));
    TStateZipCheck dialog(contacts, folder.path());
    dialog.show();
    prompts.script.acknowledge("Unable to open QBMSZCK.DBF");
    dialog.CheckitButton->click();
    EXPECT_FALSE(dialog.SetupPanel->isHidden());
    EXPECT_FALSE(dialog.Closebutton->isHidden());
    prompts.script.acknowledge("Unable to open QBMSZCK.DBF");
    dialog.EditStateProvButton->click();
    EXPECT_EQ(dialog.EditStateProvButton->text(), "Edit State/Province File");
    prompts.verify();
}

TEST_F(StateZipDialog, AnEngineFailureEndsTheRunWithAMessageAndTheFileIntact) {
    openContacts({person("Zed", "A", "NY", "99999")});
    // The check index cannot be made where a folder of its name stands.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QString::fromLatin1(kStateZipIndex)));
    TStateZipCheck dialog(contacts, folder.path());
    dialog.show();
    prompts.script.acknowledge();
    dialog.CheckitButton->click();
    EXPECT_FALSE(dialog.SetupPanel->isHidden());
    EXPECT_FALSE(dialog.Closebutton->isHidden());
    EXPECT_FALSE(dialog.busy());
    EXPECT_EQ(contacts.area().checkIndexes(), "");
    EXPECT_EQ(contacts.selectionCount(), 1u);
    prompts.verify();
}

TEST_F(StateZipDialog, TheStateTableIsEditedInTagOrder) {
    openContacts({person("Zed", "A", "NY", "99999")});
    TStateZipCheck dialog(contacts, folder.path());
    dialog.show();
    dialog.EditStateProvButton->click();
    EXPECT_EQ(dialog.EditStateProvButton->text(), "Stop Editing");
    EXPECT_FALSE(dialog.StateProvPanel->isHidden());
    EXPECT_TRUE(dialog.SetupPanel->isHidden());
    EditGrid* grid = dialog.StateProvGrid;
    const int rows = grid->model()->rowCount();
    ASSERT_GT(rows, 50);
    EXPECT_EQ(cell(grid, 0, 1), "AA");
    // Insert adds a blank row, first in abbreviation order, and Delete takes it away.
    QKeyEvent insert(QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier);
    QApplication::sendEvent(grid, &insert);
    EXPECT_EQ(grid->model()->rowCount(), rows + 1);
    EXPECT_EQ(cell(grid, 0, 1), "");
    EXPECT_EQ(dialog.stateTable().position(), 0u);
    prompts.script.answerYes("Delete record?");
    dialog.DeleteSZButton->click();
    EXPECT_EQ(grid->model()->rowCount(), rows);
    // Widening New York's range makes the check pass Zed.
    int ny = 0;
    while (cell(grid, ny, 1) != "NY")
        ++ny;
    grid->setCurrentIndex(grid->model()->index(ny, 3));
    grid->model()->setData(grid->model()->index(ny, 3), "99999", Qt::EditRole);
    dialog.SaveSZButton->click();
    dialog.EditStateProvButton->click();
    EXPECT_FALSE(dialog.SetupPanel->isHidden());
    dialog.CheckitButton->click();
    EXPECT_EQ(dialog.foundCount(), 0);
    EXPECT_EQ(dialog.ResultGrid->model()->rowCount(), 0);
    prompts.verify();
}

}  // namespace
