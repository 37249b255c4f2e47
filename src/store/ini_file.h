// The settings file's text format: sections of key=value lines, read and changed the way
// private profile files are, so hand edits, comments and unknown keys survive every save.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace qb {

class IniFile {
  public:
    // Files larger than this are not read (and not overwritten): a settings file is a few
    // hundred bytes, and anything this size is not one.
    static constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

    IniFile() = default;
    // Reads the file; a missing or unreadable file gives an empty one (see usable()).
    static IniFile load(const QString& path);
    static IniFile parse(const QByteArray& bytes);

    // False when the file exists but could not be read or is too large; writing it back
    // would destroy what the user had, so save() refuses.
    bool usable() const { return usable_; }

    // The value of the first matching key in the first matching section (both compared
    // without regard to letter case), blanks around it removed and one pair of enclosing
    // quotes taken off. Nothing when the section or key is absent.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Changes the key's value in place, or adds the key at the end of its section, or adds
    // the section at the end of the file. Line breaks in the value become blanks.
    void setValue(const QString& section, const QString& key, const QString& value);
    void removeKey(const QString& section, const QString& key);
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    QByteArray bytes() const;
    // Writes the whole file in one step (a new file is renamed over the old one).
    bool save(const QString& path) const;

  private:
    struct Line {
        QByteArray raw;  // as read, without the line ending
        enum Kind { Other, Section, Key } kind = Other;
        QString name;  // section name or key name
    };

    static Line classify(const QByteArray& raw);
    // Index of the section's header line, or -1.
    int findSection(const QString& section) const;
    // The line after the section's last line.
    int sectionEnd(int header) const;
    int findKey(int header, const QString& key) const;

    std::vector<Line> lines_;
    QByteArray newline_ = "\n";
    bool finalNewline_ = true;
    bool usable_ = true;
};

// Reads an integer as private profile files store them: decimal, or hexadecimal after 0x;
// digits after the number are ignored. Nothing when no number starts the text.
std::optional<long long> parseProfileInteger(const QString& text);

}  // namespace qb
