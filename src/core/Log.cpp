#include "core/Log.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "core/Platform.h"

std::size_t FormatLogPrefix(const std::tm& local, char (&out)[kLogPrefixCapacity]) noexcept {
  char* p = out;
  char* const end = std::end(out);  // never reached: the capacity is the widest prefix itself
  const auto put = [&](char c) { *p++ = c; };
  const auto number = [&](long long v) { p = std::to_chars(p, end, v).ptr; };
  put('[');
  number(local.tm_mday);
  put('/');
  number(local.tm_mon + 1LL);
  put('/');
  number(local.tm_year + 1900LL);
  put(' ');
  number(local.tm_hour);
  put(':');
  number(local.tm_min);
  put(':');
  number(local.tm_sec);
  put(']');
  put(' ');
  *p = '\0';
  return static_cast<std::size_t>(p - out);
}

void AppendLogLine(const char* path, const std::tm& local, const char* message) noexcept {
  // Text mode: on Windows every line feed, the final one included, is stored as CR LF.
  std::FILE* file = OpenShared(path, FileAccess::AppendText);
  if (file == nullptr) return;  // no folder, read-only, locked: the message is lost, silently
  char prefix[kLogPrefixCapacity];
  const std::size_t length = FormatLogPrefix(local, prefix);
  // A failed write or close (disk full) loses this line and nothing more: their results are not wanted.
  // NOLINTBEGIN(cert-err33-c)
  std::fwrite(prefix, 1, length, file);
  std::fwrite(message, 1, std::strlen(message), file);
  std::fputc('\n', file);
  std::fclose(file);
  // NOLINTEND(cert-err33-c)
}

void Log(const char* message) noexcept {
  std::tm local{};
  if (!LocalTimeNow(local)) local = std::tm{};
  AppendLogLine(kLogPath, local, message == nullptr ? "" : message);
}
