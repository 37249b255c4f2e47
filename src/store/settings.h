// The keys of QUILLB.INI with their types and defaults, and typed reading and writing of them.
// Every window that keeps a setting goes through here, so a key's default lives in one place.
#pragma once

#include <QString>
#include <utility>

namespace qb {

struct TextSetting {
    const char* section;
    const char* key;
    const char* fallback;
};
struct BoolSetting {
    const char* section;
    const char* key;
    bool fallback;
};
struct IntSetting {
    const char* section;
    const char* key;
    int fallback;
};

namespace setting {
inline constexpr TextSetting DateSeparator{"Date", "DateSeparator", "/"};
inline constexpr TextSetting ShortDateFmt{"Date", "ShortDateFmt", "mm/dd/yyyy"};
inline constexpr TextSetting DateEditMask{"Date", "DateEditMask", "!99/99/9999;1;_"};

inline constexpr BoolSetting PlugDate{"Adding", "PlugDate", false};
inline constexpr BoolSetting PlugCityState{"Adding", "PlugCityState", false};
inline constexpr BoolSetting AutoDupCheck{"Adding", "AutoDupCheck", false};
inline constexpr TextSetting DefaultCountry{"Adding", "DefaultCountry", ""};
inline constexpr BoolSetting CarryOrg{"Adding", "CarryOrg", false};
inline constexpr BoolSetting CarrySA1{"Adding", "CarrySA1", false};
inline constexpr BoolSetting CarryCity{"Adding", "CarryCity", false};
inline constexpr BoolSetting CarryState{"Adding", "CarryState", false};
inline constexpr BoolSetting CarryZip{"Adding", "CarryZip", false};
inline constexpr BoolSetting CarryCountry{"Adding", "CarryCountry", false};

// "Item1" … "Item4": the recently-used contact files, most recent first.
inline constexpr TextSetting MruItem{"MRU", "Item", ""};
inline constexpr int kMruSize = 4;

inline constexpr TextSetting DialPrefix{"Dialing", "Prefix", ""};
inline constexpr IntSetting DialPort{"Dialing", "Port", 0};      // 0..3 for COM 1..COM 4
inline constexpr IntSetting DialMethod{"Dialing", "Method", 0};  // 0 tone, 1 pulse
// "COM1" … "COM4": the device each port choice opens; empty for /dev/ttyS0 … /dev/ttyS3.
inline constexpr TextSetting DialDevice{"Dialing", "COM", ""};

inline constexpr TextSetting UserReportTitle{"UserDefinedReport", "UserReportTitle",
                                             "Report for: "};

// These keys end with the envelope setup's description ("PRINTERMy Setup") or the envelope
// size's name; pass that as the key suffix.
inline constexpr TextSetting EnvByNamePrinter{"EnvelopeByName", "PRINTER", ""};
inline constexpr TextSetting EnvByNameBin{"EnvelopeByName", "BIN", ""};
inline constexpr TextSetting EnvByNamePaper{"EnvelopeByName", "PAPER", ""};
inline constexpr IntSetting EnvByNameOrient{"EnvelopeByName", "ORIENT", 0};
inline constexpr TextSetting EnvBySizePrinter{"EnvelopeBySize", "PRINTER", ""};
inline constexpr TextSetting EnvBySizeBin{"EnvelopeBySize", "BIN", ""};
inline constexpr TextSetting EnvBySizePaper{"EnvelopeBySize", "PAPER", ""};
}  // namespace setting

// One settings file. Each read opens the file, reads one key and closes it again; each write
// changes only its own key, so windows that keep different keys never overwrite each other.
class Settings {
  public:
    Settings() = default;
    explicit Settings(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }

    QString read(const TextSetting& s, const QString& keySuffix = {}) const;
    bool read(const BoolSetting& s, const QString& keySuffix = {}) const;
    int read(const IntSetting& s, const QString& keySuffix = {}) const;

    // False when the file could not be written.
    bool write(const TextSetting& s, const QString& value, const QString& keySuffix = {}) const;
    bool write(const BoolSetting& s, bool value, const QString& keySuffix = {}) const;
    bool write(const IntSetting& s, int value, const QString& keySuffix = {}) const;

    // Any key, for windows whose keys are composed at run time.
    QString readText(const QString& section, const QString& key, const QString& fallback) const;
    int readInteger(const QString& section, const QString& key, int fallback) const;
    bool writeText(const QString& section, const QString& key, const QString& value) const;

  private:
    QString path_;
};

}  // namespace qb
