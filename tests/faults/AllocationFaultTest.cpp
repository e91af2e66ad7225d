// Heap allocation failing at each allocation of start-up and of a frame in turn, once or for good: the
// script reports it the way its failure path says, nothing leaves ScriptMain, and once memory is back
// the plug-in is exactly what a clean run makes of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "FatalText.h"
#include "FaultTest.h"
#include "core/Settings.h"
#include "features/ScopeToggle.h"
#include "testkit/CallLines.h"
#include "testkit/Catalogue.h"
#include "testkit/Heap.h"
#include "testkit/ScriptRunner.h"
#include "testkit/WorkFolder.h"

namespace {
// Allocation failing on demand, through the kit's replaced operator new. Only the script's allocations
// while a failure is armed are counted; the test's own thread always gets its memory.
std::atomic<bool> armed{false};
std::atomic<std::uint64_t> failAt{0};
std::atomic<bool> failAfter{false};
std::atomic<std::uint64_t> seen{0};
std::atomic<bool> refused{false};

bool Admit() {
  if (!armed.load() || !OnScript()) return true;
  const std::uint64_t n = seen.fetch_add(1) + 1;
  const std::uint64_t at = failAt.load();
  const bool refuse = at != 0 && (n == at || (failAfter.load() && n > at));
  if (refuse) refused.store(true);
  return !refuse;
}

using Lines = std::vector<std::string>;

bool EndsWith(const Lines& all, const Lines& tail) {
  return all.size() >= tail.size() && std::equal(tail.begin(), tail.end(), all.end() - tail.size());
}

std::size_t Count(const Lines& lines, const NativeEntry& native) {
  const std::string call = std::string(native.name) + "(";
  return static_cast<std::size_t>(
      std::ranges::count_if(lines, [&](const std::string& n) { return n.starts_with(call); }));
}

// What one step of the script did.
struct Step {
  std::uint64_t allocations = 0;
  bool refused = false;
  Lines natives;
  Lines log;
};

// The host's text values with the texts it made before: a failure's message made one before a retried
// start-up makes its label's.
Lines WithoutTextValues(Lines lines) {
  for (std::string& line : lines)
    for (std::size_t at = line.find("0x7E57"); at != std::string::npos; at = line.find("0x7E57", at + 1))
      line.replace(at, 18, "<host text>");
  return lines;
}

// Runs the script to its next wait, counting its allocations: the nth one (1 for the first) throws
// std::bad_alloc, and with everyAfter so does every later one (memory stays exhausted); nth 0 refuses
// nothing.
Step RunStep(std::uint64_t nth = 0, bool everyAfter = false) {
  HeapAdmits = Admit;
  seen = 0;
  refused = false;
  failAt = nth;
  failAfter = everyAfter;
  armed = true;
  faults::Step();
  armed = false;
  return {seen.load(), refused.load(), WithoutTextValues(TakeCallLines()), faults::TakeLog()};
}

// The step reported one failure: the first line always; then, if the message could be built, one of
// the expected fatal messages, logged and shown on screen as the step's last natives.
void ExpectReport(const Step& step, const Lines& fatalMessages, bool messageExpected) {
  const std::size_t first = std::find(step.log.begin(), step.log.end(), "Something wrong happened") - step.log.begin();
  ASSERT_LT(first, step.log.size()) << "no report in the log";
  const Lines report(step.log.begin() + static_cast<std::ptrdiff_t>(first), step.log.end());
  if (!messageExpected) {
    EXPECT_EQ(report, Lines{"Something wrong happened"});
    EXPECT_EQ(Count(step.natives, natives::CreateLiteralText), 0u) << "nothing can be shown without a message";
    return;
  }
  ASSERT_EQ(report.size(), 2u);
  EXPECT_NE(std::find(fatalMessages.begin(), fatalMessages.end(), report[1]), fatalMessages.end()) << report[1];
  EXPECT_TRUE(EndsWith(step.natives, WithoutTextValues(ShownOnScreen(report[1]))));
}

class AllocationFaultTest : public faults::FaultTest {
 protected:
  void SetUp() override {
    if (!kHeapWatched) GTEST_SKIP() << "this build cannot replace operator new (sanitizer runtime)";
    FaultTest::SetUp();
  }

