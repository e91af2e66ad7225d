#include "world/Format.h"

#include <cmath>
#include <cstdio>

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
  const long long magnitude = thousandths < 0 ? -thousandths : thousandths;
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%03lld", thousandths < 0 ? "-" : "", magnitude / 1000, magnitude % 1000);
  // The dot stops the trailing zeros from being taken off the whole part.
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

std::string HexHash(std::uint64_t hash) { return Hex(hash, 16); }
std::string Hex32(std::uint32_t value) { return Hex(value, 8); }

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char* p = text.c_str(); *p != '\0'; ++p) {
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
