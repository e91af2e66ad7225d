// What the picture needs from the world, taken as the run goes.
#include <algorithm>
#include <fstream>
#include <vector>

#include "report/Picture.h"
#include "world/World.h"

namespace {
bool recording = false;
PictureRun run;

// In the order of their hashes, whatever the order they came in.
std::string JoinedNames(const std::uint32_t* hashes, std::size_t count, const char* separator) {
  std::vector<std::uint32_t> sorted(hashes, hashes + count);
  std::erase(sorted, 0u);  // a free place
  std::sort(sorted.begin(), sorted.end());
  std::string out;
  for (const std::uint32_t hash : sorted) out += (out.empty() ? "" : separator) + NameOf(hash);
  return out;
}
}  // namespace

void PictureStart(const Scenario& s) {
  recording = true;
  run = PictureRun{};
  run.title = "Scenario " + s.name + (s.title.empty() ? "" : ": " + s.title);
  run.subtitle = std::to_string(s.frames) + " frames of " + std::to_string(s.frameMs) + " ms";
}

void PictureNote(Notice mark, const std::string& text) {
  if (recording) run.events.push_back(PictureEvent{TheWorld.frame, mark, text});
}

void PictureEndFrame() {
  if (!recording) return;
  const Game& g = TheGame;
  PictureFrame f;
  f.hasHorse = g.hasHorse;
  f.distance = DistanceToHorse();
  f.agitation = g.agitation;
  for (std::size_t i = 0; i < g.promptCount; ++i) {
    const HostPrompt& p = g.prompts[i];
    if (!p.registered) continue;
    if (run.promptLabel.empty()) run.promptLabel = LabelOf(p);
    f.promptShown = f.promptShown || p.visible;
  }
  f.heldControls = JoinedNames(g.heldControls, g.heldCount, ", ");
  for (std::size_t i = run.weapons.size(); i < g.weaponCount; ++i) run.weapons.push_back(NameOf(g.weapons[i].hash));
  for (std::size_t i = 0; i < g.weaponCount; ++i)
    f.components.push_back(JoinedNames(g.weapons[i].components, kMaxComponents, " + "));
  f.inHand = g.inHand[1];
  f.reticleHidden = g.reticleHidden;
  f.aiming = g.aiming != 0;
  f.onScreen = TextsOnScreen();
  run.frames.push_back(std::move(f));
}

bool PictureWrite(const std::string& path, std::string& error) {
  // Binary, so that the file is the same bytes everywhere.
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << PictureSvg(run);
  file.close();
  if (!file) error = "cannot write the picture " + path;
  return static_cast<bool>(file);
}
