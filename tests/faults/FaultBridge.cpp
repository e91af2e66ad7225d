#include "FaultBridge.h"

#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "FailingAllocator.h"
#include "host/Script.h"

namespace faults {
Scene scene;

}  // namespace faults

namespace {
using faults::scene;

// The hand-off between the test and one script thread. Never freed: the thread of a finished test
// waits on it for ever.
struct Handoff {
  std::mutex mutex;
  std::condition_variable turn;
  bool scriptRuns = false;
  bool escaped = false;
  DWORD wait = 0;
};
Handoff* current = nullptr;
thread_local Handoff* mine = nullptr;

// The current native and the notes of the ones sent, with no heap involved.
UINT64 hash = 0;
UINT64 args[8] = {};
unsigned argCount = 0;
UINT64 slots[3] = {};
constexpr int kMaxNotes = 2048;
char notes[kMaxNotes][192];
int noteCount = 0;
bool notesOverflowed = false;

bool IsText(UINT64 h, unsigned i) {
  return (h == 0xFD340785ADF8CFB7 && i == 0) || (h == 0xFA925AC00EB830B9 && i >= 1) ||
         (h == 0x56E58D4D118FB45E && i == 1);
}

void Note() {
  if (noteCount == kMaxNotes) {
    notesOverflowed = true;
    return;
  }
  char* out = notes[noteCount++];
  const std::size_t size = sizeof notes[0];
  int n = std::snprintf(out, size, "0x%016llX(", static_cast<unsigned long long>(hash));
  for (unsigned i = 0; i < argCount && n > 0 && static_cast<std::size_t>(n) < size; ++i) {
    const char* comma = i == 0 ? "" : ", ";
    if (IsText(hash, i))
      n += std::snprintf(out + n, size - n, "%s'%s'", comma, reinterpret_cast<const char*>(args[i]));
    else if (hash == 0x3A87E44BB9A01D54 && i == 1)
      n += std::snprintf(out + n, size - n, "%scell", comma);
    else
      n += std::snprintf(out + n, size - n, "%s0x%llX", comma, static_cast<unsigned long long>(args[i]));
  }
  if (n > 0 && static_cast<std::size_t>(n) < size) std::snprintf(out + n, size - n, ")");
}

UINT64 Low(std::int32_t v) { return static_cast<std::uint32_t>(v); }

void WaitForScript(Handoff& h, std::unique_lock<std::mutex>& lock) {
  if (!h.turn.wait_for(lock, std::chrono::seconds(10), [&h] { return !h.scriptRuns; })) {
    std::fprintf(stderr, "the script did not reach its next wait\n");
    std::abort();
  }
}
}  // namespace

void scriptRegister(HMODULE, void (*)()) {}
void scriptUnregister(HMODULE) {}
void keyboardHandlerRegister(KeyboardHandler) {}
void keyboardHandlerUnregister(KeyboardHandler) {}

void scriptWait(DWORD milliseconds) {
  Handoff& h = *mine;
  std::unique_lock<std::mutex> lock(h.mutex);
  h.wait = milliseconds;
  h.scriptRuns = false;
  h.turn.notify_all();
  h.turn.wait(lock, [&h] { return h.scriptRuns; });
}

void nativeInit(UINT64 h) {
  hash = h;
  argCount = 0;
}

void nativePush64(UINT64 value) { args[argCount++ & 7] = value; }

PUINT64 nativeCall() {
  Note();
  UINT64 answer = 0;
  switch (hash) {
    case 0x096275889B8E0EE0: answer = Low(scene.playerPed); break;
    case 0xFD340785ADF8CFB7: answer = faults::NameHash(reinterpret_cast<const char*>(args[0])); break;
    case 0xB48050D326E9A2F3: answer = Low(scene.horse); break;
    case 0xB796970BD125FCE8: answer = Low(scene.promptGroup); break;
    case 0x3A87E44BB9A01D54: *reinterpret_cast<UINT64*>(args[1]) = scene.weapon; break;
    case 0x0BE7F4E3CDBAFB28: answer = std::bit_cast<std::uint32_t>(scene.distance); break;
    case 0xDDB2578E95EF7138: answer = scene.weaponAdmitted; break;
    case 0x3B390A939AF0B5FC: answer = Low(scene.weaponEntity); break;
    case 0xE0F65F0640EF0617: answer = scene.completed; break;
    case 0x76A18844E743BF91: answer = scene.fittedScope != 0 && args[1] == scene.fittedScope; break;
    case 0x04D7F33640662FA2: answer = scene.inScope; break;
    case 0x705BE297EEBDB95D: answer = scene.inScope; break;
    case 0x04F97DE45A519419: answer = 7; break;
    case 0xFA925AC00EB830B9: answer = 0x5EC7; break;
    default: break;
  }
  slots[0] = answer;
  slots[1] = slots[2] = 0;
  return slots;
}

namespace faults {

void StartScript() {
  auto* h = new Handoff;
  current = h;
  std::unique_lock<std::mutex> lock(h->mutex);
  h->scriptRuns = true;
  std::thread([h] {
    mine = h;
    MarkScriptThread();
    try {
      ScriptMain();
    } catch (...) {
      h->escaped = true;
    }
    // ScriptMain never returns of its own accord; if it does, hand back and stay out of the way.
    std::unique_lock<std::mutex> done(h->mutex);
    h->scriptRuns = false;
    h->turn.notify_all();
    h->turn.wait(done, [] { return false; });
  }).detach();
  WaitForScript(*h, lock);
}

DWORD Step() {
  Handoff& h = *current;
  std::unique_lock<std::mutex> lock(h.mutex);
  h.scriptRuns = true;
  h.turn.notify_all();
  WaitForScript(h, lock);
  return h.wait;
}

bool ScriptEscaped() {
  std::lock_guard<std::mutex> lock(current->mutex);
  return current->escaped;
}

std::vector<std::string> TakeNatives() {
  std::vector<std::string> taken(notes, notes + noteCount);
  if (notesOverflowed) taken.emplace_back("(more natives than could be noted)");
  noteCount = 0;
  notesOverflowed = false;
  return taken;
}

}  // namespace faults
