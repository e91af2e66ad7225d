#pragma once
// A native call as one line for people: the catalogue's name and each argument read by its kind, e.g.
// "PromptSetVisible(0x50, 1)". Integers 0 to 9 are plain and others 0x and upper-case hex, a
// sign-widened negative is signed ("-3"), a float is a number ("1.5"), a text is in single quotes, an
// output cell is "&cell", a 64-bit host value is hex, and a hash whose name is known
// (testkit/Names.h) is "#NAME". A slot that does not fit its kind (bits in a high half that must be
// zero, a value that is not sign-widened, a null pointer, one argument too many) is shown raw, 0x and
// 16 digits, so that wrong marshalling shows in the line; so is the hash of a native not in the
// catalogue. Allocates nothing.
#include <cstddef>

#include "testkit/BridgeCore.h"

// Writes the line into out, at most size bytes with its NUL (cut short when it does not fit), and returns the
// length of the whole line, as snprintf does. With the answer, " -> " and the answer's slots read by the
// native's answer kind follow. Text arguments are read through their pointers, which must still be alive.
std::size_t FormatNativeLine(const NativeCall& call, bool withAnswer, char* out, std::size_t size);
