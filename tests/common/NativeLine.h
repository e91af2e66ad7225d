#pragma once
// A native call as one line for people, shared by the bridge doubles: the catalogue's name and each
// argument read by its kind, e.g. "PromptSetVisible(0x50, 1)". Integers 0 to 9 are plain and others 0x
// and upper-case hex, a sign-widened negative is signed ("-3"), a float is a number ("1.5"), a text is
// in single quotes, an output cell is "&cell", a 64-bit host value is hex, and a hash that GetHashKey
// answered is "#NAME". A slot that does not fit its kind (bits in a high half that must be zero, a
// value that is not sign-widened, a null pointer, one argument too many) is shown raw, 0x and 16
// digits, so that wrong marshalling shows in the line; so is the hash of a native not in the catalogue.
// Allocates nothing.
#include <cstddef>
#include <cstdint>

// Text arguments are read through their pointers, which must still be alive.
struct NativeLineCall {
  std::uint64_t hash;
  const std::uint64_t* args;
  std::size_t count;
  // The name GetHashKey answered a hash for, or null; without it hashes are shown as numbers.
  const char* (*nameOf)(const void* context, std::uint32_t hash) = nullptr;
  const void* context = nullptr;
};

// Writes the line into out, at most size bytes with its NUL (cut short when it does not fit), and
// returns the length of the whole line, as snprintf does.
std::size_t FormatNativeLine(const NativeLineCall& call, char* out, std::size_t size);
