#pragma once
// Jenkins' one-at-a-time hash, the host's hash of a name (over the lower-cased bytes). Header-only and
// constexpr so that the test bridges and the benchmark can share it.
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
