#include "world/Format.h"

#include <cmath>

namespace {
std::string Hex(std::uint64_t value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
  return text;
}
}  // namespace

std::string FormatNumber(double value) {
  const long long thousandths = std::llround(value * 1000.0);
  const bool negative = thousandths < 0;
  const long long magnitude = negative ? -thousandths : thousandths;
  std::string text = (negative ? "-" : "") + std::to_string(magnitude / 1000);
  long long fraction = magnitude % 1000;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 3 - digits.size(), '0');
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text;
}

std::string HexHash(std::uint64_t hash) { return Hex(hash, 16); }
std::string Hex32(std::uint32_t value) { return Hex(value, 8); }

std::string QuotedText(const char* text) {
  if (text == nullptr) return "null";
  std::string out = "\"";
  for (const char* p = text; *p != '\0'; ++p) {
    const unsigned char b = static_cast<unsigned char>(*p);
    if (b == '"' || b == '\\')
      out += std::string("\\") + *p;
    else if (b < 0x20 || b >= 0x7F)
      out += "\\x" + Hex(b, 2).substr(2);
    else
      out += *p;
  }
  return out + "\"";
}

std::string Quoted(const std::string& text) { return QuotedText(text.c_str()); }
