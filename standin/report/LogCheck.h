#pragma once
// Reading back what the plug-in appended to its log during a run, in a form that compares exactly
// between platforms: the time prefix checked and masked, the line ends checked, repeats folded.
#include <ctime>
#include <string>

struct LogReading {
  bool exists = false;
  std::string content;  // the whole file after the run
};

// before: the bytes the file held when the run began. crlf: whether text mode writes CR LF here.
// start and end: the local time just before the plug-in was loaded and just after it was unloaded.
std::string DescribeNewLogLines(const LogReading& log, const std::string& before, bool crlf, const std::tm& start,
                                const std::tm& end);

// "[time] message" for a line that starts with a well-formed prefix within [start, end]; otherwise the
// line as it is after "! ", with what is wrong with it.
std::string MaskLogLine(const std::string& line, const std::tm& start, const std::tm& end);
