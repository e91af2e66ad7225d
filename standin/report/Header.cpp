#include "report/Header.h"

std::string ReportHeader(const Scenario& s, bool asIs) {
  std::string out = "Scenario " + s.name + (s.title.empty() ? "" : ": " + s.title) + "\n";
  out += std::to_string(s.frames) + " frames of " + std::to_string(s.frameMs) + " ms; ";
  if (asIs) return out + "the working folder as it was found\n";
  if (s.hasSettings) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < s.settings.size(); ++i)
      if (s.settings[i] == '\n' || i + 1 == s.settings.size()) ++lines;
    out += "Varnholt.ini of " + std::to_string(s.settings.size()) + " bytes in " + std::to_string(lines) +
           (lines == 1 ? " line" : " lines");
    if (s.settings.find("\r\n") != std::string::npos) out += " ending in CR LF";
  } else {
    out += "no Varnholt.ini";
  }
  out += s.quillfen ? "; Quillfen folder present" : "; no Quillfen folder";
  if (!s.logBefore.empty()) out += ", its log holding " + std::to_string(s.logBefore.size()) + " bytes";
  return out + "\n";
}
