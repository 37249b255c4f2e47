// Fuzz target for the settings file reader: arbitrary bytes are parsed, every section and
// key is read, one value is changed and the file written back and parsed again; the other
// keys must read the same afterwards.
#include <cstdint>
#include <cstdlib>

#include <QList>
#include <QStringList>

#include "store/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qb::IniFile ini = qb::IniFile::parse(bytes);
    QStringList sections = ini.sections();
    QList<QPair<QPair<QString, QString>, QString>> before;
    for (const QString& s : sections) {
        for (const QString& k : ini.keys(s)) {
            auto v = ini.value(s, k);
            if (v) before.append({{s, k}, *v});
        }
    }
    ini.setValue(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("value"));
    qb::IniFile again = qb::IniFile::parse(ini.bytes());
    if (again.value(QStringLiteral("Fuzz"), QStringLiteral("Key")) != QStringLiteral("value"))
        std::abort();
    for (const auto& entry : before) {
        if (entry.first.first.compare(QStringLiteral("Fuzz"), Qt::CaseInsensitive) == 0) continue;
        if (again.value(entry.first.first, entry.first.second) != entry.second) std::abort();
    }
    return 0;
}
