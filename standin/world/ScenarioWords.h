#pragma once
// The words of a scenario line. What is wrong with one is thrown as a LineError, to which the reader
// adds the file and the line.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct LineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

using Words = std::vector<std::string>;

// Split at blanks and tabs.
Words SplitWords(const std::string& line);
// The text after the first `skip` words and the one blank after them; blanks beyond it belong to it.
std::string RestAfter(const std::string& line, int skip);
double Number(const std::string& word);
// Base 10, or 0 for C notation (0x...).
std::int64_t Integer(const std::string& word, int base = 10);
// on or yes, off or no.
bool OnOff(const std::string& word);
// Exactly count words, or the line's usage.
void Expect(const Words& w, std::size_t count, const char* usage);
