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
    std::string column = std::to_string(e.first) + (e.span && e.last != e.first ? "-" + std::to_string(e.last) : "");
    column.resize(std::max<std::size_t>(column.size(), 9), ' ');  // the frames, at least nine wide
    out += "  " + column + e.text;
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
