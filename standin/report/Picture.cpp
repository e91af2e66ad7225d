// The recorded run as SVG, built as plain text. Every coordinate is a whole number and every value is
// printed by FormatNumber, so the native and the Windows host write the same bytes.
#include "report/Picture.h"

#include <cstdio>
#include <map>

#include "report/PictureLayout.h"
#include "world/Format.h"

namespace {
using picture::Area;
using picture::Middle;
using picture::Track;

struct Svg {
  const PictureRun& run;
  int frames;   // recorded
  int columns;  // one more: what happens after the last frame
  int weapons;
  std::string out;
};

std::string N(int value) { return std::to_string(value); }

// Whole numbers in a fixed form, such as a path's: Printed("M%d %d H%d", x, y, right).
template <class... Values>
std::string Printed(const char* form, Values... values) {
  char text[160];
  std::snprintf(text, sizeof text, form, values...);
  return text;
}

std::string Colour(int rgb) { return Printed("#%06x", static_cast<unsigned>(rgb) & 0xFFFFFFu); }

// Text for XML; bytes outside printable ASCII become '?', so that no text can break the file.
std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c == '\n' || (c >= 0x20 && c < 0x7F) ? c : '?';
    }
  }
  return out;
}

std::string Frames(int first, int last) {
  return first == last ? "frame " + N(first) : "frames " + N(first) + "-" + N(last);
}

// The name as it fits into width pixels at charWidth each: whole, or cut before its '_'-parts from the
// left (COMPONENT_RIFLE_SCOPE04, RIFLE_SCOPE04, SCOPE04), or not at all. A list of names is never cut.
std::string Fitting(std::string name, int width, int charWidth) {
  while (static_cast<int>(name.size()) * charWidth > width) {
    const std::size_t cut = name.find('_');
    if (cut == std::string::npos || name.find(' ') != std::string::npos) return std::string();
    name.erase(0, cut + 1);
  }
  return name;
}

void Rect(Svg& s, int x, int y, int width, int height, int fill, const std::string& title = std::string()) {
  s.out += "<rect x=\"" + N(x) + "\" y=\"" + N(y) + "\" width=\"" + N(width) + "\" height=\"" + N(height) +
           "\" fill=\"" + Colour(fill) + "\"";
  s.out += title.empty() ? "/>\n" : "><title>" + Escaped(title) + "</title></rect>\n";
}

// A filled shape, such as a mark, with its explanation on hover.
void Shape(Svg& s, const std::string& path, int fill, const std::string& title) {
  s.out += "<path d=\"" + path + "\" fill=\"" + Colour(fill) + "\"><title>" + Escaped(title) + "</title></path>\n";
}

void Text(Svg& s, int x, int y, const std::string& text, const std::string& attributes = std::string()) {
  s.out += "<text x=\"" + N(x) + "\" y=\"" + N(y) + "\"" + (attributes.empty() ? "" : " " + attributes) + ">" +
           Escaped(text) + "</text>\n";
}

// Calls draw(first, last, key) for each run of consecutive frames that share a non-empty key.
template <class Key, class Draw>
void ForEachRun(int frames, Key key, Draw draw) {
  int first = 0;
  for (int f = 1; f <= frames; ++f) {
    if (f < frames && key(f) == key(first)) continue;
    const std::string k = key(first);
    if (!k.empty()) draw(first, f - 1, k);
    first = f;
  }
}

// A band over each run of frames where key is not empty; a key other than "yes" is its label. With
// fills, each key has a fill of its own.
template <class Key>
void Bands(Svg& s, Area area, int fill, const std::string& what, Key key,
           const std::map<std::string, int>* fills = nullptr) {
  ForEachRun(s.frames, key, [&](int first, int last, const std::string& k) {
    // A band that another one follows directly ends a pixel early, so that the two stay apart.
    const bool followed = last + 1 < s.frames && !key(last + 1).empty();
    const int x = picture::FrameX(first, s.columns),
              width = picture::FrameX(last + 1, s.columns) - x - (followed ? 1 : 0);
    const bool labelled = k != "yes";
    Rect(s, x, area.top, width, area.bottom - area.top, fills != nullptr ? fills->at(k) : fill,
         what + (labelled ? " " + k : "") + ", " + Frames(first, last));
    const std::string label = labelled ? Fitting(k, width - 8, 6) : std::string();
    if (!label.empty())
      Text(s, x + 4, area.bottom - (area.bottom - area.top - 9) / 2 - 1, label,
           "font-family=\"monospace\" font-size=\"10\"");
  });
}

