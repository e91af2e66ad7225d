// The host's picture of a run, rendered by a real SVG renderer (rsvg-convert) and read back with libpng:
// it must parse, come out at the size it states, and hold drawn pixels in each track exactly on the
// frames on which the run says something happened there.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "report/PictureLayout.h"
#include "testkit/WorkFolder.h"

namespace {
using picture::Area;
using picture::Middle;
using picture::Track;

struct Rendered {
  bool ok = false;
  std::string svg;
  int width = 0, height = 0;  // of the PNG
  int columns = 0;
  std::vector<unsigned char> rgb;

  int Pixel(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return rgb[at] << 16 | rgb[at + 1] << 8 | rgb[at + 2];
  }
};

int Run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Plays the scenario in the native host with --svg and renders the picture at its own size.
Rendered Render(const std::string& name, const std::string& scenario, int frames) {
  Rendered r;
  const auto failed = [&r](const std::string& why) {
    ADD_FAILURE() << why;
    return r;
  };
  const std::string dir = std::string(VARNHOLT_PICTURE_RUNS) + "/" + name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string svg = dir + "/picture.svg", png = dir + "/picture.png";
  if (Run("'" VARNHOLT_HOST "' --dir '" + dir + "/run' --svg '" + svg + "' '" + scenario + "' >'" + dir +
          "/report.txt'") != 0)
    return failed("the host failed; see " + dir);
  const int rendered = Run("rsvg-convert -o '" + png + "' '" + svg + "'");
  if (rendered != 0)
    return failed(rendered == 127 ? "rsvg-convert is not installed (Debian: librsvg2-bin)"
                                  : "rsvg-convert could not render " + svg);
  r.svg = ReadBytes(svg);

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, png.c_str()) == 0)
    return failed("libpng cannot read " + png + ": " + image.message);
  image.format = PNG_FORMAT_RGB;
  r.rgb.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, r.rgb.data(), 0, nullptr) == 0)
    return failed("libpng cannot decode " + png + ": " + image.message);
  r.width = static_cast<int>(image.width);
  r.height = static_cast<int>(image.height);
  r.columns = frames + 1;
  r.ok = true;
  return r;
}

// The value of name="..." in the root element.
int Stated(const std::string& svg, const std::string& name) {
  const std::size_t root = svg.find("<svg ");
  const std::size_t at = svg.find(" " + name + "=\"", root);
  return at == std::string::npos ? -1 : std::atoi(svg.c_str() + at + name.size() + 3);
}

void ExpectSelfContainedAtItsStatedSize(const Rendered& r, int weapons) {
  EXPECT_EQ(Stated(r.svg, "width"), r.width);
  EXPECT_EQ(Stated(r.svg, "height"), r.height);
  EXPECT_EQ(r.width, picture::kWidth);
  EXPECT_EQ(r.height, picture::Height(weapons));
  for (const char* outside : {"<script", "href", "@font-face", "url(", "<image"})
    EXPECT_EQ(r.svg.find(outside), std::string::npos) << outside;
}

bool Drawn(int rgb) { return rgb != picture::kTrackBackground; }
bool Dark(int rgb) { return 0.299 * (rgb >> 16) + 0.587 * (rgb >> 8 & 255) + 0.114 * (rgb & 255) < 100; }

// One character per frame: '#' where the pixel at the middle of the frame's column, on row y, looks so.
std::string Row(const Rendered& r, int y, bool (*looks)(int)) {
  std::string out;
  for (int f = 0; f < r.columns; ++f) out += looks(r.Pixel(picture::FrameCentre(f, r.columns), y)) ? '#' : '.';
  return out;
}

// The same for the frames given as inclusive ranges.
std::string Frames(int columns, std::initializer_list<std::pair<int, int>> ranges) {
  std::string out(static_cast<std::size_t>(columns), '.');
  for (const auto& [first, last] : ranges) out.replace(first, last - first + 1, last - first + 1, '#');
  return out;
}

