#include "report/LogCheck.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <regex>
#include <vector>

namespace {
using Stamp = std::array<int, 6>;  // year, month, day, hour, minute, second: compares in time order

Stamp StampOf(const std::tm& t) { return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec}; }

std::string StampText(const Stamp& s) {
  char text[80];
  std::snprintf(text, sizeof text, "%d/%d/%d %d:%d:%d", s[2], s[1], s[0], s[3], s[4], s[5]);
  return text;
}

// Each line of text as the report shows it: masked (MaskLogLine), and with what is wrong with its end.
std::vector<std::string> ShownLines(const std::string& text, bool crlf, const std::tm& start, const std::tm& end) {
  std::vector<std::string> lines;
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t lf = std::min(text.find('\n', from), text.size());
    const bool cr = lf < text.size() && lf > from && text[lf - 1] == '\r';
    std::string line = MaskLogLine(text.substr(from, lf - from - (cr ? 1 : 0)), start, end);
    if (lf == text.size())
      line += "   ! no line end";
    else if (cr != crlf)
      line += crlf ? "   ! ends in a bare LF, not CR LF" : "   ! ends in CR LF, not LF";
    lines.push_back(line);
    from = lf + 1;
  }
  return lines;
}

// How many times the block of k lines at i repeats right after itself.
std::size_t Repeats(const std::vector<std::string>& lines, std::size_t i, std::size_t k) {
  std::size_t count = 0;
  const auto block = lines.begin() + i;
  while (i + (count + 2) * k <= lines.size() && std::equal(block, block + k, block + (count + 1) * k)) ++count;
  return count;
}
}  // namespace

std::string MaskLogLine(const std::string& line, const std::tm& start, const std::tm& end) {
  // "[d/m/y h:m:s] ", each number of up to six digits without leading zeros.
  static const std::regex kPrefix([] {
    const std::string n = "(0|[1-9][0-9]{0,5})";
    return "\\[" + n + "/" + n + "/" + n + " " + n + ":" + n + ":" + n + "\\] ";
  }());
  std::smatch m;
  if (!std::regex_search(line, m, kPrefix, std::regex_constants::match_continuous))
    return "! no well-formed time prefix: " + line;
  const Stamp s{std::stoi(m[3]), std::stoi(m[2]), std::stoi(m[1]), std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])};
  if (s[1] < 1 || s[1] > 12 || s[2] < 1 || s[2] > 31 || s[3] > 23 || s[4] > 59 || s[5] > 60)
    return "! a time prefix out of range: " + line;
  if (s < StampOf(start) || s > StampOf(end))
    return "! a time outside the run (" + StampText(StampOf(start)) + " to " + StampText(StampOf(end)) + "): " + line;
  return "[time] " + line.substr(static_cast<std::size_t>(m.length(0)));
}

std::string DescribeNewLogLines(const LogReading& log, const std::string& before, bool crlf, const std::tm& start,
                                const std::tm& end) {
  if (!log.exists) return "Log file Quillfen/Log.log: absent\n";
  const bool kept = log.content.starts_with(before);
  const std::vector<std::string> shown =
      ShownLines(kept ? log.content.substr(before.size()) : log.content, crlf, start, end);
  std::string out = "Log file Quillfen/Log.log: ";
  out += shown.empty() ? "no new lines\n"
                       : std::to_string(shown.size()) + (shown.size() == 1 ? " new line\n" : " new lines\n");
  if (!kept) out += "! the lines the log held before the run were changed\n";
  for (std::size_t i = 0; i < shown.size();) {
    std::size_t bestK = 1, bestRepeats = 0;
    for (std::size_t k = 1; k <= 4 && i + k <= shown.size(); ++k) {
      const std::size_t r = Repeats(shown, i, k);
      if (r >= 2 && r * k > bestRepeats * bestK) {
        bestK = k;
        bestRepeats = r;
      }
    }
    for (std::size_t j = 0; j < bestK; ++j) out += "  " + shown[i + j] + "\n";
    if (bestRepeats > 0) {
      out += bestK == 1 ? "  (the line above comes " : "  (the " + std::to_string(bestK) + " lines above come ";
      out += std::to_string(bestRepeats) + " more times)\n";
    }
    i += bestK * (bestRepeats + 1);
  }
  return out;
}
