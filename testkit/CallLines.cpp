#include "testkit/CallLines.h"

#include "testkit/NativeLine.h"

namespace {
constexpr int kMaxLines = 4096;
char lines[kMaxLines][256];
int lineCount = 0;
bool overflowed = false;
}  // namespace

void NoteCallLine(const NativeCall& call, bool) {
  if (lineCount == kMaxLines)
    overflowed = true;
  else
    FormatNativeLine(call, false, lines[lineCount++], sizeof lines[0]);
}

std::vector<std::string> TakeCallLines() {
  std::vector<std::string> taken(lines, lines + lineCount);
  if (overflowed) taken.emplace_back("(more natives than could be noted)");
  lineCount = 0;
  overflowed = false;
  return taken;
}