  void TearDown() override {
    armed = false;
    if (kHeapWatched) FaultTest::TearDown();
  }
};

const Lines kBadAlloc = {Fatal(std::bad_alloc().what())};

// Runs a step again for each allocation of its clean run refused, first that one alone, then it and every
// later one (memory exhausted for good): `before` readies the step, `check` judges the refused one.
// Stops at the first refusal that fails.
void EachRefusal(std::uint64_t allocations, const char* of, const std::function<void()>& before,
                 const std::function<void(const Step& failed, bool everyAfter)>& check) {
  for (const bool everyAfter : {false, true}) {
    for (std::uint64_t nth = 1; nth <= allocations; ++nth) {
      SCOPED_TRACE((everyAfter ? "every allocation from the " : "only the ") + std::to_string(nth) + "th of " + of +
                   " refused");
      before();
      const Step failed = RunStep(nth, everyAfter);
      EXPECT_TRUE(failed.refused);
      EXPECT_FALSE(faults::ScriptEscaped());
      check(failed, everyAfter);
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST_F(AllocationFaultTest, StartUpSurvivesEachFailedAllocationAndThenStartsCleanly) {
  // A file that makes the loader allocate a good deal: a long label, an unknown name, a rejected line.
  WriteBytes("Varnholt.ini",
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
  const std::size_t files = OpenFileCount();

  const auto restart = [] {
    ResetPlugin();
    faults::StartScript();
  };
  EachRefusal(clean.allocations, "start-up", restart, [&](const Step& failed, bool everyAfter) {
    // Whatever the loader logged before the failure is the start of what a clean start logs.
    const Lines logged(failed.log.begin(), std::find(failed.log.begin(), failed.log.end(), "Something wrong happened"));
    EXPECT_LE(logged.size(), clean.log.size());
    EXPECT_EQ(logged, Lines(clean.log.begin(), clean.log.begin() + static_cast<std::ptrdiff_t>(
                                                                       std::min(logged.size(), clean.log.size()))));
    ExpectReport(failed, kBadAlloc, !everyAfter);
    EXPECT_EQ(OpenFileCount(), files) << "the failed start-up left the settings file open";

    // Memory is back: the next frame starts the plug-in again, exactly as a clean start does.
    const Step retried = RunStep();
    EXPECT_EQ(retried.natives, clean.natives);
    EXPECT_EQ(retried.log, clean.log);
    ASSERT_NE(Settings, nullptr);
    EXPECT_EQ(*Settings, cleanStore);
    EXPECT_EQ(RunStep().natives, cleanFrame.natives);
    EXPECT_FALSE(faults::ScriptEscaped());
  });
}

TEST_F(AllocationFaultTest, ToggleThatCannotRememberTheScopeTakesNothingOffAndTheNextOneWorks) {
  faults::StartScript();
  faults::StandBesideHorse(true);
  RunStep();  // start-up and a frame with the prompt shown
  const auto press = [] {
    faults::HoldToggle(true);
    faults::FitScope("COMPONENT_RIFLE_SCOPE03");  // again, after a toggle that took it off
  };
  const auto release = [] { faults::HoldToggle(false); };

  press();
  const Step clean = RunStep();  // the first removal on this weapon: its entry is new
  const auto cleanMemory = ScopeMemory;
  release();
  RunStep();
  RecordProperty("frame_allocations", std::to_string(clean.allocations));
  ASSERT_GE(clean.allocations, 1u);
  ASSERT_EQ(Count(clean.natives, natives::RemoveWeaponComponent), 3u);  // all three scopes taken off
  ASSERT_EQ(cleanMemory.size(), 1u);

  const auto pressAfresh = [&press] {
    ScopeMemory.clear();
    press();
  };
  EachRefusal(clean.allocations, "the toggle", pressAfresh, [&](const Step& failed, bool everyAfter) {
    ExpectReport(failed, kBadAlloc, !everyAfter);
    EXPECT_EQ(Count(failed.natives, natives::RemoveWeaponComponent), 0u)
        << "a scope was taken off without being remembered";
    EXPECT_EQ(Count(failed.natives, natives::StartInteraction), 0u);
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
  });
}

TEST_F(AllocationFaultTest, FailingFrameWhoseReportRunsOutOfMemoryStillLogsItsFirstLine) {
  WriteBytes("Varnholt.ini", "DisableReticleInScope=on\n");
  faults::StartScript();
  RunStep();
  const Step clean = RunStep();
  ASSERT_EQ(clean.log, (Lines{"Something wrong happened", Fatal("invalid stoi argument")}));
  RecordProperty("frame_allocations", std::to_string(clean.allocations));
  ASSERT_GE(clean.allocations, 1u);

  const Lines fatal = {Fatal("invalid stoi argument"), Fatal(std::bad_alloc().what())};
  EachRefusal(
      clean.allocations, "the failing frame", [] {},
      [&](const Step& failed, bool everyAfter) {
        ASSERT_FALSE(failed.log.empty());
        EXPECT_EQ(failed.log.front(), "Something wrong happened");
        // Out of memory for good, the message cannot be built; a single refusal may leave it whole.
        ExpectReport(failed, fatal, !everyAfter && failed.log.size() == 2);
        EXPECT_EQ(failed.natives.front(), clean.natives.front());  // the frame began as usual

        const Step after = RunStep();
        EXPECT_EQ(after.log, clean.log);
        EXPECT_EQ(after.natives, clean.natives);
      });
}

TEST_F(AllocationFaultTest, OrdinaryFramesRunUnchangedWithMemoryExhausted) {
  faults::StartScript();
  RunStep();
  // Idle, the prompt shown, in scope.
  for (const auto& [beside, aiming] : {std::pair{false, false}, {true, false}, {false, true}}) {
    faults::StandBesideHorse(beside);
    faults::Aim(aiming);
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
