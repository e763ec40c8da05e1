#pragma once

#include "sequencerconfiguration.h"  // byte-order check of the unit's records

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace modmap {
constexpr int kBlocks = 4;
constexpr int kEntries = 100;
constexpr int kImageSize = 517;
// Mode byte.
constexpr std::uint8_t kEnron = 0;
constexpr std::uint8_t kModicon16 = 1;
constexpr std::uint8_t kModicon32 = 2;
}  // namespace modmap

// The register class of a map entry, which is also the code of the group that holds it: 0-3
// ENRON, 4 the ENRON archive group (which never holds entries), 5-8 MODICON16, 9-16 MODICON32.
using TMBGProfile = std::uint8_t;

namespace modmap {
// What an entry's profile is when its mode, format and access fit no register class.
constexpr TMBGProfile kNoProfile = 0xFF;
}  // namespace modmap

#pragma pack(push, 1)

struct ModmapBlock {
    std::uint16_t Address;    // index of the block's first entry in the entry table
    std::uint16_t BlockSize;  // number of entries in the block
};

// Travels alone in messages 0x12/0x16.
struct ModmapHeader {
    std::uint8_t mode;
    ModmapBlock Blocks[modmap::kBlocks];
};

// Travels alone in messages 0x14/0x18.
struct ModmapEntry {
    std::uint8_t LSMS;       // 1 for the 32-bit integer and float entries of MODICON32
    std::uint8_t FORMAT;     // value format, numbered per mode
    std::uint8_t ACCESS;     // 1 writable, 0 read-only
    std::uint16_t UNIQUEID;  // point id
};

// An entry with its index in the entry table: the payload of the entry read's answer and of the
// entry write.
struct ModmapIndexedEntry {
    std::uint16_t Index;
    ModmapEntry Entry;
};

// The unit's Modbus map and the content of a "*.515mb" file: the entries lie block by block
// without gaps.
struct ModmapImage {
    ModmapHeader Header;
    ModmapEntry Entries[modmap::kEntries];
};

#pragma pack(pop)

static_assert(sizeof(ModmapHeader) == 17);
static_assert(sizeof(ModmapEntry) == 5);
static_assert(sizeof(ModmapIndexedEntry) == 7);
static_assert(sizeof(ModmapImage) == modmap::kImageSize);
static_assert(offsetof(ModmapImage, Entries) == 17);
static_assert(offsetof(ModmapEntry, UNIQUEID) == 3);
static_assert(std::is_trivially_copyable_v<ModmapImage>);
