// Program folders, prompt scripts and file helpers for the tests.
#include "fixtures.h"

#include <gtest/gtest.h>

#include <QFile>

#include "store/program_folder.h"

namespace qb::test {

ProgramFolder::ProgramFolder() : folder_(withTrailingSlash(dir_.path())) {
    // Folders whose tests need no shipped table are built without them; a missing copy
    // shows up in the test that opens it.
    provideShippedTables(folder_, QStringLiteral(QB_BINARY_DIR "/src/app"));
}

PromptScript::PromptScript()
    : script([this](const QString& text) { unexpected << text; }),
      scoped_(std::make_unique<ScopedPrompts>(script)) {}

PromptScript::~PromptScript() = default;

void PromptScript::verify() {
    scoped_.reset();
    EXPECT_TRUE(unexpected.isEmpty()) << unexpected.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(script.pending(), 0) << "scripted answers were never asked for";
    script.clearScript();
    unexpected.clear();
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

}  // namespace qb::test
