// Typed access to the settings file: booleans as 1 and 0, integers in decimal (hexadecimal
// accepted on reading), and the defaults for missing keys or unreadable numbers.
#include "store/settings.h"

#include "store/ini_file.h"

#include <limits>

namespace qb {
namespace {

QString keyName(const char* key, const QString& suffix) {
    return QString::fromLatin1(key) + suffix;
}

}  // namespace

QString Settings::readText(const QString& section, const QString& key,
                           const QString& fallback) const {
    return IniFile::load(path_).value(section, key).value_or(fallback);
}

int Settings::readInteger(const QString& section, const QString& key, int fallback) const {
    const auto text = IniFile::load(path_).value(section, key);
    if (!text) return fallback;
    const auto n = parseProfileInteger(*text);
    if (!n) return fallback;
    // Stored as 32 bits by the programs that write these files; keep what fits.
    if (*n > std::numeric_limits<int>::max() || *n < std::numeric_limits<int>::min()) {
        return int(quint32(quint64(*n)));
    }
    return int(*n);
}

bool Settings::writeText(const QString& section, const QString& key, const QString& value) const {
    IniFile ini = IniFile::load(path_);
    if (!ini.usable()) return false;
    ini.setValue(section, key, value);
    return ini.save(path_);
}

QString Settings::read(const TextSetting& s, const QString& keySuffix) const {
    return readText(QString::fromLatin1(s.section), keyName(s.key, keySuffix),
                    QString::fromUtf8(s.fallback));
}

bool Settings::read(const BoolSetting& s, const QString& keySuffix) const {
    return readInteger(QString::fromLatin1(s.section), keyName(s.key, keySuffix),
                       s.fallback ? 1 : 0) != 0;
}

int Settings::read(const IntSetting& s, const QString& keySuffix) const {
    return readInteger(QString::fromLatin1(s.section), keyName(s.key, keySuffix), s.fallback);
}

bool Settings::write(const TextSetting& s, const QString& value, const QString& keySuffix) const {
    return writeText(QString::fromLatin1(s.section), keyName(s.key, keySuffix), value);
}

bool Settings::write(const BoolSetting& s, bool value, const QString& keySuffix) const {
    return writeText(QString::fromLatin1(s.section), keyName(s.key, keySuffix),
                     value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool Settings::write(const IntSetting& s, int value, const QString& keySuffix) const {
    return writeText(QString::fromLatin1(s.section), keyName(s.key, keySuffix),
                     QString::number(value));
}

}  // namespace qb
