#include "testkit/NativeLine.h"

#include <bit>
#include <charconv>
#include <cstdio>

#include "testkit/Catalogue.h"
#include "testkit/Names.h"

namespace {
// Appends to a buffer of fixed size as snprintf writes one: cut short with its NUL, counting what did not fit.
struct Out {
  char* at;
  std::size_t size;
  std::size_t length = 0;

  template <class... Values>
  void Print(const char* format, Values... values) {
    const std::size_t room = length < size ? size - length : 0;
    length += static_cast<std::size_t>(std::snprintf(room > 0 ? at + length : nullptr, room, format, values...));
  }
  void Put(const char* text) { Print("%s", text); }
  void Raw(std::uint64_t value) { Print("0x%016llX", static_cast<unsigned long long>(value)); }
  // 0 to 9 plain, above in hex, below in decimal.
  void Integer(std::int64_t value) { Print(value > 9 ? "0x%llX" : "%lld", static_cast<long long>(value)); }
  void Float(float value) {
    char text[32];
    *std::to_chars(text, text + sizeof text - 1, value).ptr = '\0';
    Put(text);
  }
  void Quoted(const char* text) {
    Put("'");
    for (; *text != '\0'; ++text) {
      const unsigned byte = static_cast<unsigned char>(*text);
      Print(byte < 0x20 || byte >= 0x7F ? "\\x%02X" : byte == '\'' || byte == '\\' ? "\\%c" : "%c", byte);
    }
    Put("'");
  }
};

void Value(Out& out, std::uint64_t v, char kind) {
  const auto low = static_cast<std::uint32_t>(v);
  if (SlotMisfit(kind, v) != nullptr) return out.Raw(v);
  switch (kind) {
    case 'i': return out.Integer(low);
    case 'h':
      if (const char* name = KnownName(low)) return out.Print("#%s", name);
      return out.Integer(low);
    case 'w': return out.Integer(static_cast<std::int32_t>(low));
    case 'f': return out.Float(std::bit_cast<float>(low));
    case 's': return out.Quoted(reinterpret_cast<const char*>(v));
    case 'c': return out.Put("&cell");
    case 'v': return out.Print("0x%llX", static_cast<unsigned long long>(v));
    default: return out.Raw(v);  // no kind: an argument beyond the native's
  }
}

// The answer's slots by its kind, as the plug-in reads them: all 64 bits of a host value, the low 32 of
// anything else, and a position's three floats.
void Answer(Out& out, const NativeCall& call, char kind) {
  const auto low = [&call](int i) { return call.slots[i] & 0xFFFFFFFFu; };
  out.Put(" -> ");
  if (kind == 'v') return Value(out, call.slots[0], kind);
  if (kind != 'p') return Value(out, low(0), kind);
  for (int i = 0; i < 3; ++i) {
    out.Put(i == 0 ? "(" : ", ");
    Value(out, low(i), 'f');
  }
  out.Put(")");
}
}  // namespace

std::size_t FormatNativeLine(const NativeCall& call, bool withAnswer, char* buffer, std::size_t size) {
  Out out{buffer, size};
  const NativeEntry* native = natives::Find(call.hash);
  if (native != nullptr)
    out.Put(native->name);
  else
    out.Raw(call.hash);
  out.Put("(");
  for (std::size_t i = 0; i < call.count; ++i) {
    if (i > 0) out.Put(", ");
    // Every argument of an unknown native is a host value; one beyond a native's kinds is wrong.
    Value(out, call.args[i], native == nullptr ? 'v' : i < native->argCount ? native->args[i] : '?');
  }
  out.Put(")");
  if (withAnswer && native != nullptr && *native->answer != '\0') Answer(out, call, *native->answer);
  return out.length;
}
