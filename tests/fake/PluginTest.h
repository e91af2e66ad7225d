#pragma once
// The GoogleTest fixture of every test that drives the plug-in through the fake bridge: a work folder
// as the current directory, a clean fake and a new game, and the plug-in's globals as at load, before
// and after.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "common/PluginGlobals.h"
#include "fake/FakeBridge.h"
#include "testkit/Game.h"
#include "testkit/NameHash.h"
#include "testkit/WorkFolder.h"

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    EnterWorkFolder(std::string(info->test_suite_name()) + "." + info->name());
    fake::Reset();
    ResetPluginGlobals();
  }

  void TearDown() override {
    EXPECT_EQ(Joined(fake::ProtocolErrors()), "") << "the plug-in misused the bridge's call protocol";
    fake::Reset();  // abandons the script before the globals it used are reset
    ResetPluginGlobals();
    LeaveWorkFolder(HasFailure());
  }

  // One line per element, so that a mismatch shows as a line diff.
  static std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
  }
};

// Compares two lists of lines (natives, log messages) with a readable diff on failure.
#define EXPECT_LINES(actual, ...) EXPECT_EQ(Joined(actual), Joined(__VA_ARGS__))

// The lists of lines one after the other, to write an expected frame from its parts.
inline std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// What `work` sent through the bridge, in order.
template <class Work>
std::vector<std::string> LinesSentBy(Work&& work) {
  const std::size_t mark = fake::LineCount();
  work();
  return fake::Lines(mark);
}
