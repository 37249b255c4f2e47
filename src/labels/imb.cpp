// The Intelligent Mail barcode's encoding: routing code and tracking code into one 102-bit
// value, its frame check, ten codewords, ten 13-bit characters, and the bars they raise.
#include "labels/imb.h"

#include <bit>
#include <vector>

#include "labels/postnet.h"

namespace qb::labels {

namespace {

using Value = unsigned __int128;

bool allDigits(const QString& s) {
    for (const QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

Value decimal(const QString& digits) {
    Value v = 0;
    for (const QChar c : digits)
        v = v * 10 + unsigned(c.unicode() - u'0');
    return v;
}

// The routing code and tracking code as one number: the routing code is offset by its length
// class (so 01234 and 0000001234 differ), then the tracking digits follow, the second digit
// of the barcode identifier in base 5.
Value binaryValue(const QString& tracking, const QString& routing) {
    Value v = 0;
    switch (routing.size()) {
        case 5:
            v = decimal(routing) + 1;
            break;
        case 9:
            v = decimal(routing) + 100000 + 1;
            break;
        case 11:
            v = decimal(routing) + 1000000000 + 100000 + 1;
            break;
        default:
            break;
    }
    v = v * 10 + unsigned(tracking[0].unicode() - u'0');
    v = v * 5 + unsigned(tracking[1].unicode() - u'0');
    for (qsizetype i = 2; i < tracking.size(); ++i)
        v = v * 10 + unsigned(tracking[i].unicode() - u'0');
    return v;
}

unsigned frameCheck(Value v) {
    // Thirteen bytes, most significant first; the value has 102 bits, so the first byte's two
    // top bits are never part of the check.
    constexpr unsigned kPolynomial = 0x0F35;
    unsigned fcs = 0x07FF;
    for (int byte = 12; byte >= 0; --byte) {
        const unsigned b = unsigned(v >> (8 * byte)) & 0xFF;
        for (int bit = byte == 12 ? 5 : 7; bit >= 0; --bit) {
            const bool top = ((fcs >> 10) ^ (b >> bit)) & 1;
            fcs = ((fcs << 1) ^ (top ? kPolynomial : 0)) & 0x07FF;
        }
    }
    return fcs;
}

// The 13-bit characters with `ones` bits set, each beside its mirror image; characters that
// are their own mirror image fill the table from its end.
std::vector<unsigned> characterTable(int ones, size_t size) {
    std::vector<unsigned> table(size);
    size_t low = 0;
    size_t high = size;
    for (unsigned c = 0; c < (1u << 13); ++c) {
        if (std::popcount(c) != ones) continue;
        unsigned mirror = 0;
        for (int i = 0; i < 13; ++i)
            if (c & (1u << i)) mirror |= 1u << (12 - i);
        if (mirror < c) continue;
        if (mirror == c) {
            table[--high] = c;
        } else {
            table[low++] = c;
            table[low++] = mirror;
        }
    }
    return table;
}

// Which character bit raises each bar's descender and ascender: character index (A = 0 …
// J = 9) times 13 plus bit number.
struct BarBits {
    uint8_t descender;
    uint8_t ascender;
};
extern const std::array<BarBits, 65> kBarBits;

}  // namespace

int imbSerialDigits(const QString& mailerId) {
    return mailerId.size() == 9 ? 6 : 9;
}

QString imbRefusal(const ImbTracking& t, const QString& routing) {
    if (t.barcodeId.size() != 2 || !allDigits(t.barcodeId) || t.barcodeId[1] > u'4')
        return QStringLiteral("The barcode identifier must be two digits, the second 0 to 4");
    if (t.serviceType.size() != 3 || !allDigits(t.serviceType))
        return QStringLiteral("The service type must be three digits");
    if (!allDigits(t.mailerId) || (t.mailerId.size() != 6 && t.mailerId.size() != 9) ||
        (t.mailerId.size() == 9 && t.mailerId[0] != u'9'))
        return QStringLiteral(
            "The mailer identifier must be six digits, or nine digits starting with 9");
    const int serialDigits = imbSerialDigits(t.mailerId);
    if (t.serial.size() != serialDigits || !allDigits(t.serial))
        return QStringLiteral(
                   "The serial number must be %1 digits with a %2-digit mailer "
                   "identifier, so that the tracking code has twenty")
            .arg(serialDigits)
            .arg(t.mailerId.size());
    if (!allDigits(routing) ||
        (!routing.isEmpty() && routing.size() != 5 && routing.size() != 9 && routing.size() != 11))
        return QStringLiteral("The routing code must be empty or 5, 9 or 11 digits");
    return {};
}

unsigned imbFrameCheck(const QString& tracking, const QString& routing) {
    return frameCheck(binaryValue(tracking, routing));
}

QString imbBars(const QString& tracking, const QString& routing) {
    if (tracking.size() != 20 || !allDigits(tracking) || tracking[1] > u'4' ||
        !imbRefusal({tracking.left(2), tracking.mid(2, 3), QStringLiteral("000000"),
                     QStringLiteral("000000000")},
                    routing)
             .isEmpty())
        return {};
    static const std::vector<unsigned> fiveOf13 = characterTable(5, 1287);
    static const std::vector<unsigned> twoOf13 = characterTable(2, 78);

    Value v = binaryValue(tracking, routing);
    const unsigned fcs = frameCheck(v);
    std::array<unsigned, 10> codewords{};
    codewords[9] = unsigned(v % 636);
    v /= 636;
    for (int i = 8; i >= 1; --i) {
        codewords[size_t(i)] = unsigned(v % 1365);
        v /= 1365;
    }
    codewords[0] = unsigned(v);
    // The last codeword doubled and the first raised by the check's top bit tell a reader
    // which way up the barcode is.
    codewords[9] *= 2;
    if (fcs & 0x400) codewords[0] += 659;

    std::array<unsigned, 10> characters{};
    for (size_t i = 0; i < 10; ++i) {
        const unsigned cw = codewords[i];
        characters[i] = cw < 1287 ? fiveOf13[cw] : twoOf13[cw - 1287];
        if (fcs & (1u << i)) characters[i] = ~characters[i] & 0x1FFF;
    }
    auto bit = [&](unsigned n) { return (characters[n / 13] >> (n % 13)) & 1; };
    QString bars;
    for (const BarBits& b : kBarBits) {
        const bool down = bit(b.descender);
        const bool up = bit(b.ascender);
        bars += down ? (up ? u'F' : u'D') : (up ? u'A' : u'T');
    }
    return bars;
}

QString imbRoutingCode(const QString& zip, const QString& street) {
    if (!zipQualifiesForBarcode(zip)) return {};
    QString digits;
    for (const QChar c : barcodeText(zip, street))
        if (c >= u'0' && c <= u'9') digits += c;
    // A ZIP+4 written short of its digits still routes by its five.
    return digits.size() == 5 || digits.size() == 9 || digits.size() == 11 ? digits
                                                                           : digits.left(5);
}

namespace {
// The published assignment of character bits to bars, bar 1 first.
const std::array<BarBits, 65> kBarBits = {{
    {93, 55},  {23, 0},   {129, 34},  {70, 89},  {113, 40}, {1, 77},   {31, 21},   {56, 128},
    {81, 114}, {48, 97},  {76, 17},   {109, 38}, {127, 2},  {92, 85},  {45, 61},   {3, 110},
    {82, 33},  {14, 126}, {101, 67},  {52, 47},  {80, 4},   {115, 13}, {125, 51},  {32, 98},
    {66, 62},  {25, 87},  {94, 104},  {73, 124}, {58, 36},  {43, 5},   {108, 72},  {102, 22},
    {78, 123}, {6, 60},   {27, 41},   {74, 116}, {63, 79},  {122, 95}, {42, 15},   {7, 26},
    {16, 53},  {88, 44},  {111, 121}, {37, 71},  {8, 103},  {54, 105}, {75, 39},   {120, 9},
    {83, 30},  {99, 20},  {65, 57},   {29, 10},  {90, 119}, {50, 19},  {112, 100}, {69, 11},
    {18, 28},  {118, 64}, {107, 84},  {91, 46},  {59, 96},  {12, 24},  {35, 117},  {86, 68},
    {49, 106},
}};
}  // namespace

}  // namespace qb::labels
