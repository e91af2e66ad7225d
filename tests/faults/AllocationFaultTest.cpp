// Heap allocation failing at each allocation of start-up and of a frame in turn, once or for good: the
// script reports it the way its failure path says, nothing leaves ScriptMain, and once memory is back
// the plug-in is exactly what a clean run makes of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "FailingAllocator.h"
#include "FaultBridge.h"
#include "PluginGlobals.h"
#include "WorkFolder.h"
#include "core/Settings.h"
#include "features/Prompt.h"
#include "features/ScopeToggle.h"
#include "host/Script.h"

namespace {
using faults::scene;
using Lines = std::vector<std::string>;

std::string Fatal(const std::string& what) { return "Fatal: " + what + ", check the logs for more info."; }

Lines ShownOnScreen(const std::string& message) {
  return {"0xFA925AC00EB830B9(0xA, 'LITERAL_STRING', '" + message + "')", "0xFA233F8FE190514C(0x5EC7)",
          "0xE9990552DEC71600()", "0xDFF0D417277B41F8()"};
}

bool EndsWith(const Lines& all, const Lines& tail) {
  return all.size() >= tail.size() && std::equal(tail.begin(), tail.end(), all.end() - tail.size());
}

// The file descriptors the process has open.
std::size_t OpenFiles() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(std::filesystem::begin(fds), std::filesystem::end(fds)));
}

std::size_t Count(const Lines& natives, const std::string& hash) {
  return static_cast<std::size_t>(
      std::count_if(natives.begin(), natives.end(), [&](const std::string& n) { return n.rfind(hash, 0) == 0; }));
}

// What one step of the script did.
struct Step {
  std::uint64_t allocations = 0;
  bool refused = false;
  Lines natives;
  Lines log;
};

// Runs the script to its next wait, with allocation nth refused (and every later one too with
// everyAfter; nth 0 refuses nothing).
Step RunStep(std::uint64_t nth = 0, bool everyAfter = false) {
  faults::ArmAllocationFailure(nth, everyAfter);
  faults::Step();
  faults::DisarmAllocationFailure();
  return {faults::AllocationsSinceArmed(), faults::AllocationRefused(), faults::TakeNatives(), faults::TakeLog()};
}

// The step reported one failure: the first line always; then, if the message could be built, one of
// the expected fatal messages, logged and shown on screen as the step's last natives.
void ExpectReport(const Step& step, const Lines& fatalMessages, bool messageExpected) {
  const std::size_t first = std::find(step.log.begin(), step.log.end(), "Something wrong happened") - step.log.begin();
  ASSERT_LT(first, step.log.size()) << "no report in the log";
  const Lines report(step.log.begin() + static_cast<std::ptrdiff_t>(first), step.log.end());
  if (!messageExpected) {
    EXPECT_EQ(report, Lines{"Something wrong happened"});
    EXPECT_EQ(Count(step.natives, "0xFA925AC00EB830B9"), 0u) << "nothing can be shown without a message";
    return;
  }
  ASSERT_EQ(report.size(), 2u);
  EXPECT_NE(std::find(fatalMessages.begin(), fatalMessages.end(), report[1]), fatalMessages.end()) << report[1];
  EXPECT_TRUE(EndsWith(step.natives, ShownOnScreen(report[1])));
}

class AllocationFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!faults::CanFailAllocations()) GTEST_SKIP() << "this build cannot replace operator new (sanitizer runtime)";
    faults::EnterWorkFolder(true);
    ResetPlugin();
  }

  void TearDown() override {
    faults::DisarmAllocationFailure();
    if (!faults::CanFailAllocations()) return;
    ResetPlugin();
    faults::LeaveWorkFolder();
  }

  // The plug-in as loaded, before a new script starts (the previous one never runs again).
  static void ResetPlugin() {
    ResetPluginGlobals();
    scene = faults::Scene{};
    faults::TakeNatives();
    faults::TakeLog();
  }
};

const Lines kBadAlloc = {Fatal(std::bad_alloc().what())};

TEST_F(AllocationFaultTest, StartUpSurvivesEachFailedAllocationAndThenStartsCleanly) {
  // A file that makes the loader allocate a good deal: a long label, an unknown name, a rejected line.
  faults::WriteSettings(
      "EnableScopeToggle=1\r\n; a comment\nScopeTogglePromptLabel=Toggle the scope of the rifle, a label "
      "longer than any short string\nSomethingElse=kept too\nthis line has no sign\n");
  faults::StartScript();
  const Step clean = RunStep();  // InitScript and the first frame
  const SettingsMap cleanStore = *Settings;
  const Step cleanFrame = RunStep();
  RecordProperty("start_up_allocations", std::to_string(clean.allocations));
  ASSERT_GT(clean.allocations, 10u);
  ASSERT_EQ(cleanFrame.allocations, 0u);
  ASSERT_EQ(cleanStore.at("SomethingElse"), "kept too");
  ASSERT_EQ(clean.log.size(), 3u);  // loading, the rejected line, loaded
  const std::size_t files = OpenFiles();

  for (const bool everyAfter : {false, true}) {
    for (std::uint64_t nth = 1; nth <= clean.allocations; ++nth) {
      SCOPED_TRACE((everyAfter ? "every allocation from the " : "only the ") + std::to_string(nth) +
                   "th of start-up refused");
      ResetPlugin();
      faults::StartScript();
      const Step failed = RunStep(nth, everyAfter);
      EXPECT_TRUE(failed.refused);
      EXPECT_FALSE(faults::ScriptEscaped());
      // Whatever the loader logged before the failure is the start of what a clean start logs.
      const Lines logged(failed.log.begin(),
                         std::find(failed.log.begin(), failed.log.end(), "Something wrong happened"));
      EXPECT_LE(logged.size(), clean.log.size());
      EXPECT_EQ(logged, Lines(clean.log.begin(), clean.log.begin() + static_cast<std::ptrdiff_t>(
                                                                         std::min(logged.size(), clean.log.size()))));
      ExpectReport(failed, kBadAlloc, !everyAfter);
      EXPECT_EQ(OpenFiles(), files) << "the failed start-up left the settings file open";

      // Memory is back: the next frame starts the plug-in again, exactly as a clean start does.
      const Step retried = RunStep();
      EXPECT_EQ(retried.natives, clean.natives);
      EXPECT_EQ(retried.log, clean.log);
      ASSERT_NE(Settings, nullptr);
      EXPECT_EQ(*Settings, cleanStore);
      EXPECT_EQ(RunStep().natives, cleanFrame.natives);
      EXPECT_FALSE(faults::ScriptEscaped());
      if (HasFailure()) return;
    }
  }
}