std::string YesIf(bool holds) { return holds ? "yes" : ""; }

int TickStep(int frames) {
  for (const int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000})
    if (frames / step <= 12) return step;
  return 100000;
}

// The track's name on the left, its empty background and the frame grid.
void TrackLabel(Svg& s, Area row, const std::string& label, const std::string& note = std::string()) {
  constexpr std::size_t kRoom = 22;  // characters left of the plot
  Text(s, 12, row.top + 15, label.size() <= kRoom ? label : label.substr(0, kRoom - 3) + "...", "font-size=\"12\"");
  if (!note.empty()) Text(s, 12, row.top + 29, note, "font-size=\"10\" fill=\"#666\"");
  Rect(s, picture::kPlotLeft, row.top, picture::kPlotRight - picture::kPlotLeft, row.bottom - row.top,
       picture::kTrackBackground);
  for (int f = 0; f <= s.frames; f += TickStep(s.frames))
    Rect(s, picture::FrameX(f, s.columns), row.top, 1, row.bottom - row.top, picture::kGrid);
}

// A value at the end of each frame as a stepped line, gaps where there is no horse, and the limit.
template <class Value>
void ValueTrack(Svg& s, Track track, const std::string& label, const std::string& note, double limit, int colour,
                Value value) {
  const Area row = picture::TrackArea(track, s.weapons);
  double largest = 0;
  for (const PictureFrame& f : s.run.frames)
    if (f.hasHorse && value(f) > largest) largest = value(f);
  const double top = picture::AxisMax(largest, limit);
  TrackLabel(s, row, label, note);
  const std::string axis = "font-size=\"10\" text-anchor=\"end\"";
  Text(s, picture::kPlotLeft - 6, picture::ValueY(row, 0, top) + 4, "0", axis);
  Text(s, picture::kPlotLeft - 6, picture::ValueY(row, top, top) + 4, FormatNumber(top), axis);
  const int limitY = picture::ValueY(row, limit, top);
  Text(s, picture::kPlotLeft - 6, limitY + 4, "limit " + FormatNumber(limit),
       axis + " fill=\"" + Colour(picture::kLimitLine) + "\" font-weight=\"bold\"");
  s.out += "<path d=\"M" + N(picture::kPlotLeft) + " " + N(limitY) + " H" + N(picture::kPlotRight) +
           "\" fill=\"none\" stroke=\"" + Colour(picture::kLimitLine) +
           "\" stroke-width=\"2\" stroke-dasharray=\"8 5\"><title>limit " + FormatNumber(limit) + "</title></path>\n";

  const auto& frames = s.run.frames;
  auto text = [&](int f) { return frames[f].hasHorse ? FormatNumber(value(frames[f])) : std::string(); };
  ForEachRun(s.frames, text, [&](int first, int last, const std::string& shown) {
    const int y = picture::ValueY(row, value(frames[first]), top);
    const bool joined = first > 0 && frames[first - 1].hasHorse;
    const int from = joined ? picture::ValueY(row, value(frames[first - 1]), top) : y;
    s.out += "<path d=\"M" + N(picture::FrameX(first, s.columns)) + " " + N(from) + " V" + N(y) + " H" +
             N(picture::FrameX(last + 1, s.columns)) + "\" fill=\"none\" stroke=\"" + Colour(colour) +
             "\" stroke-width=\"2\"><title>" + shown + ", " + Frames(first, last) + "</title></path>\n";
  });
  ForEachRun(
      s.frames, [&](int f) { return YesIf(!frames[f].hasHorse); },
      [&](int first, int last, const std::string&) {
        const int x = picture::FrameX(first, s.columns), width = picture::FrameX(last + 1, s.columns) - x;
        if (width >= 60)
          Text(s, x + width / 2, row.bottom - 12, "no horse", "font-size=\"11\" fill=\"#666\" text-anchor=\"middle\"");
      });
}

// A mark at each event of one kind: path(centre, band) gives its shape; a label, if any, goes beside it.
template <class Path>
void Marks(Svg& s, Track track, Notice mark, int fill, Path path, const char* label = nullptr) {
  const Area row = picture::Band(picture::TrackArea(track, s.weapons));
  for (const PictureEvent& e : s.run.events) {
    if (e.mark != mark) continue;
    const int x = picture::FrameCentre(e.frame, s.columns);
    Shape(s, path(x, row), fill, e.text + ", frame " + N(e.frame));
    const bool right = x + 50 < picture::kPlotRight;
    if (label != nullptr)
      Text(s, right ? x + 6 : x - 6, row.bottom - 3, label,
           std::string("font-size=\"11\"") + (right ? "" : " text-anchor=\"end\""));
  }
}

