// The natives about the horse: the player's horse, its prompt group, its agitation and the two states
// that keep the prompt away, and the interaction the plug-in starts with it.
#include <cstdint>
#include <cstring>
#include <iterator>

#include "world/Call.h"
#include "world/World.h"

namespace {
void GetPlayerMount(Call& c) {
  const World& w = TheWorld;
  Answer(c, w.hasHorse && Int(c, 0) == w.playerId ? w.horse : 0);
}

void EntityPromptGroup(Call& c) {
  const World& w = TheWorld;
  Answer(c, w.hasHorse && w.horseHasGroup && Int(c, 0) == w.horse ? w.horseGroup : 0);
}

void GetHorseAgitation(Call& c) {
  const World& w = TheWorld;
  const char* attribute = Text(c, 1);
  const bool agitation = attribute != nullptr && std::strcmp(attribute, "Agitation") == 0;
  if (!agitation)
    ReportProblem("GetHorseAgitation asked for " + QuotedText(attribute) + ", which the stand-in does not know");
  AnswerFloat(c, agitation && w.hasHorse && Wide(c, 0) == w.horse ? w.agitation : 0.0f);
}

template <int kState>
void HorseState(Call& c) {
  const World& w = TheWorld;
  Answer(c, w.hasHorse && Int(c, 0) == w.horse && w.horseState[kState] ? 1 : 0);
}

void StartInteraction(Call& c) {
  const std::string what =
      "interaction " + NameOf(Hash(c, 2)) + " started: " + EntityName(Int(c, 0)) + " with " + EntityName(Wide(c, 1));
  TellEvent(what, Notice::kInteraction);
}

const NativeInfo kNatives[] = {
    Answered(natives::GetPlayerMount, GetPlayerMount),
    Answered(natives::EntityPromptGroup, EntityPromptGroup),
    Answered(natives::GetHorseAgitation, GetHorseAgitation),
    Answered(natives::HorseInFirstBlockingState, HorseState<0>),
    Answered(natives::HorseInSecondBlockingState, HorseState<1>),
    Answered(natives::StartInteraction, StartInteraction),
};
}  // namespace

const NativeTable kHorseNatives{kNatives, std::size(kNatives)};
