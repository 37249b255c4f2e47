// The check commands hand the file over and take it back, and leave no check index behind.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>

#include "fake_host.h"
#include "modal_guard.h"
#include "store/exclusive_use.h"
#include "utilities/check_commands.h"
#include "utilities/check_walk.h"
#include "utilities/dup_check.h"
#include "utilities/state_zip_check.h"
#include "utilities_fixture.h"

using namespace qb;
using namespace qb::test;
using namespace qb::utilities;

namespace {

class CheckCommands : public ::testing::Test {
  protected:
    CheckCommands() : host(folder.path()) {
        const QString path = writeContacts(
            folder, {person("Zed", "A", "NY", "99999"), person("Zed", "A", "NY", "99999")});
        host.table.open(path);
        host.table.go(2);
    }
    ProgramFolder folder;
    PromptScript prompts;
    FakeHost host;
};

TEST_F(CheckCommands, TheCheckIndexIsGoneAndTheRecordBackAfterClose) {
    whenModal<TStateZipCheck>([&](TStateZipCheck& d) {
        d.CheckitButton->click();
        EXPECT_EQ(d.foundCount(), 2);
        EXPECT_TRUE(QFile::exists(folder.file(kStateZipIndex)));
        d.Closebutton->click();
    });
    CheckState1Click(host);
    EXPECT_FALSE(QFile::exists(folder.file(kStateZipIndex)));
    EXPECT_TRUE(host.table.isOpen());
    EXPECT_EQ(host.table.recNo(), 2u);
    EXPECT_TRUE(host.eventsOn);

    whenModal<TDupCheck>([&](TDupCheck& d) {
        d.CheckitButton->click();
        EXPECT_EQ(d.foundCount(), 1);
        EXPECT_TRUE(QFile::exists(folder.file(kDupIndex)));
        d.CloseButton->click();
    });
    DuplicatesReport1Click(host);
    EXPECT_FALSE(QFile::exists(folder.file(kDupIndex)));
    EXPECT_TRUE(host.table.isOpen());
    prompts.verify();
}

TEST_F(CheckCommands, AFileHeldElsewhereIsToldAndNoDialogOpens) {
    const QString path = host.table.path();
    for (auto command : {&CheckState1Click, &DuplicatesReport1Click}) {
        host.table.close();
        host.table.open(path, xb::UseMode::Shared);
        xb::WorkArea holder;
        holder.use(path.toStdString(), xb::UseMode::Shared);
        // Let go once told, so that the file can be taken back.
        prompts.script.acknowledge(QString::fromLatin1(kExclusiveOpenFailed)).whenShown([&] {
            holder.close();
        });
        command(host);
        EXPECT_TRUE(host.table.isOpen());
    }
    prompts.verify();
}

}  // namespace
