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
void PromptSetLabel(Call& c) {
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
void PromptSetOption(Call& c) { FindPrompt(c); }  // an option of the host's own

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
    {0x04F97DE45A519419, "PromptCreate", "", PromptCreate},
    {0xB5352B7494A08258, "PromptSetControl", "ih", PromptSetControl},
    {0x5DD02A8318420DD7, "PromptSetLabel", "iv", PromptSetLabel},
    {0x2F11D3A254169EA4, "PromptSetGroup", "iwi", PromptSetGroup},
    {0xCC6656799977741B, "PromptSetupStandard", "ii", PromptSetupStandard},
    {0x94073D5CA3F16B7B, "PromptSetupHold", "ii", PromptSetupHold},
    {0x32DF729D8BD3C1C6, "PromptSetupMash", "iiiii", PromptSetupMash},
    {0x560E76D5E2E1803F, "PromptSetOption", "iii", PromptSetOption},
    {0xF7AA2696A22AD8B9, "PromptRegisterEnd", "i", PromptRegisterEnd},
    {0x8A0FB4D03A630D21, "PromptSetEnabled", "ii", PromptSetEnabled},
    {0x71215ACCFDE075EE, "PromptSetVisible", "ii", PromptSetVisible},
    {0xC92AC953F0A982AE, "PromptStandardCompleted", "ii", PromptCompleted},
    {0xE0F65F0640EF0617, "PromptHoldCompleted", "i", PromptCompleted},
    {0x845CE958416DC473, "PromptMashCompleted", "i", PromptCompleted},
};
}  // namespace

const NativeTable kPromptNatives{kNatives, std::size(kNatives)};
