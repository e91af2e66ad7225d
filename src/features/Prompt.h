#pragma once
// A host interaction prompt: an on-screen hint bound to one control, completed by operating it.
#include <cstdint>

// How completion is set up and asked for.
enum class PromptMode : std::int32_t {
  Standard = 0,
  Hold = 1,      // completed on every poll while the host says so
  HoldOnce = 2,  // like Hold, but reported once per continuous run of completed answers
  Mash = 3,
};

// The one constructor sets every member, so none has a default of its own.
struct Prompt {
  std::int32_t handle;
  bool enabled;
  bool visible;
  const char* label;  // not owned; read only while constructing
  std::uint32_t control;
  std::int32_t groupEntity;
  PromptMode mode;
  bool completionLatch;  // HoldOnce: a completion was reported and the host still answers yes

  // Creates the host prompt, enabled but not yet shown; sends no visibility natives.
  Prompt(const char* label, std::uint32_t control, PromptMode mode);

  void Show();
  void Hide();
  // Sends the effective enabled state and the visibility, changed or not.
  void ApplyVisibility();
  bool IsCompleted();
  // Attaches the prompt to the entity's prompt group; 0 detaches it. An entity without a group leaves
  // the prompt where it was.
  void SetGroupEntity(std::int32_t entity);
};

// The one prompt of the plug-in, made by InitScript and kept for the life of the module (the host prompt
// is never deleted).
extern Prompt* ScopeTogglePrompt;
