#include "testkit/Names.h"

#include <cstring>

#include "testkit/NameHash.h"

namespace {
struct Name {
  std::uint32_t hash;
  char text[96];
};
Name names[256];
unsigned count = 0;
}  // namespace

void RememberName(std::uint32_t hash, const char* name) {
  if (KnownName(hash) != nullptr || count == sizeof names / sizeof names[0]) return;
  const std::size_t length = std::strlen(name);
  if (length >= sizeof names[0].text) return;
  std::memcpy(names[count].text, name, length + 1);
  names[count++].hash = hash;
}

std::uint32_t HashName(const char* name) {
  const std::uint32_t hash = NameHash(name);
  RememberName(hash, name);
  return hash;
}

const char* KnownName(std::uint32_t hash) {
  for (unsigned i = 0; i < count; ++i)
    if (names[i].hash == hash) return names[i].text;
  return nullptr;
}

void ForgetNames() { count = 0; }
