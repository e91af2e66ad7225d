#pragma once
// Where the picture of a run puts things. The writer draws by these numbers, and the render test reads
// the rendered pixels by the same ones, so neither has to guess the other's geometry.
#include <algorithm>
#include <cmath>

namespace picture {
inline constexpr int kWidth = 1200;
inline constexpr int kPlotLeft = 200;  // left of it: the track labels and value axes
inline constexpr int kPlotRight = 1180;
inline constexpr int kTracksTop = 70;
inline constexpr int kTrackGap = 6;
inline constexpr int kAxisHeight = 48;
inline constexpr int kLegendRowHeight = 22;
inline constexpr int kLegendRows = 2;

// The limits the plug-in tests against, drawn across their tracks.
inline constexpr double kDistanceLimit = 3.0;
inline constexpr double kAgitationLimit = 0.3;

// Colours as 0xRRGGBB. Tracks differ by lightness and by their labels, so the picture reads in grey too.
inline constexpr int kPaper = 0xFFFFFF;
inline constexpr int kTrackBackground = 0xF4F4F4;  // a track where nothing is drawn
inline constexpr int kGrid = 0xD4D4D4;
inline constexpr int kDistanceLine = 0x08306B;
inline constexpr int kAgitationLine = 0x7F2704;
inline constexpr int kLimitLine = 0xE08214;
inline constexpr int kMark = 0x111111;
inline constexpr int kFailureMark = 0x7A0019;

// Top to bottom; the weapon track has one row per weapon the player has (at least one). kEnd is where
// the frame axis starts.
enum class Track {
  kDistance,
  kAgitation,
  kPrompt,
  kControl,
  kWeapon,
  kReticle,
  kAim,
  kFailure,
  kPlugin,
  kInteraction,
  kEnd
};

inline int TrackHeight(Track t) {
  switch (t) {
    case Track::kDistance: return 120;
    case Track::kAgitation: return 70;
    case Track::kWeapon: return 30;
    default: return 24;
  }
}

struct Area {
  int top = 0;
  int bottom = 0;
};

// The rows of a track; weapon picks the weapon's row.
inline Area TrackArea(Track t, int weapons, int weapon = 0) {
  int top = kTracksTop;
  for (int i = 0; i < static_cast<int>(Track::kEnd); ++i) {
    const Track each = static_cast<Track>(i);
    const int rows = each == Track::kWeapon ? std::max(weapons, 1) : 1;
    for (int row = 0; row < rows; ++row) {
      if (each == t && (t != Track::kWeapon || row == weapon)) return {top, top + TrackHeight(each)};
      top += TrackHeight(each) + kTrackGap;
    }
  }
  return {top, top};
}

inline int Height(int weapons) {
  return TrackArea(Track::kEnd, weapons).top + kAxisHeight + kLegendRows * kLegendRowHeight + 12;
}

inline int Middle(Area a) { return (a.top + a.bottom) / 2; }
// A band within a track's row: what holds over frames.
inline Area Band(Area row) { return {row.top + 4, row.bottom - 4}; }
// A weapon's row: its fitted components on top, a strip below while it is in hand.
inline Area ComponentBand(Area row) { return {row.top + 3, row.top + 21}; }
inline Area InHandStrip(Area row) { return {row.top + 23, row.top + 27}; }

// Frame f takes the column from FrameX(f) to FrameX(f + 1). Columns are frames + 1: the host unloads the
// plug-in after the last frame, on frame "frames".
inline int FrameX(int frame, int columns) {
  return kPlotLeft + static_cast<int>(static_cast<long long>(frame) * (kPlotRight - kPlotLeft) / columns);
}
inline int FrameCentre(int frame, int columns) { return (FrameX(frame, columns) + FrameX(frame + 1, columns)) / 2; }

// Value tracks run from 0 to a whole number of limits: at least two, so the limit sits low enough to
// see what lies above it, at most ten, beyond which values are drawn at the top.
inline double AxisMax(double largest, double limit) {
  return limit * std::clamp(std::ceil(largest / limit), 2.0, 10.0);
}
inline constexpr int kValuePad = 8;
inline int ValueY(Area row, double value, double axisMax) {
  const double share = std::clamp(value, 0.0, axisMax) / axisMax;
  return row.bottom - kValuePad - static_cast<int>(std::lround(share * (row.bottom - row.top - 2 * kValuePad)));
}
}  // namespace picture
