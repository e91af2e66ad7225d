#pragma once
// How the stand-in writes numbers, hashes and texts for people: the same on every platform, so that
// reports, traces and pictures compare byte for byte.
#include <cstdint>
#include <string>

// Up to three decimals, no trailing zeros.
std::string FormatNumber(double value);
// 0x and that many upper-case hex digits: 16 for a native's hash, 8 for a name's.
std::string Hex(std::uint64_t value, int digits);
// A text in double quotes, with quotes, backslashes and control bytes escaped, up to its first NUL.
std::string Quoted(const std::string& text);