TEST_F(AllocationFaultTest, ToggleThatCannotRememberTheScopeTakesNothingOffAndTheNextOneWorks) {
  faults::StartScript();
  scene.distance = 1.0f;
  RunStep();  // start-up and a frame with the prompt shown
  const auto press = [] {
    scene.completed = true;
    scene.fittedScope = faults::NameHash("COMPONENT_RIFLE_SCOPE03");
  };
  const auto release = [] { scene.completed = false; };

  press();
  const Step clean = RunStep();  // the first removal on this weapon: its entry is new
  const auto cleanMemory = ScopeMemory;
  release();
  RunStep();
  RecordProperty("frame_allocations", std::to_string(clean.allocations));
  ASSERT_GE(clean.allocations, 1u);
  ASSERT_EQ(Count(clean.natives, "0x19F70C4D80494FF8"), 3u);  // all three scopes taken off
  ASSERT_EQ(cleanMemory.size(), 1u);

  for (const bool everyAfter : {false, true}) {
    for (std::uint64_t nth = 1; nth <= clean.allocations; ++nth) {
      SCOPED_TRACE((everyAfter ? "every allocation from the " : "only the ") + std::to_string(nth) +
                   "th of the toggle refused");
      ScopeMemory.clear();
      press();
      const Step failed = RunStep(nth, everyAfter);
      EXPECT_TRUE(failed.refused);
      EXPECT_FALSE(faults::ScriptEscaped());
      ExpectReport(failed, kBadAlloc, !everyAfter);
      EXPECT_EQ(Count(failed.natives, "0x19F70C4D80494FF8"), 0u) << "a scope was taken off without being remembered";
      EXPECT_EQ(Count(failed.natives, "0xCD181A959CFDD7F4"), 0u);
      EXPECT_TRUE(ScopeMemory.empty());

      // The player lets go and presses again: a clean toggle.
      release();
      EXPECT_TRUE(RunStep().log.empty());
      press();
      const Step again = RunStep();
      EXPECT_EQ(again.natives, clean.natives);
      EXPECT_TRUE(again.log.empty());
      EXPECT_EQ(ScopeMemory, cleanMemory);
      release();
      RunStep();
      if (HasFailure()) return;
    }
  }
}

TEST_F(AllocationFaultTest, FailingFrameWhoseReportRunsOutOfMemoryStillLogsItsFirstLine) {
  faults::WriteSettings("DisableReticleInScope=on\n");
  faults::StartScript();
  RunStep();
  const Step clean = RunStep();
  ASSERT_EQ(clean.log, (Lines{"Something wrong happened", Fatal("invalid stoi argument")}));
  RecordProperty("frame_allocations", std::to_string(clean.allocations));
  ASSERT_GE(clean.allocations, 1u);

  const Lines fatal = {Fatal("invalid stoi argument"), Fatal(std::bad_alloc().what())};
  for (const bool everyAfter : {false, true}) {
    for (std::uint64_t nth = 1; nth <= clean.allocations; ++nth) {
      SCOPED_TRACE((everyAfter ? "every allocation from the " : "only the ") + std::to_string(nth) +
                   "th of the failing frame refused");
      const Step failed = RunStep(nth, everyAfter);
      EXPECT_TRUE(failed.refused);
      EXPECT_FALSE(faults::ScriptEscaped());
      ASSERT_FALSE(failed.log.empty());
      EXPECT_EQ(failed.log.front(), "Something wrong happened");
      // Out of memory for good, the message cannot be built; a single refusal may leave it whole.
      ExpectReport(failed, fatal, !everyAfter && failed.log.size() == 2);
      EXPECT_EQ(failed.natives.front(), clean.natives.front());  // the frame began as usual

      const Step after = RunStep();
      EXPECT_EQ(after.log, clean.log);
      EXPECT_EQ(after.natives, clean.natives);
      if (HasFailure()) return;
    }
  }
}

TEST_F(AllocationFaultTest, OrdinaryFramesRunUnchangedWithMemoryExhausted) {
  faults::StartScript();
  RunStep();
  const auto idle = [] { scene = faults::Scene{}; };
  const auto shown = [] {
    scene = faults::Scene{};
    scene.distance = 1.0f;
  };
  const auto inScope = [] {
    scene = faults::Scene{};
    scene.inScope = true;
  };
  for (const auto& setScene : {+idle, +shown, +inScope}) {
    setScene();
    const Step clean = RunStep();
    const Step starved = RunStep(1, true);
    EXPECT_EQ(starved.allocations, 0u);
    EXPECT_FALSE(starved.refused);
    EXPECT_EQ(starved.natives, clean.natives);
    EXPECT_TRUE(starved.log.empty());
  }
  EXPECT_FALSE(faults::ScriptEscaped());
}

}  // namespace
