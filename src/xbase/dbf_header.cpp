// DBF header decoding and encoding.
#include "xbase/dbf_header.h"

#include <cctype>
#include <cstring>
#include <ctime>

#include "xbase/bytes.h"
#include "xbase/error.h"

namespace xb {

namespace {

[[noreturn]] void corrupt(const std::string& path, const std::string& what) {
    fail(ErrorCode::Corrupt, path + ": " + what);
}

bool knownVersion(uint8_t v) {
    switch (v) {
        case 0x03:
        case 0x83:
        case 0x8B:
        case 0x43:
        case 0x63:
        case 0xCB:
        case 0xF5:
        case 0x30:
        case 0x31:
        case 0x32:
        case 0x04 /* checked below */:
            return true;
        default:
            return false;
    }
}

}  // namespace

MemoKind DbfHeader::memoKind() const {
    bool anyMemo = false;
    for (auto& f : fields.all())
        if (f.isMemoPointer() || (isVisualFoxPro() && (f.type == 'M' || f.type == 'G' ||
                                                       f.type == 'P' || f.type == 'W')))
            anyMemo = true;
    if (!anyMemo) return MemoKind::None;
    switch (version) {
        case 0x83:
            return MemoKind::Dbt3;
        case 0x8B:
        case 0xCB:
            return MemoKind::Dbt4;
        default:
            return MemoKind::Fpt;
    }
}

size_t dbfHeaderLengthHint(const uint8_t* first32) {
    return getLE16(first32 + 8);
}

DbfHeader decodeDbfHeader(const uint8_t* p, size_t available, uint64_t fileSize,
                          const std::string& path) {
    if (fileSize < kHeaderPrefix + 1 || available < kHeaderPrefix)
        corrupt(path, "the file is too short to be a table");
    DbfHeader h;
    h.version = p[0];
    if (h.version == 0x04 || h.version == 0x8C)
        fail(ErrorCode::Unsupported, path + ": tables of the dBase 7 layout are not supported");
    if (h.version == 0x02 || h.version == 0xFB)
        fail(ErrorCode::Unsupported, path + ": tables of the FoxBASE layout are not supported");
    if (!knownVersion(h.version)) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "0x%02X", h.version);
        corrupt(path, std::string("not a table (unknown version byte ") + buf + ")");
    }
    h.year = p[1] >= 100 ? 1900 + p[1] : p[1] < 80 ? 2000 + p[1] : 1900 + p[1];
    h.month = p[2];
    h.day = p[3];
    h.recordCount = getLE32(p + 4);
    h.headerLength = getLE16(p + 8);
    h.recordLength = getLE16(p + 10);
    h.transactionFlag = p[14];
    h.flags = p[28];
    h.codePageByte = p[29];

    const bool vfp = h.isVisualFoxPro();
    if (h.headerLength < kHeaderPrefix + 1)
        corrupt(path, "the header length " + std::to_string(h.headerLength) + " is too small");
    if (h.headerLength > fileSize)
        corrupt(path, "the header length " + std::to_string(h.headerLength) +
                          " is larger than the file (" + std::to_string(fileSize) + " bytes)");
    if (available < h.headerLength) corrupt(path, "the header is cut short");
    if (h.recordLength < 1) corrupt(path, "the record length is 0");

    std::vector<FieldInfo> fields;
    size_t pos = kHeaderPrefix;
    int offset = 1;
    bool terminated = false;
    while (pos < h.headerLength) {
        if (p[pos] == 0x0D) {
            terminated = true;
            break;
        }
        if (pos + kDescriptorSize > h.headerLength) break;
        const uint8_t* d = p + pos;
        FieldInfo f;
        size_t nameLen = 0;
        while (nameLen < 11 && d[nameLen] != 0)
            ++nameLen;
        f.name.assign(reinterpret_cast<const char*>(d), nameLen > 10 ? 10 : nameLen);
        for (auto& c : f.name)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        while (!f.name.empty() && f.name.back() == ' ')
            f.name.pop_back();
        f.type = char(std::toupper(d[11]));
        f.width = d[16];
        f.decimals = d[17];
        f.flags = vfp ? d[18] : 0;
        if (f.width == 0)
            corrupt(path,
                    "field " + std::to_string(fields.size() + 1) + " (" + f.name + ") has width 0");
        if (f.name.empty()) f.name = "FIELD" + std::to_string(fields.size() + 1);
        f.offset = offset;
        f.index = int(fields.size());
        offset += f.width;
        fields.push_back(std::move(f));
        pos += kDescriptorSize;
        if (fields.size() > 2048) corrupt(path, "too many field descriptors");
    }
    if (!terminated) corrupt(path, "the field list has no terminator within the header");
    if (fields.empty()) corrupt(path, "the table has no fields");
    if (offset > h.recordLength)
        corrupt(path, "the fields need " + std::to_string(offset) + " bytes but records have " +
                          std::to_string(h.recordLength));
    uint64_t room = (fileSize - h.headerLength) / h.recordLength;
    if (h.recordCount > room)
        corrupt(path, "the header claims " + std::to_string(h.recordCount) +
                          (h.recordCount == 1 ? " record" : " records") +
                          " but the file holds only " + std::to_string(room));
    h.fields = FieldList(std::move(fields));
    return h;
}

