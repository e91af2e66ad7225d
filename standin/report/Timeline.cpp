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
std::map<std::string, std::size_t> openSpans;  // text to its entry

std::string FrameColumn(const Entry& e) {
  std::string column = std::to_string(e.first);
  if (e.span && e.last != e.first) column += "-" + std::to_string(e.last);
  if (column.size() < 9) column.append(9 - column.size(), ' ');
  return column;
}
}  // namespace

void TimelineAdd(const std::string& text) { entries.push_back(Entry{TheWorld.frame, TheWorld.frame, false, text}); }

void TimelineHold(const std::string& text) {
  const auto open = openSpans.find(text);
  if (open != openSpans.end() && entries[open->second].last >= TheWorld.frame - 1) {
    entries[open->second].last = TheWorld.frame;
    return;
  }
  openSpans[text] = entries.size();
  entries.push_back(Entry{TheWorld.frame, TheWorld.frame, true, text});
}

void TimelineEndFrame() {
  std::erase_if(openSpans, [](const auto& open) { return entries[open.second].last < TheWorld.frame; });
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
  openSpans.clear();
}
