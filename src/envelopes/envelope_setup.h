// An envelope setup: the envelope size, the feed method and the return, message and delivery
// blocks with their places and fonts, as one record; read from and written to QBMESU.DBF.
#pragma once

#include <QString>
#include <array>

#include "labels/barcode_kind.h"
#include "labels/label_lines.h"
#include "xbase/work_area.h"

namespace qb::envelopes {

inline constexpr const char* kEnvelopeSetupFileName = "QBMESU.DBF";
inline constexpr const char* kEnvelopeSizeFileName = "QBMENVS.DBF";

// Text members never hold more than their field's width.
inline constexpr int kDescriptWidth = 50;
inline constexpr int kEnvNameWidth = 20;
inline constexpr int kFontNameWidth = 50;
inline constexpr int kReturnLineWidth = 40;
inline constexpr int kReturnLineCount = 5;
inline constexpr int kMessageWidth = 50;

struct BlockFont {
    QString name = QStringLiteral("Arial");
    int size = 10;
    bool bold = false;
    bool italic = false;

    bool operator==(const BlockFont&) const = default;
};

struct EnvelopeSetup {
    QString descript = QStringLiteral("Default Envelope Setup");
    QString envName = QStringLiteral("Envelope #10");
    bool useReturn = true;
    bool useMessage = false;
    double retTop = 0.25;
    double retLeft = 0.25;
    BlockFont retFont{QStringLiteral("Arial"), 8, false, false};
    std::array<QString, kReturnLineCount> retLines{
        QStringLiteral("John Q Public"), QStringLiteral("123 N West St"),
        QStringLiteral("LA, CA  90024"), QString(), QString()};
    double messTop = 3.125;
    double messLeft = 0.25;
    BlockFont messFont{QStringLiteral("Arial"), 10, true, true};
    QString messText = QStringLiteral("Handle with Care");
    double delTop = 2.0625;
    double delLeft = 9.5 / 3;
    BlockFont delFont{QStringLiteral("Arial"), 10, true, false};
    bool barcode = false;
    // Which barcode `barcode` prints; kept in the settings file keyed by the description, not
    // in the table, so other programs read the table as before.
    labels::BarcodeKind barcodeKind = labels::BarcodeKind::Postnet;
    // name, title, company, street, city+state, zip, phone, country, zip placement, capitals
    labels::AddressContents contents{
        true, true, true, true, true, true, false, false, labels::AfterState, false};
    double envWidth = 9.5;
    double envHeight = 4.125;
    int orient = 1;    // 0 portrait, 1 landscape
    int facing = 1;    // 0 up, 1 down
    int position = 2;  // 0 left, 1 right, 2 centre; 10 more with clockwise rotation

    bool operator==(const EnvelopeSetup&) const = default;
};

// The setup of the table's current row, or the default setup when there is none (an empty
// table, or one positioned past its end).
EnvelopeSetup ReadEnvelopeSetup(const xb::WorkArea& table);

// Writes every field into the current (edited or appended) row, positions and sizes rounded
// to thousandths of an inch; the caller posts.
void WriteEnvelopeSetup(xb::WorkArea& table, const EnvelopeSetup& setup);

}  // namespace qb::envelopes
