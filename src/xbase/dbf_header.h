// The DBF file header and field descriptors: decoding with every check a damaged or foreign
// file needs, and encoding in the FoxPro 2.x layout the engine writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xbase/field.h"

namespace xb {

// Version bytes.
constexpr uint8_t kDbfPlain = 0x03;    // no memo
constexpr uint8_t kDbfFoxMemo = 0xF5;  // FoxPro 2.x with FPT memo
constexpr uint8_t kDbfDb3Memo = 0x83;  // dBase III with DBT memo
constexpr uint8_t kDbfDb4Memo = 0x8B;  // dBase IV with DBT memo
constexpr uint8_t kDbfVfp = 0x30;
constexpr uint8_t kDbfVfpAuto = 0x31;
constexpr uint8_t kDbfVfpVar = 0x32;

constexpr uint8_t kFlagProductionIndex = 0x01;
constexpr uint8_t kFlagVfpMemo = 0x02;

enum class MemoKind { None, Fpt, Dbt3, Dbt4 };

struct DbfHeader {
    uint8_t version = kDbfFoxMemo;
    int year = 0, month = 0, day = 0;  // date of last update
    uint32_t recordCount = 0;
    uint16_t headerLength = 0;
    uint16_t recordLength = 0;
    uint8_t transactionFlag = 0;  // byte 14: set while a post is between record and indexes
    uint8_t flags = 0;            // byte 28
    uint8_t codePageByte = 0;     // byte 29
    FieldList fields;

    bool isVisualFoxPro() const {
        return version == kDbfVfp || version == kDbfVfpAuto || version == kDbfVfpVar;
    }
    MemoKind memoKind() const;
};

constexpr int kHeaderPrefix = 32;
constexpr int kDescriptorSize = 32;
constexpr int kVfpBacklink = 263;

// Decodes a header from the first bytes of a file of fileSize bytes. Throws
// Error(Corrupt/Unsupported) naming path and the fault.
DbfHeader decodeDbfHeader(const uint8_t* bytes, size_t available, uint64_t fileSize,
                          const std::string& path);
// How many bytes decodeDbfHeader needs: the header length stored at offset 8.
size_t dbfHeaderLengthHint(const uint8_t* first32);

// Encodes the 32-byte prefix (version, date, counts, flags, code page).
void encodeDbfPrefix(const DbfHeader& h, uint8_t* out32);
// Encodes the whole header: prefix, descriptors, terminator (and the VFP backlink).
std::vector<uint8_t> encodeDbfHeader(const DbfHeader& h);
// Lays out fields (offsets, index) and returns the header to write for a new table.
DbfHeader makeDbfHeader(std::vector<FieldInfo> fields, uint8_t codePageByte);

// Validates a field definition for a new table; throws Error(Argument) saying what is wrong.
void checkNewField(const FieldInfo& f);

}  // namespace xb
