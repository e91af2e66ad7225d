#include "features/Prompt.h"

#include "host/Bridge.h"
#include "host/NativeCall.h"
#include "host/Natives.h"

Prompt* ScopeTogglePrompt = nullptr;

namespace {
std::int32_t PromptCreate() { return CallNative<std::int32_t>(0x04F97DE45A519419); }
void PromptSetControl(std::int32_t prompt, std::uint32_t control) { CallNative(0xB5352B7494A08258, prompt, control); }
void PromptSetText(std::int32_t prompt, UINT64 text) { CallNative(0x5DD02A8318420DD7, prompt, text); }
void PromptSetGroup(std::int32_t prompt, std::int32_t group) {
  CallNative(0x2F11D3A254169EA4, prompt, SignWidened{group}, 0);
}
void PromptSetupStandard(std::int32_t prompt) { CallNative(0xCC6656799977741B, prompt, 1); }
void PromptSetupHold(std::int32_t prompt) { CallNative(0x94073D5CA3F16B7B, prompt, 1); }
void PromptSetupMash(std::int32_t prompt) { CallNative(0x32DF729D8BD3C1C6, prompt, 1, 0, 0, 0); }
void PromptSetFixedOption(std::int32_t prompt) { CallNative(0x560E76D5E2E1803F, prompt, 18, 1); }
void PromptRegisterEnd(std::int32_t prompt) { CallNative(0xF7AA2696A22AD8B9, prompt); }
void PromptSetEnabled(std::int32_t prompt, std::int32_t on) { CallNative(0x8A0FB4D03A630D21, prompt, on); }
void PromptSetVisible(std::int32_t prompt, std::int32_t on) { CallNative(0x71215ACCFDE075EE, prompt, on); }
bool PromptStandardCompleted(std::int32_t prompt) { return CallNative<bool>(0xC92AC953F0A982AE, prompt, 0); }
bool PromptHoldCompleted(std::int32_t prompt) { return CallNative<bool>(0xE0F65F0640EF0617, prompt); }
bool PromptMashCompleted(std::int32_t prompt) { return CallNative<bool>(0x845CE958416DC473, prompt); }
std::int32_t EntityPromptGroup(std::int32_t entity) { return CallNative<std::int32_t>(0xB796970BD125FCE8, entity); }
}  // namespace

Prompt::Prompt(const char* labelText, std::uint32_t controlHash, PromptMode promptMode) {
  handle = PromptCreate();
  control = controlHash;
  PromptSetControl(handle, control);
  label = labelText;
  PromptSetText(handle, CreateLiteralText(label));
  groupEntity = 0;
  PromptSetGroup(handle, 0);
  mode = promptMode;
  switch (mode) {
    case PromptMode::Standard: PromptSetupStandard(handle); break;
    case PromptMode::Hold:
    case PromptMode::HoldOnce: PromptSetupHold(handle); break;
    case PromptMode::Mash: PromptSetupMash(handle); break;
    default: break;  // an unknown mode gets no set-up and never completes
  }
  PromptSetFixedOption(handle);
  PromptRegisterEnd(handle);
  completionLatch = false;
  enabled = true;
  visible = false;
}

void Prompt::Show() {
  visible = true;
  ApplyVisibility();
}

void Prompt::Hide() {
  visible = false;
  ApplyVisibility();
}

void Prompt::ApplyVisibility() {
  PromptSetEnabled(handle, visible && enabled ? 1 : 0);
  PromptSetVisible(handle, visible ? 1 : 0);
}

bool Prompt::IsCompleted() {
  if (!enabled || !visible) return false;  // no host call, and the latch stays as it is
  switch (mode) {
    case PromptMode::Standard: return PromptStandardCompleted(handle);
    case PromptMode::Hold: return PromptHoldCompleted(handle);
    case PromptMode::HoldOnce:
      if (!PromptHoldCompleted(handle)) {
        completionLatch = false;
        return false;
      }
      if (completionLatch) return false;
      completionLatch = true;
      return true;
    case PromptMode::Mash: return PromptMashCompleted(handle);
    default: return false;
  }
}

void Prompt::SetGroupEntity(std::int32_t entity) {
  groupEntity = entity;
  if (entity == 0) {
    PromptSetGroup(handle, 0);
    return;
  }
  const std::int32_t group = EntityPromptGroup(entity);
  if (group != 0) PromptSetGroup(handle, group);
}
