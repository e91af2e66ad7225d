#include "world/Format.h"

#include <cmath>
#include <cstdio>

std::string Hex(std::uint64_t value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

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
