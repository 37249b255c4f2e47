// Fixtures shared by the Qt test programs: a fresh program folder with the shipped tables,
// scripted answers for the prompts seam, and whole-file reads and writes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "controls/scripted_prompts.h"

namespace qb::test {

// A temporary program folder holding the shipped tables the build made; removed at the end.
class ProgramFolder {
  public:
    ProgramFolder();
    bool isValid() const { return dir_.isValid(); }
    // The folder with a trailing '/'.
    const QString& path() const { return folder_; }
    QString file(const QString& name) const { return folder_ + name; }

  private:
    QTemporaryDir dir_;
    QString folder_;
};

// Scripted answers for every prompt while the object lives. A prompt with no scripted answer
// is collected; verify() fails the test for it and for answers never asked for.
class PromptScript {
  public:
    PromptScript();
    ~PromptScript();
    void verify();
    ScriptedPrompts script;
    QStringList unexpected;

  private:
    std::unique_ptr<ScopedPrompts> scoped_;
};

QByteArray fileBytes(const QString& path);
bool writeFileBytes(const QString& path, const QByteArray& bytes);

}  // namespace qb::test
