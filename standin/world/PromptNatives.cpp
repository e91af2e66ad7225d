// The natives about prompts: making one, setting it up, showing it, and whether it completed, which the
// controls the scenario holds decide.
#include <cstdint>
#include <iterator>

#include "world/Call.h"
#include "world/World.h"

namespace {
HostPrompt* FindPrompt(const Call& c) {
  const std::int32_t handle = Int(c, 0);
  for (HostPrompt& p : TheWorld.prompts)
    if (p.handle == handle) return &p;
  ReportProblem(std::string(c.info->name) + " on prompt " + std::to_string(handle) + ", which does not exist");
  return nullptr;
}

void PromptCreate(Call& c) {
  HostPrompt p;
  p.handle = static_cast<std::int32_t>(TheWorld.prompts.size() + 1);
  TheWorld.prompts.push_back(p);
  Answer(c, p.handle);
}

void PromptSetControl(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) p->control = Hash(c, 1);
}
void PromptSetText(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) p->label = TextOf(Slot(c, 1));
}
void PromptSetGroup(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) p->group = Wide(c, 1);
}
void PromptSetupStandard(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) p->mode = "standard mode";
}
void PromptSetupHold(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) p->mode = "hold mode";
}
void PromptSetupMash(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) p->mode = "mash mode";
}
void PromptSetFixedOption(Call& c) { FindPrompt(c); }  // an option of the host's own

void PromptRegisterEnd(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) {
    p->registered = true;
    TellEvent("prompt " + Quoted(p->label) + " created on " + NameOf(p->control) + ", " + p->mode);
  }
}

void PromptSetEnabled(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) p->enabled = Int(c, 1) != 0;
}
void PromptSetVisible(Call& c) {
  if (HostPrompt* p = FindPrompt(c)) p->visible = Int(c, 1) != 0;
}

// Completed on every poll while the prompt is registered, shown and enabled and its control is held;
// told once per hold.
void PromptCompleted(Call& c) {
  HostPrompt* p = FindPrompt(c);
  const bool completed =
      p != nullptr && p->registered && p->visible && p->enabled && TheWorld.heldControls.count(p->control) != 0;
  if (completed && !p->completionSeen) {
    p->completionSeen = true;
    TellEvent("prompt " + Quoted(p->label) + " completed", Notice::kCompletion);
  }
  Answer(c, completed ? 1 : 0);
}

const NativeInfo kNatives[] = {
    Answered(natives::PromptCreate, PromptCreate),
    Answered(natives::PromptSetControl, PromptSetControl),
    Answered(natives::PromptSetText, PromptSetText),
    Answered(natives::PromptSetGroup, PromptSetGroup),
    Answered(natives::PromptSetupStandard, PromptSetupStandard),
    Answered(natives::PromptSetupHold, PromptSetupHold),
    Answered(natives::PromptSetupMash, PromptSetupMash),
    Answered(natives::PromptSetFixedOption, PromptSetFixedOption),
    Answered(natives::PromptRegisterEnd, PromptRegisterEnd),
    Answered(natives::PromptSetEnabled, PromptSetEnabled),
    Answered(natives::PromptSetVisible, PromptSetVisible),
    Answered(natives::PromptStandardCompleted, PromptCompleted),
    Answered(natives::PromptHoldCompleted, PromptCompleted),
    Answered(natives::PromptMashCompleted, PromptCompleted),
};
}  // namespace

const NativeTable kPromptNatives{kNatives, std::size(kNatives)};
