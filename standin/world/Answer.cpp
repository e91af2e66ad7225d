// Every native comes in here: its arguments checked against its entry, a failure the scenario planned
// thrown, the answer from its group's table, and the trace line. The end of a frame judges what the
// natives left on screen.
#include "world/Answer.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "world/Call.h"
#include "world/Format.h"
#include "world/Natives.h"
#include "world/World.h"

namespace {
// Checks each slot against the kind of value it should hold.
void CheckMarshalling(const Call& c) {
  const std::size_t expected = std::strlen(c.info->args);
  if (c.count != expected) {
    ReportProblem(std::string(c.info->name) + " sent with " + std::to_string(c.count) + " arguments instead of " +
                  std::to_string(expected));
    return;
  }
  for (std::size_t i = 0; i < c.count; ++i) {
    const UINT64 v = c.args[i];
    const char kind = c.info->args[i];
    const bool zeroHigh = (v >> 32) == 0;
    const bool signWide = static_cast<UINT64>(static_cast<std::int64_t>(static_cast<std::int32_t>(v))) == v;
    const char* wrong = nullptr;
    if ((kind == 'i' || kind == 'h' || kind == 'f') && !zeroHigh) wrong = "has bits in its high half";
    if (kind == 'w' && !signWide) wrong = "is not a sign-widened 32-bit value";
    if ((kind == 's' || kind == 'c') && v == 0) wrong = "is a null pointer";
    if (wrong != nullptr)
      ReportProblem(std::string(c.info->name) + " argument " + std::to_string(i + 1) + " (" + HexHash(v) + ") " +
                    wrong);
  }
}

std::string TraceArgs(const Call& c) {
  std::string out;
  for (std::size_t i = 0; i < c.count; ++i) {
    if (i > 0) out += ", ";
    const char kind = c.info != nullptr && i < std::strlen(c.info->args) ? c.info->args[i] : 'v';
    switch (kind) {
      case 'i': out += std::to_string(Int(c, i)); break;
      case 'w': out += std::to_string(Wide(c, i)); break;
      case 'h': out += NameOf(Hash(c, i)); break;
      case 'f': out += FormatNumber(Float(c, i)); break;
      case 's': out += QuotedText(Text(c, i)); break;
      case 'c': out += "&cell"; break;
      default:
        if (c.args[i] >= kTextBase && c.args[i] - kTextBase < TheWorld.texts.size())
          out += "text " + Quoted(TheWorld.texts[c.args[i] - kTextBase]);
        else
          out += HexHash(c.args[i]);
    }
  }
  return out;
}

void Trace(const Call& c, const char* outcome) {
  std::string line = "[" + std::to_string(TheWorld.frame) + "] ";
  line += c.info != nullptr ? c.info->name : "unknown " + HexHash(c.hash);
  line += "(" + TraceArgs(c) + ")";
  if (outcome != nullptr)
    line += std::string(" -> ") + outcome;
  else if (!c.result.empty())
    line += " -> " + c.result;
  line += '\n';
  std::fputs(line.c_str(), stdout);
}

void ThrowIfPlanned(const Call& c) {
  for (PlannedFailure& f : TheWorld.failures) {
    if (f.done || f.frame != TheWorld.frame || f.native != c.hash) continue;
    f.done = true;
    const std::string name = c.info != nullptr ? c.info->name : HexHash(c.hash);
    const std::string what = "the host throws " +
                             (f.standard ? "std::runtime_error(" + Quoted(f.message) + ")" : std::string("an int")) +
                             " from " + name;
    TellEvent(what, Notice::kThrown);
    if (f.standard) throw std::runtime_error(f.message);
    throw 42;
  }
}

std::string GroupName(std::int64_t group) {
  if (group == 0) return "in no prompt group";
  if (TheWorld.hasHorse && TheWorld.horseHasGroup && group == TheWorld.horseGroup) return "in the horse's prompt group";
  return "in prompt group " + std::to_string(group);
}
}  // namespace

void AnswerNative(UINT64 hash, const UINT64* args, std::size_t count, UINT64* slots) {
  Call c{hash, FindNative(hash), args, count, slots, {}};
  if (!TheWorld.pluginLoaded) {
    ++TheWorld.nativesAfterUnload;
    ReportProblem("a native was called while the plug-in was not loaded");
  }
  if (c.info == nullptr) {
    ReportProblem("unknown native " + HexHash(hash) + " with " + std::to_string(count) +
                  " arguments, answered with zeros");
  } else {
    CheckMarshalling(c);
  }
  try {
    ThrowIfPlanned(c);
    if (c.info != nullptr && c.info->answer != nullptr) c.info->answer(c);
  } catch (...) {
    if (TheWorld.trace) Trace(c, "throws");
    throw;
  }
  if (TheWorld.trace) Trace(c, nullptr);
}

void WorldEndFrame() {
  World& w = TheWorld;
  for (HostPrompt& p : w.prompts) {
    if (!p.registered) continue;
    const bool changed =
        p.visible != p.seenVisible ||
        (p.visible && (p.enabled != p.seenEnabled || p.label != p.seenLabel || p.group != p.seenGroup));
    if (changed) {
      if (p.visible)
        TellEvent("prompt " + Quoted(p.label) + " shown, " + GroupName(p.group) + (p.enabled ? "" : ", disabled"));
      else
        TellEvent("prompt " + Quoted(p.label) + " hidden");
    }
    p.seenVisible = p.visible;
    p.seenEnabled = p.enabled;
    p.seenLabel = p.label;
    p.seenGroup = p.group;
    if (w.heldControls.count(p.control) == 0) p.completionSeen = false;
  }
  if (w.reticleHidden) TellState("reticle hidden");
  for (const std::string& text : w.drawnTexts) TellState("on screen: " + Quoted(text));
  w.reticleHidden = false;
  w.drawnTexts.clear();
  for (PlannedFailure& f : w.failures) {
    if (f.done || f.frame != TheWorld.frame) continue;
    f.done = true;
    const NativeInfo* info = FindNative(f.native);
    ReportProblem("the failure planned for " + (info != nullptr ? std::string(info->name) : HexHash(f.native)) +
                  " on frame " + std::to_string(f.frame) + " never happened: the native was not called");
  }
}
