// What the players' docs say of the settings, held against what the plug-in does: every example line
// they give is loaded and read as they say it reads, and every default is written where players look.
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/Settings.h"
#include "fake/PluginTest.h"

namespace {

std::string Doc(const char* path) { return ReadBytes(std::string(VARNHOLT_SOURCE_DIR) + "/" + path); }

// How EnableScopeToggle reads after loading a settings file of just that line.
std::string Outcome(const std::string& line) {
  const std::size_t logged = LogMessages().size();
  WriteBytes("Varnholt.ini", line + "\n");
  InitSettings();
  const std::vector<std::string> log = LogMessages();
  for (std::size_t i = logged; i < log.size(); ++i)
    if (log[i].starts_with("cannot parse line: " + line + ","))
      return GetSettingBool("EnableScopeToggle") ? "rejected" : "?";
  try {
    return GetSettingBool("EnableScopeToggle") ? "on" : "off";
  } catch (const std::invalid_argument&) {
    return "fatal";
  } catch (const std::out_of_range&) {
    return "fatal";
  }
}

using PlayerDocsTest = PluginTest;

TEST_F(PlayerDocsTest, EveryExampleOfASwitchReadsAsTheDocsSay) {
  // The example lines, as a player would type them into Varnholt.ini, with their outcome (on, off,
  // rejected or fatal): in the players' readme indented lines "<line>  <outcome>...", in README.md table
  // rows "| `<line>` | <outcome> |".
  const std::pair<const char*, std::regex> docs[] = {
      {"package/README.txt",
       std::regex(R"(\n    (\S*EnableScopeToggle\S*(?: \S+)*?)  +(on|off|rejected|fatal)\b)", std::regex::icase)},
      {"README.md", std::regex(R"(\n\| `([^`]*)` \| (on|off|rejected|fatal) \|)")},
  };
  for (const auto& [path, row] : docs) {
    SCOPED_TRACE(path);
    const std::string doc = Doc(path);
    std::set<std::string> lines;
    for (auto it = std::sregex_iterator(doc.begin(), doc.end(), row); it != std::sregex_iterator(); ++it) {
      const std::string line = (*it)[1];
      lines.insert(line);
      EXPECT_EQ(Outcome(line), (*it)[2].str()) << "the line " << line;
    }
    // The rules players trip on are stated by example in both.
    for (const char* rule :
         {"EnableScopeToggle=1 # on", "EnableScopeToggle=0x1", "EnableScopeToggle==", "EnableScopeToggle="})
      EXPECT_EQ(lines.count(rule), 1u) << "no example " << rule;
  }
}

// A default that the plug-in has is written in the sample settings, the players' readme and README.md.
TEST_F(PlayerDocsTest, EveryDefaultIsInTheSampleTheReadmeAndTheReadmesTable) {
  InitSettings();  // no settings file here: the defaults alone
  ASSERT_NE(Settings, nullptr);
  const std::string sample = Doc("package/Varnholt.ini"), readme = Doc("package/README.txt"),
                    modders = Doc("README.md");
  for (const auto& [name, value] : *Settings) {
    SCOPED_TRACE(name);
    EXPECT_NE(sample.find("\n" + name + "=" + value + "\n"), std::string::npos) << "package/Varnholt.ini";
    EXPECT_TRUE(std::regex_search(readme, std::regex("\n    " + name + " +" + value + "  ")))
        << "package/README.txt's settings table";
    EXPECT_NE(modders.find("| `" + name + "` | `" + value + "` |"), std::string::npos) << "README.md's settings table";
  }
}

}  // namespace