std::string Triangle(int x, Area r) { return Printed("M%d %d H%d L%d %d Z", x - 5, r.top, x + 5, x, r.bottom); }
std::string Diamond(int x, Area r) {
  return Printed("M%d %d L%d %d L%d %d L%d %d Z", x, r.top, x + 6, Middle(r), x, r.bottom, x - 6, Middle(r));
}
std::string Circle(int x, Area r) {
  return Printed("M%d %d A6 6 0 1 0 %d %d A6 6 0 1 0 %d %d Z", x - 6, Middle(r), x + 6, Middle(r), x - 6, Middle(r));
}
std::string Bar(int x, Area r) { return Printed("M%d %d H%d V%d H%d Z", x - 1, r.top - 2, x + 2, r.bottom + 2, x - 1); }

// A frame fails when the host throws or a text is on screen: the plug-in's only text is its failure message.
void Failures(Svg& s) {
  const Area row = picture::Band(picture::TrackArea(Track::kFailure, s.weapons));
  std::map<int, std::string> what;
  for (int f = 0; f < s.frames; ++f)
    for (const std::string& text : s.run.frames[f].onScreen) what[f] += "\non screen: " + text;
  for (const PictureEvent& e : s.run.events)
    if (e.mark == Notice::kThrown) what[e.frame] += "\n" + e.text;
  for (const auto& [frame, text] : what)
    Shape(s, Circle(picture::FrameCentre(frame, s.columns), row), picture::kFailureMark, "frame " + N(frame) + text);
}

void Weapons(Svg& s) {
  const int palette[] = {0xD9C49A, 0xA6CEE3, 0xB2DF8A, 0xCAB2D6};
  std::map<std::string, int> fills;  // the same components, the same fill in every row
  if (s.run.weapons.empty()) TrackLabel(s, picture::TrackArea(Track::kWeapon, 0), "no weapon");
  for (int i = 0; i < s.weapons; ++i) {
    const Area row = picture::TrackArea(Track::kWeapon, s.weapons, i);
    TrackLabel(s, row, s.run.weapons[i]);
    const auto& frames = s.run.frames;
    auto fitted = [&](int f) {
      const std::vector<std::string>& c = frames[f].components;
      return i < static_cast<int>(c.size()) ? c[i] : std::string();
    };
    for (int f = 0; f < s.frames; ++f)
      if (!fitted(f).empty()) fills.emplace(fitted(f), palette[fills.size() % 4]);
    Bands(s, picture::ComponentBand(row), 0, "fitted:", fitted, &fills);
    Bands(s, picture::InHandStrip(row), 0x525252, s.run.weapons[i] + " in hand",
          [&](int f) { return YesIf(frames[f].inHand == i); });
  }
}

void FrameAxis(Svg& s) {
  const int axis = picture::TrackArea(Track::kEnd, s.weapons).top;
  for (int f = 0; f <= s.frames; f += TickStep(s.frames)) {
    const int x = picture::FrameX(f, s.columns);
    Rect(s, x, axis, 1, 6, 0x444444);
    Text(s, x, axis + 19, N(f), "font-size=\"11\" text-anchor=\"middle\"");
  }
  Rect(s, picture::kPlotLeft, axis, picture::kPlotRight - picture::kPlotLeft, 1, 0x444444);
  Text(s, (picture::kPlotLeft + picture::kPlotRight) / 2, axis + 37, "frame",
       "font-size=\"12\" text-anchor=\"middle\"");
}

