// The natives about names, texts and the screen: the name hash, the host's text values, a text drawn on
// screen and the reticle hidden.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "world/Call.h"
#include "world/Format.h"
#include "world/World.h"

namespace {
void GetHashKey(Call& c) {
  const char* text = Text(c, 0);
  const std::uint32_t hash = RememberName(text != nullptr ? text : "");
  c.slots[0] = hash;
  c.result = Hex32(hash);
}

void CreateLiteralText(Call& c) {
  World& w = TheWorld;
  const char* kind = Text(c, 1);
  if (Int(c, 0) != 10 || kind == nullptr || std::strcmp(kind, "LITERAL_STRING") != 0)
    ReportProblem("CreateLiteralText asked for something other than 10 and \"LITERAL_STRING\"");
  const char* text = Text(c, 2);
  // One value per distinct text, so that a text made anew on every frame does not grow the host.
  const std::string made = text != nullptr ? text : "";
  auto found = std::find(w.texts.begin(), w.texts.end(), made);
  if (found == w.texts.end()) found = w.texts.insert(found, made);
  c.slots[0] = kTextBase + static_cast<UINT64>(found - w.texts.begin());
  c.result = "text " + Quoted(*found);
}

void SetScreenText(Call& c) {
  TheWorld.hasPendingText = true;
  TheWorld.pendingText = TextOf(Slot(c, 0));
}

void DrawScreenText(Call&) {
  World& w = TheWorld;
  if (!w.hasPendingText)
    ReportProblem("DrawScreenText without a text set first");
  else
    w.drawnTexts.insert(w.pendingText);
  w.hasPendingText = false;
}

void HideReticleThisFrame(Call&) { TheWorld.reticleHidden = true; }

const NativeInfo kNatives[] = {
    Answered(natives::GetHashKey, GetHashKey),
    Answered(natives::CreateLiteralText, CreateLiteralText),
    Answered(natives::SetScreenText, SetScreenText),
    Answered(natives::PlaceScreenText, nullptr),  // where it goes: nothing to see yet
    Answered(natives::DrawScreenText, DrawScreenText),
    Answered(natives::HideReticleThisFrame, HideReticleThisFrame),
};
}  // namespace

const NativeTable kScreenNatives{kNatives, std::size(kNatives)};
