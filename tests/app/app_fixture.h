// A fresh program folder with the shipped tables for each test, a scripted responder for the
// prompts, and helpers that make contact files with chosen records or layouts.
#pragma once

#include <gtest/gtest.h>
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "controls/scripted_prompts.h"
#include "fixtures.h"
#include "store/contact_schema.h"
#include "store/program_folder.h"
#include "xbase/work_area.h"

namespace qb::test {

inline const QString kEmptyFileMessage = QStringLiteral(
    "There are no records in this file\r\nPress Alt-A to add a new record OR\r\nFrom the File "
    "menu select\r\nImport from DBF File  or\r\nImport from ASCII File");

struct Contact {
    const char* last;
    const char* first;
    const char* prefix = "";
    const char* date = "";  // yyyymmdd
};

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }
    void TearDown() override {
        window.reset();
        prompts.verify();
    }

    // The window, built but not started.
    TQBMMain& makeWindow() {
        window = std::make_unique<TQBMMain>(folder);
        return *window;
    }
    // The window after its start-up.
    TQBMMain& start() {
        makeWindow().startUp();
        return *window;
    }

    QString path(const QString& name) const { return folder + name; }

    // A contact file with all its tags and these records.
    QString contactFile(const QString& name, const std::vector<Contact>& people,
                        const char* narrowField = nullptr, int width = 0) {
        const std::string p = path(name).toStdString();
        xb::WorkArea area;
        area.createNew(p);
        for (const auto& f : contactFields()) {
            const bool odd = narrowField && std::string(f.name) == narrowField;
            area.createField(f.name, f.type, odd ? width : f.width, f.decimals);
        }
        area.createExec();
        area.use(p);
        buildContactTags(area);
        for (const Contact& c : people) {
            area.append();
            area.putText("LNAME", c.last);
            area.putText("FNAME", c.first);
            area.putText("PREFIX", c.prefix);
            if (*c.date) area.putDate("DATE", xb::jdnFromDbf(c.date));
            area.post();
        }
        area.close();
        return path(name);
    }

    void writeSettings(const QByteArray& text) {
        QFile f(path(QStringLiteral("QUILLB.INI")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    template <typename T>
    T* find(const char* name) {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* action(const char* name) { return find<QAction>(name); }
    // The File menu's entries after the StartOfMRU separator, as captions.
    QStringList mruMenu() const {
        QStringList out;
        const QList<QAction*> all = window->menus().file->actions();
        for (qsizetype i = all.indexOf(window->menus().startOfMru) + 1; i < all.size(); ++i)
            out << all[i]->text();
        return out;
    }
    QPushButton* button(const char* name) { return find<QPushButton>(name); }

    ProgramFolder home;
    QString folder = home.path();
    PromptScript prompts;
    ScriptedPrompts& script = prompts.script;
    std::unique_ptr<TQBMMain> window;
};

}  // namespace qb::test
