#pragma once
// The host's hash of a name, as the test side's game gives it: Jenkins' one-at-a-time over the
// lower-cased bytes. constexpr, so that a test can write an expected hash as a constant.
#include <cstdint>
#include <string_view>

constexpr std::uint32_t OneAtATime(std::string_view bytes, bool lowerCase) {
  std::uint32_t hash = 0;
  for (const char c : bytes) {
    const unsigned char byte = static_cast<unsigned char>(c);
    hash += lowerCase && byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
    hash += hash << 10;
    hash ^= hash >> 6;
  }
  hash += hash << 3;
  hash ^= hash >> 11;
  hash += hash << 15;
  return hash;
}

constexpr std::uint32_t NameHash(std::string_view name) { return OneAtATime(name, true); }
