#pragma once
// Code page 932 as glibc's converter maps it, written out at build time by
// cp932_table_maker (the characters of code page 932 all lie in the Basic
// Multilingual Plane; the maker fails the build otherwise).

#include <cstdint>

namespace lw::cp932 {

// Lead bytes 0x81-0x9F, then 0xE0-0xFC.
inline constexpr int kLeadBytes = 60;

// The character of one byte; U+FFFD when the converter rejects it alone.
extern const std::uint16_t kSingle[256];

// The character of a lead byte (by its place among the lead bytes) and any
// second byte; U+FFFD when the converter rejects the pair.
extern const std::uint16_t kDouble[kLeadBytes][256];

// The code of character c is kEncodeUnits[kEncodePage[c >> 8]][c & 0xFF]:
// one byte below 0x100, else lead << 8 | trail; 0 when code page 932 cannot
// hold it. Page 0 is all zero.
extern const std::uint8_t kEncodePage[256];
extern const std::uint16_t kEncodeUnits[][256];

} // namespace lw::cp932