void encodeDbfPrefix(const DbfHeader& h, uint8_t* o) {
    std::memset(o, 0, kHeaderPrefix);
    o[0] = h.version;
    o[1] = uint8_t(h.year % 100);  // the year byte is written as year mod 100
    o[2] = uint8_t(h.month);
    o[3] = uint8_t(h.day);
    putLE32(o + 4, h.recordCount);
    putLE16(o + 8, h.headerLength);
    putLE16(o + 10, h.recordLength);
    o[14] = h.transactionFlag;
    o[28] = h.flags;
    o[29] = h.codePageByte;
}

std::vector<uint8_t> encodeDbfHeader(const DbfHeader& h) {
    std::vector<uint8_t> out(h.headerLength, 0);
    encodeDbfPrefix(h, out.data());
    size_t pos = kHeaderPrefix;
    for (auto& f : h.fields.all()) {
        uint8_t* d = out.data() + pos;
        std::memcpy(d, f.name.data(), f.name.size() > 10 ? 10 : f.name.size());
        d[11] = uint8_t(f.type);
        putLE32(d + 12, uint32_t(f.offset));
        d[16] = uint8_t(f.width);
        d[17] = uint8_t(f.decimals);
        if (h.isVisualFoxPro()) d[18] = f.flags;
        pos += kDescriptorSize;
    }
    out[pos] = 0x0D;
    return out;
}

DbfHeader makeDbfHeader(std::vector<FieldInfo> fields, uint8_t codePageByte) {
    DbfHeader h;
    int offset = 1;
    bool memo = false;
    for (size_t i = 0; i < fields.size(); ++i) {
        fields[i].offset = offset;
        fields[i].index = int(i);
        fields[i].flags = 0;
        offset += fields[i].width;
        if (fields[i].isMemoPointer()) memo = true;
    }
    h.version = memo ? kDbfFoxMemo : kDbfPlain;
    h.headerLength = uint16_t(kHeaderPrefix + kDescriptorSize * fields.size() + 1);
    h.recordLength = uint16_t(offset);
    h.codePageByte = codePageByte;
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    h.year = tm.tm_year + 1900;
    h.month = tm.tm_mon + 1;
    h.day = tm.tm_mday;
    h.fields = FieldList(std::move(fields));
    return h;
}

void checkNewField(const FieldInfo& f) {
    auto bad = [&](const std::string& why) {
        fail(ErrorCode::Argument, "Field " + f.name + ": " + why);
    };
    if (f.name.empty() || f.name.size() > 10) bad("a field name has 1 to 10 characters");
    if (!std::isalpha(static_cast<unsigned char>(f.name[0])))
        bad("a field name starts with a letter");
    for (char c : f.name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            bad("a field name has letters, digits and _ only");
    switch (f.type) {
        case 'C':
            if (f.width < 1 || f.width > 254) bad("a character field is 1 to 254 wide");
            if (f.decimals != 0) bad("a character field has no decimals");
            break;
        case 'N':
        case 'F':
            if (f.width < 1 || f.width > 20) bad("a numeric field is 1 to 20 wide");
            if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2))
                bad("too many decimals for the width");
            break;
        case 'D':
            if (f.width != 8) bad("a date field is 8 wide");
            break;
        case 'L':
            if (f.width != 1) bad("a logical field is 1 wide");
            break;
        case 'M':
        case 'G':
        case 'P':
            if (f.width != 10) bad("a memo field is 10 wide");
            break;
        default:
            bad(std::string("the type ") + f.type + " cannot be created");
    }
}

}  // namespace xb
