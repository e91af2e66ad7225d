#include "report/Timeline.h"

#include <algorithm>
#include <map>
#include <vector>

#include "world/World.h"

namespace {
struct Entry {
  int first, last;
  bool span;
  std::string text;
};

std::vector<Entry> entries;
std::map<std::string, std::size_t> spans;  // text to its latest span's entry, which a hold on the next frame extends

std::string FrameColumn(const Entry& e) {
  std::string column = std::to_string(e.first);
  if (e.span && e.last != e.first) column += "-" + std::to_string(e.last);
  if (column.size() < 9) column.append(9 - column.size(), ' ');
  return column;
}
}  // namespace

void TimelineAdd(const std::string& text) { entries.push_back(Entry{TheWorld.frame, TheWorld.frame, false, text}); }

void TimelineHold(const std::string& text) {
  const auto latest = spans.find(text);
  if (latest != spans.end() && entries[latest->second].last >= TheWorld.frame - 1) {
    entries[latest->second].last = TheWorld.frame;
    return;
  }
  spans[text] = entries.size();
  entries.push_back(Entry{TheWorld.frame, TheWorld.frame, true, text});
}

std::string TimelineText() {
  // Entries of the same frame stay in the order they came in.
  std::vector<Entry> sorted = entries;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.first < b.first; });
  std::string out;
  for (const Entry& e : sorted) {
    out += "  " + FrameColumn(e) + e.text;
    if (e.span) {
      const int frames = e.last - e.first + 1;
      out += " (" + std::to_string(frames) + (frames == 1 ? " frame)" : " frames)");
    }
    out += '\n';
  }
  return out;
}

void TimelineClear() {
  entries.clear();
  spans.clear();
}
