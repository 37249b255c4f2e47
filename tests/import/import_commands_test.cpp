// The import commands of the File menu: their refusals, and the file given back afterwards.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>

#include "fake_host.h"
#include "fixtures.h"
#include "import/ascii_import_dialog.h"
#include "import/import_commands.h"
#include "modal_guard.h"

namespace qb::import {
namespace {

TEST(ImportCommands, NeedAnOpenFile) {
    QTemporaryDir dir;
    test::FakeHost host(dir.path() + '/');
    test::PromptScript script;
    script.script.acknowledge(kNoFileOpen);
    mnuImportASCIIClick(host);
    script.verify();
}

TEST(ImportCommands, TheWindowWorksOnTheFileAndTheHostGetsItBack) {
    QTemporaryDir dir;
    test::FakeHost host(dir.path() + '/');
    const QString path = dir.filePath("LIST.DBF");
    ASSERT_TRUE(CreateContactFile(path, host.table, [](const QString&) {}));
    test::whenModal<TAsciiImport>([](TAsciiImport& w) {
        EXPECT_TRUE(w.SelectButton->isEnabled());
        EXPECT_FALSE(w.ImportButton->isEnabled());
        w.CancelButton->click();
    });
    mnuImportASCIIClick(host);
    EXPECT_TRUE(host.table.isOpen());
    EXPECT_EQ(host.table.path(), path);
}

}  // namespace
}  // namespace qb::import
