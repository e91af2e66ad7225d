#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/Settings.h"
#include "fake/PluginTest.h"

namespace {

const SettingsMap kDefaults = {
    {"DisableReticleInScope", "1"}, {"EnableScopeToggle", "1"}, {"ScopeTogglePromptLabel", "Toggle Scope"}};

std::string Rejected(const std::string& line) {
  return "cannot parse line: " + line +
         ", please make sure it is assembled of the correct format (<setting_name>=<settings_value>).";
}

SettingsMap Plus(std::initializer_list<std::pair<const std::string, std::string>> changes) {
  SettingsMap map = kDefaults;
  for (const auto& [name, value] : changes) map[name] = value;
  return map;
}

class SettingsTest : public PluginTest {
 protected:
  // From the plug-in as loaded and no log, so that a test may load one file after another.
  static void Load(const std::string& file) {
    ResetPluginGlobals();
    std::filesystem::remove("Quillfen/Log.log");
    WriteBytes("Varnholt.ini", file);
    InitSettings();
  }
};

TEST_F(SettingsTest, WithoutAFileTheStoreHoldsTheDefaults) {
  // Before any loading there is no store: every read is empty or off.
  EXPECT_EQ(GetSetting("ScopeTogglePromptLabel"), "");
  EXPECT_FALSE(GetSettingBool("EnableScopeToggle"));
  InitSettings();
  ASSERT_NE(Settings, nullptr);
  EXPECT_EQ(*Settings, kDefaults);
  EXPECT_TRUE(GetSettingBool("DisableReticleInScope"));
  EXPECT_TRUE(GetSettingBool("EnableScopeToggle"));
  EXPECT_EQ(GetSetting("ScopeTogglePromptLabel"), "Toggle Scope");
  EXPECT_LINES(LogMessages(), {"Unable to load from data file, please make sure it exists."});
}

TEST_F(SettingsTest, TheLoadingLineNamesThePathUnchanged) {
  WriteBytes("other name.txt", "A=B");
  LoadSettingsFile("./other name.txt", SettingsMap{{"Only", "this"}});
  EXPECT_EQ(*Settings, (SettingsMap{{"A", "B"}, {"Only", "this"}}));
  EXPECT_LINES(LogMessages(), {"loading settings file: ./other name.txt", "settings file loaded"});
}

TEST_F(SettingsTest, LoadingAgainStartsAFreshStoreFromTheDefaults) {
  Load("A=1\nEnableScopeToggle=0\n");
  LoadSettingsFile("missing.ini", SettingsMap{{"X", "y"}});
  EXPECT_EQ(*Settings, (SettingsMap{{"X", "y"}}));
}

struct LineCase {
  const char* name;
  std::string line;
  SettingsMap store;  // the store after loading a file of this one line
  bool rejected;
};

// Names the case in test lists instead of dumping its bytes.
void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class SettingsLineTest : public SettingsTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(SettingsLineTest, OneLine) {
  const LineCase& c = GetParam();
  Load(c.line + "\n");
  EXPECT_EQ(*Settings, c.store);
  std::vector<std::string> log = {"loading settings file: Varnholt.ini"};
  if (c.rejected) log.push_back(Rejected(c.line));
  log.push_back("settings file loaded");
  EXPECT_LINES(LogMessages(), log);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SettingsLineTest,
    ::testing::Values(
        LineCase{"Plain", "EnableScopeToggle=0", Plus({{"EnableScopeToggle", "0"}}), false},
        LineCase{"UnknownName", "Colour=blue", Plus({{"Colour", "blue"}}), false},
        LineCase{"SlashComment", "/EnableScopeToggle=0", kDefaults, false},
        LineCase{"SemicolonComment", ";EnableScopeToggle=0", kDefaults, false},
        LineCase{"Section", "[EnableScopeToggle=0]", kDefaults, false},
        LineCase{"BackslashComment", "\\EnableScopeToggle=0", kDefaults, false},
        LineCase{"HashIsNoComment", "#EnableScopeToggle=0", Plus({{"#EnableScopeToggle", "0"}}), false},
        LineCase{"HashWithoutEqualsIsRejected", "# a remark", kDefaults, true},
        LineCase{"CommentAfterABlankIsParsed", " ; a remark", kDefaults, true},
        LineCase{"CommentAfterABlankWithEquals", " ;A=1", Plus({{" ;A", "1"}}), false},
        LineCase{"CommentCharacterLaterInTheLine", "A=1 ; note", Plus({{"A", "1 ; note"}}), false},
        LineCase{"NoEquals", "EnableScopeToggle", kDefaults, true},
        LineCase{"OnlyEqualsIsLast", "EnableScopeToggle=", kDefaults, true},
        LineCase{"SingleEquals", "=", kDefaults, true}, LineCase{"TwoEqualsAlone", "==", Plus({{"", ""}}), false},
        LineCase{"TextAfterASecondEquals", "EnableScopeToggle=0=1", kDefaults, true},
        LineCase{"TwoEqualsInARowThenText", "EnableScopeToggle==0", kDefaults, true},
        LineCase{"SecondEqualsIsLast", "EnableScopeToggle=0=", Plus({{"EnableScopeToggle", "0"}}), false},
        LineCase{"EndsInTwoEquals", "EnableScopeToggle==", Plus({{"EnableScopeToggle", ""}}), false},
        LineCase{"EmptyName", "=value", Plus({{"", "value"}}), false},
        LineCase{"BlankBeforeEqualsBelongsToTheName", "EnableScopeToggle =0", Plus({{"EnableScopeToggle ", "0"}}),
                 false},
        LineCase{"BlankAfterEqualsBelongsToTheValue", "ScopeTogglePromptLabel= Lift",
                 Plus({{"ScopeTogglePromptLabel", " Lift"}}), false},
        LineCase{"TabsAtTheEndsAreKept", "\tA=B\t", Plus({{"\tA", "B\t"}}), false},
        LineCase{"NamesAreCaseSensitive", "enablescopetoggle=0", Plus({{"enablescopetoggle", "0"}}), false},
        LineCase{"ByteOrderMarkJoinsTheName",
                 "\xEF\xBB\xBF"
                 "EnableScopeToggle=0",
                 Plus({{"\xEF\xBB\xBF"
                        "EnableScopeToggle",
                        "0"}}),
                 false},
        LineCase{"LongLine", "Label=" + std::string(100000, 'x'), Plus({{"Label", std::string(100000, 'x')}}), false}),
    [](const ::testing::TestParamInfo<LineCase>& param) { return std::string(param.param.name); });

// Whole files whose every line reads, each loaded afresh: the store, and nothing logged but the loading.
TEST_F(SettingsTest, FilesWithoutARejectedLine) {
  const SettingsMap ab = Plus({{"A", "1"}, {"B", "2"}});
  const std::pair<std::string, SettingsMap> cases[] = {
      // An empty file logs its loading only.
      {"", kDefaults},
      // Blank lines are skipped without a message. Long enough that the text is on the heap, where the
      // sanitizer sees a read before its first byte.
      {"\n\nA=1\n\n\nB=2\n\nC=a value too long for a short string\n\n",
       Plus({{"A", "1"}, {"B", "2"}, {"C", "a value too long for a short string"}})},
      // The last line needs no line end.
      {"A=1\nB=2", ab},
      {"A=1\nB=2\n", ab},
      {"A=1\r\nB=2", ab},
      {"A=1\r\nB=2\r\n", ab},
      // A carriage return ends a line only before a line feed, as in text mode.
      {"A=1\r", Plus({{"A", "1\r"}})},
      // The file ends at its first Ctrl-Z. An old editor's end mark after the last line: the label ends
      // before it, the rest is never read.
      {"ScopeTogglePromptLabel=Short\x1A\r\nEnableScopeToggle=0\r\n", Plus({{"ScopeTogglePromptLabel", "Short"}})},
      {"A=1\r\n\x1A", Plus({{"A", "1"}})},
      {"\x1A\nA=1\n", kDefaults},
      {"A=1\nB=2\x1A=3\nbad\x1A\n", ab},
      {"A=1\n;" + std::string(5000, 'x') + "\n\x1A" + "B=2\n", Plus({{"A", "1"}})},  // past the first piece read
  };
  for (const auto& [file, store] : cases) {
    Load(file);
    EXPECT_EQ(*Settings, store) << file;
    EXPECT_LINES(LogMessages(), {"loading settings file: Varnholt.ini", "settings file loaded"});
  }
}

TEST_F(SettingsTest, LaterLinesWin) {
  Load("EnableScopeToggle=0\nA=1\nEnableScopeToggle=5\nA=2\nbad\nA=3\n");
  EXPECT_EQ(*Settings, Plus({{"EnableScopeToggle", "5"}, {"A", "3"}}));
}

TEST_F(SettingsTest, AFileOfAnyLengthKeepsItsLastByte) {
  // The file is read in 4096-byte pieces: a last piece of one byte, or of none, must read like any other.
  const std::string name = "ScopeTogglePromptLabel=";
  for (const std::size_t length : {4095u, 4096u, 4097u, 8193u}) {
    const std::string label = std::string(length - name.size() - 1, 'x') + "!";
    Load(name + label);
    const std::string read = GetSetting("ScopeTogglePromptLabel");
    EXPECT_EQ(read.size(), label.size()) << "a file of " << length << " bytes";
    EXPECT_TRUE(read == label) << "a file of " << length << " bytes";
  }
}

#ifndef _WIN32
TEST_F(SettingsTest, LoadingLeavesNoFileOpen) {
  // A start-up tried again every frame must not hold one more handle each time.
  WriteBytes("Varnholt.ini", "A=1\n");
  const std::size_t before = OpenFileCount();
  for (int load = 0; load < 3; ++load) InitSettings();
  EXPECT_EQ(OpenFileCount(), before);
}
#endif

TEST_F(SettingsTest, NamesWithTheSameFirstLetterAreDifferentSettings) {
  Load("EnableScopeToggle=0\nEnableExtra=1\nDisableReticleInScopeNow=1\nD=7\nScope=x\n");
  EXPECT_FALSE(GetSettingBool("EnableScopeToggle"));
  EXPECT_EQ(GetSetting("EnableExtra"), "1");
  EXPECT_TRUE(GetSettingBool("DisableReticleInScope"));
  EXPECT_EQ(GetSetting("DisableReticleInScopeNow"), "1");
  EXPECT_EQ(GetSetting("D"), "7");
  EXPECT_EQ(GetSetting("ScopeTogglePromptLabel"), "Toggle Scope");
  EXPECT_EQ(GetSetting("Scope"), "x");
  EXPECT_EQ(GetSetting("Enable"), "");
  EXPECT_EQ(Settings->size(), kDefaults.size() + 4);
}

TEST_F(SettingsTest, ACrLfFileReadsLikeTheSameFileWithLf) {
  const std::string lf = "; settings\nEnableScopeToggle=0\nbad line\nScopeTogglePromptLabel= Lift it \n\nA==\n";
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

  Load(lf);
  const SettingsMap fromLf = *Settings;
  const std::vector<std::string> logLf = LogMessages();
  Load(crlf);
  EXPECT_EQ(*Settings, fromLf);
  EXPECT_EQ(Joined(LogMessages()), Joined(logLf));
  EXPECT_EQ(fromLf, Plus({{"EnableScopeToggle", "0"}, {"ScopeTogglePromptLabel", " Lift it "}, {"A", ""}}));
  EXPECT_LINES(logLf, {"loading settings file: Varnholt.ini", Rejected("bad line"), "settings file loaded"});
}

TEST_F(SettingsTest, SplitStringPieces) {
  using Pieces = std::vector<std::string>;
  const std::pair<std::string, Pieces> cases[] = {
      {"", {}},
      {"abc", {"abc"}},
      {"a=b", {"a", "b"}},
      {"=abc", {"", "abc"}},
      {"a==b", {"a", "", "b"}},
      {"a=", {"a"}},
      {"a==", {"a", ""}},
      {"=", {""}},
      {"==", {"", ""}},
      {"===", {"", "", ""}},
      {"a=b=c", {"a", "b", "c"}},
      {" = ", {" ", " "}},
  };
  for (const auto& [text, pieces] : cases) EXPECT_EQ(SplitString(text, '='), pieces) << "'" << text << "'";
  EXPECT_EQ(SplitString("a;b", ';'), (Pieces{"a", "b"}));
  EXPECT_EQ(SplitString("a=b", ';'), (Pieces{"a=b"}));
}

TEST_F(SettingsTest, GetSettingCopiesTheValueOrGivesEmpty) {
  InitSettings();
  std::string label = GetSetting("ScopeTogglePromptLabel");
  label += " changed";
  EXPECT_EQ(GetSetting("ScopeTogglePromptLabel"), "Toggle Scope");
  EXPECT_EQ(GetSetting("NoSuchName"), "");
  EXPECT_EQ(GetSetting("scopetogglepromptlabel"), "");
  EXPECT_EQ(*Settings, kDefaults) << "reads add no entries";
}

TEST_F(SettingsTest, BeforeTheStoreIsMadeEveryReadIsEmpty) {
  ASSERT_EQ(Settings, nullptr);
  EXPECT_EQ(GetSetting("ScopeTogglePromptLabel"), "");
  EXPECT_FALSE(GetSettingBool("EnableScopeToggle"));
  EXPECT_EQ(Settings, nullptr) << "reads make no store";
}

// How a switch of that value reads: on, off, or the type and text of the error it raises.
std::string Reading(const char* value) {
  (*Settings)["Switch"] = value;
  try {
    return GetSettingBool("Switch") ? "on" : "off";
  } catch (const std::out_of_range& e) {
    return std::string("out_of_range: ") + e.what();
  } catch (const std::invalid_argument& e) {
    return std::string("invalid_argument: ") + e.what();
  }
}

TEST_F(SettingsTest, GetSettingBoolReadings) {
  const std::pair<const char*, std::vector<const char*>> readings[] = {
      {"off", {"", "0", "-1", "-0", "+0", "-1abc", "0x1", "0.9"}},
      {"on",
       {"1", "2", "-2", "+1", "007", "1abc", "1.9", " 7", "\t\n\v\f\r 7", "00000000000000000000001", "2147483647",
        "-2147483648"}},
      {"out_of_range: stoi argument out of range",
       {"2147483648", "-2147483649", "4294967295", "4294967296", "99999999999999999999", "-99999999999999999999x"}},
      // The control characters beside the blanks are none: "\b7" and "\x0E7" have no number.
      {"invalid_argument: invalid stoi argument",
       {"\b7",
        "\x0E"
        "7",
        "abc", "-", "+", " ", "+-1", "x1", "true"}},
  };
  InitSettings();
  for (const auto& [reading, values] : readings)
    for (const char* value : values) EXPECT_EQ(Reading(value), reading) << "value '" << value << "'";
  EXPECT_FALSE(GetSettingBool("NoSuchSwitch"));
}

TEST_F(SettingsTest, ABadSwitchFailsOnEveryReadAndIsNeverCorrected) {
  Load("EnableScopeToggle=maybe\n");
  for (int read = 0; read < 3; ++read) EXPECT_THROW(GetSettingBool("EnableScopeToggle"), std::invalid_argument);
  EXPECT_EQ(GetSetting("EnableScopeToggle"), "maybe");
}

}  // namespace
