// Reading and changing settings files line by line; only the lines of changed keys are
// rewritten, everything else goes back byte for byte.
#include "store/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qb {
namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString decode(const QByteArray& bytes) {
    return QString::fromUtf8(bytes).trimmed();
}

}  // namespace

IniFile::Line IniFile::classify(const QByteArray& raw) {
    Line line;
    line.raw = raw;
    const QByteArray t = raw.trimmed();
    if (t.startsWith('[')) {
        line.kind = Line::Section;
        const qsizetype close = t.indexOf(']');
        line.name = decode(t.mid(1, close < 0 ? -1 : close - 1));
        return line;
    }
    if (t.startsWith(';') || t.startsWith('#')) return line;
    const qsizetype eq = raw.indexOf('=');
    if (eq > 0) {
        const QString key = decode(raw.left(eq));
        if (!key.isEmpty()) {
            line.kind = Line::Key;
            line.name = key;
        }
    }
    return line;
}

IniFile IniFile::load(const QString& path) {
    QFile file(path);
    if (!file.exists()) return IniFile();
    IniFile ini;
    if (file.size() > kMaxBytes || !file.open(QIODevice::ReadOnly)) {
        ini.usable_ = false;
        return ini;
    }
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes) {
        ini.usable_ = false;
        return ini;
    }
    return parse(bytes);
}

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile ini;
    if (bytes.isEmpty()) return ini;
    ini.newline_ = bytes.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    ini.finalNewline_ = bytes.endsWith('\n');
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        QByteArray raw = bytes.mid(start, end - start);
        if (raw.endsWith('\r')) raw.chop(1);
        ini.lines_.push_back(classify(raw));
        start = end + 1;
    }
    return ini;
}

int IniFile::findSection(const QString& section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Section && sameName(lines_[i].name, section)) return int(i);
    }
    return -1;
}

int IniFile::sectionEnd(int header) const {
    size_t i = size_t(header) + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Section)
        ++i;
    return int(i);
}

int IniFile::findKey(int header, const QString& key) const {
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (lines_[size_t(i)].kind == Line::Key && sameName(lines_[size_t(i)].name, key)) return i;
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const int header = findSection(section);
    if (header < 0) return std::nullopt;
    const int at = findKey(header, key);
    if (at < 0) return std::nullopt;
    const QByteArray& raw = lines_[size_t(at)].raw;
    QString v = decode(raw.mid(raw.indexOf('=') + 1));
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
        v = v.mid(1, v.size() - 2);
    }
    return v;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    // Reading takes blanks around a value and one pair of enclosing quotes off, so a value
    // that would lose either (a dial prefix ending in a blank, a name written in quotes) is
    // written inside quotes and reads back as it was.
    const bool quoted = clean.size() >= 2 && (clean.front() == u'"' || clean.front() == u'\'') &&
                        clean.back() == clean.front();
    if (clean != clean.trimmed() || quoted) clean = u'"' + clean + u'"';
    int header = findSection(section);
    if (header < 0) {
        // A blank line between sections, as hand-written files have.
        if (!lines_.empty() && !lines_.back().raw.trimmed().isEmpty()) lines_.push_back(Line());
        lines_.push_back(classify("[" + section.toUtf8() + "]"));
        header = int(lines_.size()) - 1;
    }
    const int at = findKey(header, key);
    if (at >= 0) {
        Line& line = lines_[size_t(at)];
        // Keep the key as the file spells it; only the value changes.
        line.raw = line.raw.left(line.raw.indexOf('=') + 1) + clean.toUtf8();
        return;
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    int insertAt = sectionEnd(header);
    while (insertAt - 1 > header && lines_[size_t(insertAt - 1)].raw.trimmed().isEmpty()) {
        --insertAt;
    }
    lines_.insert(lines_.begin() + insertAt, classify(key.toUtf8() + "=" + clean.toUtf8()));
}

void IniFile::removeKey(const QString& section, const QString& key) {
    const int header = findSection(section);
    if (header < 0) return;
    const int at = findKey(header, key);
    if (at >= 0) lines_.erase(lines_.begin() + at);
}

QStringList IniFile::sections() const {
    QStringList out;
    for (const Line& l : lines_) {
        if (l.kind == Line::Section) out << l.name;
    }
    return out;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList out;
    const int header = findSection(section);
    if (header < 0) return out;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (lines_[size_t(i)].kind == Line::Key) out << lines_[size_t(i)].name;
    }
    return out;
}

QByteArray IniFile::bytes() const {
    QByteArray out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i].raw;
        if (i + 1 < lines_.size() || finalNewline_) out += newline_;
    }
    return out;
}

bool IniFile::save(const QString& path) const {
    if (!usable_) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray data = bytes();
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<long long> parseProfileInteger(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    long long value = 0;
    bool any = false;
    for (; i < t.size(); ++i) {
        const int d = t[i].isDigit() && t[i].unicode() < 128 ? t[i].unicode() - '0'
                      : base == 16 && t[i].toLower() >= u'a' && t[i].toLower() <= u'f'
                          ? t[i].toLower().unicode() - 'a' + 10
                          : -1;
        if (d < 0) break;
        any = true;
        // Saturate rather than overflow; profile integers are 32 bits anyway.
        if (value < (1LL << 40)) value = value * base + d;
    }
    if (!any) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace qb
