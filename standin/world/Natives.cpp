#include "world/Natives.h"

namespace {
const NativeTable* const kTables[] = {&kPlayerNatives, &kHorseNatives, &kPromptNatives, &kScreenNatives};

template <class Matches>
const NativeInfo* Find(Matches matches) {
  for (const NativeTable* table : kTables)
    for (std::size_t i = 0; i < table->count; ++i)
      if (matches(table->natives[i])) return &table->natives[i];
  return nullptr;
}
}  // namespace

const NativeInfo* FindNative(UINT64 hash) {
  return Find([hash](const NativeInfo& n) { return n.hash == hash; });
}

const NativeInfo* FindNativeByName(const std::string& name) {
  return Find([&name](const NativeInfo& n) { return name == n.name; });
}
