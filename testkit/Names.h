#pragma once
// The names behind hashes, as GetHashKey was asked for them or a scenario wrote them, so that lines and
// reports print a hash as its name. Fixed room: it allocates nothing, and a name too long for it or one
// past its room is simply not remembered.
#include <cstdint>

void RememberName(std::uint32_t hash, const char* name);
// The game's hash of name (testkit/NameHash.h), remembered.
std::uint32_t HashName(const char* name);
// Null for a hash whose name is not known.
const char* KnownName(std::uint32_t hash);
void ForgetNames();
