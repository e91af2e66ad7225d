#pragma once
// The run as a picture: the host records what the world looked like at the end of every frame and what
// happened in between, and writes it as one self-contained SVG file (no scripts, fonts or links).
#include <string>
#include <vector>

#include "world/Scenario.h"
#include "world/World.h"

// The world at the end of one frame, with names already looked up.
struct PictureFrame {
  bool hasHorse = false;
  float distance = 0;  // from the player to the horse
  float agitation = 0;
  bool promptShown = false;
  std::string heldControls;             // joined with ", "; empty when none is held
  std::vector<std::string> components;  // per weapon the player has so far: its components, joined with " + "
  int inHand = -1;                      // index of the weapon in hand
  bool reticleHidden = false, aiming = false;
  std::vector<std::string> onScreen;  // texts drawn on this frame
};

struct PictureEvent {
  int frame = 0;
  Notice mark = Notice::kLoad;
  std::string text;  // for a throw: what the host threw, and from where
};

struct PictureRun {
  std::string title;     // the scenario's name and title
  std::string subtitle;  // frames and their length
  std::string promptLabel;
  std::vector<std::string> weapons;  // in the order the player got them
  std::vector<PictureFrame> frames;
  std::vector<PictureEvent> events;
};

// Recording: nothing is kept until PictureStart, so runs without a picture cost nothing.
void PictureStart(const Scenario& scenario);
void PictureNote(Notice mark, const std::string& text = std::string());
// Samples the world; call at the end of every frame, before the world gets ready for the next one.
void PictureEndFrame();
// Writes what was recorded as SVG, byte for byte the same on every platform.
bool PictureWrite(const std::string& path, std::string& error);

std::string PictureSvg(const PictureRun& run);