void Legend(Svg& s) {
  const int top = picture::TrackArea(Track::kEnd, s.weapons).top + picture::kAxisHeight;
  Text(s, 12, top + 14, "legend (hover for details)", "font-size=\"12\"");
  const char* texts[] = {"value at the end of the frame",
                         "the limit the plug-in tests",
                         "state that holds over frames",
                         "the weapon in hand",
                         "prompt completed",
                         "interaction started",
                         "failure: the message on hover",
                         "plug-in loaded or unloaded"};
  for (int i = 0; i < 8; ++i) {
    const int x = picture::kPlotLeft + (i % 4) * 245, y = top + (i / 4) * picture::kLegendRowHeight + 4;
    const Area r{y, y + 12};
    switch (i) {
      case 0:
      case 1:
        s.out += "<path d=\"M" + N(x) + " " + N(Middle(r)) + " H" + N(x + 24) + "\" fill=\"none\" stroke=\"" +
                 Colour(i == 0 ? picture::kDistanceLine : picture::kLimitLine) + "\" stroke-width=\"2\"" +
                 (i == 1 ? " stroke-dasharray=\"8 5\"" : "") + "/>\n";
        break;
      case 2: Rect(s, x, r.top, 24, 12, 0x6BAED6); break;
      case 3: Rect(s, x, Middle(r), 24, 4, 0x525252); break;
      case 4: Shape(s, Triangle(x + 12, r), picture::kMark, texts[i]); break;
      case 5: Shape(s, Diamond(x + 12, r), picture::kMark, texts[i]); break;
      case 6: Shape(s, Circle(x + 12, r), picture::kFailureMark, texts[i]); break;
      default: Shape(s, Bar(x + 12, r), picture::kMark, texts[i]); break;
    }
    Text(s, x + 30, r.bottom - 1, texts[i], "font-size=\"11\"");
  }
}
}  // namespace

std::string PictureSvg(const PictureRun& run) {
  Svg s{run, static_cast<int>(run.frames.size()), static_cast<int>(run.frames.size()) + 1,
        static_cast<int>(run.weapons.size()), std::string()};
  const std::string height = N(picture::Height(s.weapons));
  s.out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
          N(picture::kWidth) + "\" height=\"" + height + "\" viewBox=\"0 0 " + N(picture::kWidth) + " " + height +
          "\" font-family=\"sans-serif\" fill=\"#222\">\n<title>" + Escaped(run.title) + "</title>\n";
  Rect(s, 0, 0, picture::kWidth, picture::Height(s.weapons), picture::kPaper);
  Text(s, 12, 28, run.title, "font-size=\"17\" font-weight=\"bold\"");
  Text(s, 12, 50, run.subtitle + ", played in the stand-in host; hover a band or a mark for its details",
       "font-size=\"12\" fill=\"#555\"");

  const auto& frames = run.frames;
  const auto area = [&](Track t) { return picture::TrackArea(t, s.weapons); };
  TrackLabel(s, area(Track::kPrompt), run.promptLabel.empty() ? "prompt" : "prompt \"" + run.promptLabel + "\"");
  // Named on the left when the run holds one control only, as scenarios usually do.
  std::string held;
  for (const PictureFrame& f : frames)
    if (!f.heldControls.empty()) held = held.empty() || held == f.heldControls ? f.heldControls : "several";
  TrackLabel(s, area(Track::kControl), held.empty() || held == "several" ? "held control" : "held " + held);
  TrackLabel(s, area(Track::kReticle), "reticle hidden");
  TrackLabel(s, area(Track::kAim), "aiming");
  TrackLabel(s, area(Track::kFailure), "failure");
  TrackLabel(s, area(Track::kPlugin), "plug-in load, unload");
  TrackLabel(s, area(Track::kInteraction), "interaction started");
  Weapons(s);
  ValueTrack(s, Track::kDistance, "distance to the horse", "in world units", picture::kDistanceLimit,
             picture::kDistanceLine, [](const PictureFrame& f) { return static_cast<double>(f.distance); });
  ValueTrack(s, Track::kAgitation, "horse's agitation", "", picture::kAgitationLimit, picture::kAgitationLine,
             [](const PictureFrame& f) { return static_cast<double>(f.agitation); });
  FrameAxis(s);

  Bands(s, picture::Band(area(Track::kPrompt)), 0x6BAED6, "prompt shown",
        [&](int f) { return YesIf(frames[f].promptShown); });
  Marks(s, Track::kPrompt, Notice::kCompletion, picture::kMark, Triangle);
  Bands(s, picture::Band(area(Track::kControl)), 0xFDAE6B, "held", [&](int f) { return frames[f].heldControls; });
  Bands(s, picture::Band(area(Track::kReticle)), 0x737373, "reticle hidden",
        [&](int f) { return YesIf(frames[f].reticleHidden); });
  Bands(s, picture::Band(area(Track::kAim)), 0xBCBDDC, "aiming", [&](int f) { return YesIf(frames[f].aiming); });
  Failures(s);
  // A play loads the plug-in once and then unloads it at most once: in that order, as they came.
  Marks(s, Track::kPlugin, Notice::kLoad, picture::kMark, Bar, "load");
  Marks(s, Track::kPlugin, Notice::kUnload, picture::kMark, Bar, "unload");
  Marks(s, Track::kInteraction, Notice::kInteraction, picture::kMark, Diamond);
  Legend(s);
  s.out += "</svg>\n";
  return s.out;
}
