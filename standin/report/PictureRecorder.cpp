// What the picture needs from the world, taken as the run goes.
#include <fstream>

#include "report/Picture.h"
#include "report/Timeline.h"
#include "world/World.h"

namespace {
bool recording = false;
PictureRun run;

template <class Hashes>
std::string JoinedNames(const Hashes& hashes, const char* separator) {
  std::string out;
  for (const std::uint32_t hash : hashes) out += (out.empty() ? "" : separator) + NameOf(hash);
  return out;
}
}  // namespace

void PictureStart(const Scenario& s) {
  recording = true;
  run = PictureRun{};
  run.title = "Scenario " + s.name + (s.title.empty() ? "" : ": " + s.title);
  run.subtitle = std::to_string(s.frames) + " frames of " + std::to_string(s.frameMs) + " ms";
}

void PictureNote(PictureMark mark, const std::string& text) {
  if (recording) run.events.push_back(PictureEvent{TimelineFrame(), mark, text});
}

void PictureEndFrame() {
  if (!recording) return;
  const World& w = TheWorld;
  PictureFrame f;
  f.hasHorse = w.hasHorse;
  f.distance = DistanceToHorse();
  f.agitation = w.agitation;
  for (const HostPrompt& p : w.prompts) {
    if (!p.registered) continue;
    if (run.promptLabel.empty()) run.promptLabel = p.label;
    f.promptShown = f.promptShown || p.visible;
  }
  f.heldControls = JoinedNames(w.heldControls, ", ");
  for (std::size_t i = run.weapons.size(); i < w.weapons.size(); ++i) run.weapons.push_back(NameOf(w.weapons[i].hash));
  for (const Weapon& weapon : w.weapons) f.components.push_back(JoinedNames(weapon.components, " + "));
  f.inHand = w.held;
  f.reticleHidden = w.reticleHidden;
  f.aiming = w.aiming;
  f.onScreen.assign(w.drawnTexts.begin(), w.drawnTexts.end());
  run.frames.push_back(std::move(f));
}

bool PictureWrite(const std::string& path, std::string& error) {
  // Binary, so that the file is the same bytes everywhere.
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << PictureSvg(run);
  file.close();
  if (!file) {
    error = "cannot write the picture " + path;
    return false;
  }
  return true;
}