// Per frame, where a value line of that colour is in the track: 'o' over the limit, 'u' under it, '.'
// nowhere. The run's largest value sets the track's axis.
std::string LineSide(const Rendered& r, Track track, int colour, double limit, double largest) {
  const Area a = picture::TrackArea(track, 1);
  const int limitY = picture::ValueY(a, limit, picture::AxisMax(largest, limit));
  std::string out;
  for (int f = 0; f < r.columns; ++f) {
    bool over = false, under = false;
    for (int y = a.top; y < a.bottom; ++y)
      if (r.Pixel(picture::FrameCentre(f, r.columns), y) == colour) (y < limitY ? over : under) = true;
    out += over && under ? '?' : over ? 'o' : under ? 'u' : '.';
  }
  return out;
}

TEST(PictureRender, TheDefaultScenarioDrawsEachTrackOnItsFrames) {
  const Rendered r = Render("default", "default", 100);
  ASSERT_TRUE(r.ok);
  ExpectSelfContainedAtItsStatedSize(r, 1);
  const int c = r.columns;
  auto band = [&](Track t) { return Middle(picture::Band(picture::TrackArea(t, 1))); };

  // The player starts 12 from the horse, walks up to 2.06 at frame 25 and away to 8 at frame 60.
  EXPECT_EQ(LineSide(r, Track::kDistance, picture::kDistanceLine, picture::kDistanceLimit, 12),
            std::string(25, 'o') + std::string(35, 'u') + std::string(40, 'o') + ".");
  EXPECT_EQ(LineSide(r, Track::kAgitation, picture::kAgitationLine, picture::kAgitationLimit, 0),
            std::string(100, 'u') + ".");

  EXPECT_EQ(Row(r, band(Track::kPrompt), Drawn), Frames(c, {{25, 59}}));
  EXPECT_EQ(Row(r, band(Track::kPrompt), Dark), Frames(c, {{30, 30}, {45, 45}})) << "completions";
  EXPECT_EQ(Row(r, band(Track::kControl), Drawn), Frames(c, {{30, 35}, {45, 50}}));
  const Area weapon = picture::TrackArea(Track::kWeapon, 1);
  EXPECT_EQ(Row(r, Middle(picture::ComponentBand(weapon)), Drawn), Frames(c, {{0, 29}, {45, 99}})) << "scope fitted";
  EXPECT_EQ(Row(r, Middle(picture::InHandStrip(weapon)), Drawn), Frames(c, {{0, 99}})) << "in hand";
  EXPECT_EQ(Row(r, band(Track::kReticle), Drawn), Frames(c, {{70, 84}}));
  EXPECT_EQ(Row(r, band(Track::kAim), Drawn), Frames(c, {{70, 84}}));
  EXPECT_EQ(Row(r, band(Track::kFailure), Drawn), Frames(c, {}));
  // Above the "load" and "unload" labels beside the marks.
  EXPECT_EQ(Row(r, picture::Band(picture::TrackArea(Track::kPlugin, 1)).top + 1, Dark),
            Frames(c, {{0, 0}, {100, 100}}));
  EXPECT_EQ(Row(r, band(Track::kInteraction), Dark), Frames(c, {{30, 30}, {45, 45}}));
}

TEST(PictureRender, FailuresAreMarkedOnTheirFramesWithTheMessageOnHover) {
  const Rendered r = Render("script-exception", VARNHOLT_E2E_CASES "/script-exception.scenario", 30);
  ASSERT_TRUE(r.ok);
  ExpectSelfContainedAtItsStatedSize(r, 1);
  const int failures = Middle(picture::Band(picture::TrackArea(Track::kFailure, 1)));
  // Frames 20 and 24 show the message; on frame 22 the host throws an int, which shows nothing.
  EXPECT_EQ(Row(r, failures, Drawn), Frames(r.columns, {{20, 20}, {22, 22}, {24, 24}}));
  EXPECT_NE(r.svg.find("<title>frame 20\non screen: Fatal: the weapon table is gone, check the logs for more "
                       "info.\nthe host throws std::runtime_error(&quot;the weapon table is gone&quot;) from "
                       "GetCurrentWeapon</title>"),
            std::string::npos);
  EXPECT_NE(r.svg.find("<title>frame 22\nthe host throws an int from HasWeaponComponent</title>"), std::string::npos);
  EXPECT_EQ(Row(r, Middle(picture::Band(picture::TrackArea(Track::kPrompt, 1))), Dark),
            Frames(r.columns, {{22, 22}, {26, 26}}));
}
}  // namespace
