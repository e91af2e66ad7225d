#pragma once
// How the stand-in writes numbers, hashes and texts for people: the same on every platform, so that
// reports, traces and pictures compare byte for byte.
#include <cstdint>
#include <string>

// Up to three decimals, no trailing zeros.
std::string FormatNumber(double value);
// 0x and 16 upper-case hex digits.
std::string HexHash(std::uint64_t hash);
// 0x and 8 upper-case hex digits.
std::string Hex32(std::uint32_t value);
// A text in double quotes, with quotes, backslashes and control bytes escaped, up to its first NUL.
std::string Quoted(const std::string& text);
