// varnholt-host: plays a scenario against the real plug-in and prints what a player would see.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "program/HostPlatform.h"
#include "program/LongRun.h"
#include "program/Run.h"
#include "world/Scenario.h"

namespace fs = std::filesystem;

namespace {
const char kUsage[] =
    "usage: varnholt-host [options] <scenario>\n"
    "  <scenario>       a scenario file, or the name of a bundled one (see --list)\n"
    "  --dir DIR        the run's working folder, created if missing (default: varnholt-run in the\n"
    "                   system's temporary folder, never where the host is started);\n"
    "                   the host replaces its Varnholt.ini and its Quillfen folder\n"
    "  --trace          print every native call with its arguments and answer\n"
    "  --hold-log       keep Quillfen/Log.log open with read and write sharing during the run\n"
    "  --key-thread     send keyboard messages from another thread while the frames run\n"
    "  --binary-default make binary the C runtime's default file mode, as some games do\n"
    "  --as-is          keep the folder's own Varnholt.ini and Quillfen (an unzipped release, say)\n"
    "  --exit-loaded    at the end, end the process with the plug-in still loaded, as a game that quits\n"
    "  --bridge PATH    the bridge DLL (Windows; default: ScriptBridge.dll next to the host)\n"
    "  --plugin PATH    the plug-in DLL (Windows; default: Varnholt.dll next to the host)\n"
    "  --front PATH     a bridge front the plug-in binds to instead (Windows), which passes every\n"
    "                   operation on to the stand-in bridge beside it, StandinBridge.dll\n"
    "  --frames N       run N frames, the scenario's events first (a long run)\n"
    "  --memory-at F,.. print memory figures and the log's size after those frame counts\n"
    "  --cycles N       play the scenario N times in one process, loading and unloading the plug-in\n"
    "                   each time, and print what each cycle leaves behind\n"
    "  --svg FILE       also write the run as a picture, an SVG file\n"
    "  --list           list the bundled scenarios\n";

const std::string kBundledDir = VARNHOLT_SCENARIO_DIR;

// A bare name that is no file of its own means a bundled scenario.
std::string ScenarioPath(const std::string& arg) {
  std::error_code ec;
  const bool bundled = !fs::exists(arg, ec) && arg.find_first_of("/\\.") == std::string::npos;
  return bundled ? kBundledDir + "/" + arg + ".scenario" : arg;
}

int List() {
  std::error_code ec;
  std::set<std::string> names;  // sorted
  for (const auto& entry : fs::directory_iterator(kBundledDir, ec))
    if (entry.path().extension() == ".scenario") names.insert(entry.path().stem().string());
  for (const std::string& name : names) std::printf("%s\n", name.c_str());
  return 0;
}

std::string Absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const fs::path full = fs::absolute(path, ec);
  return ec ? path : full.string();
}

// The options that take no value; false when arg is none of them.
bool SetSwitch(const std::string& arg, RunOptions& options) {
  bool* const on = arg == "--trace"            ? &options.trace
                   : arg == "--hold-log"       ? &options.holdLog
                   : arg == "--key-thread"     ? &options.keyThread
                   : arg == "--binary-default" ? &options.binaryDefault
                   : arg == "--as-is"          ? &options.asIs
                   : arg == "--exit-loaded"    ? &options.exitLoaded
                                               : nullptr;
  if (on != nullptr) *on = true;
  return on != nullptr;
}

// Reads the command line into options and the scenario's argument. -1 to go on with the run; otherwise
// the exit status, after --help or --list or for a bad command line.
int ReadArguments(int argc, char** argv, RunOptions& options, std::string& scenarioArg) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (SetSwitch(arg, options)) continue;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--list") {
      return List();
    } else if ((arg == "--dir" || arg == "--bridge" || arg == "--plugin" || arg == "--front") && hasValue) {
      const std::string value = argv[++i];
      (arg == "--dir"      ? options.dir
       : arg == "--bridge" ? options.bridgePath
       : arg == "--plugin" ? options.pluginPath
                           : options.frontPath) = value;
    } else if ((arg == "--frames" || arg == "--memory-at" || arg == "--cycles") && hasValue) {
      if (!SetLongRunOption(arg, argv[++i], options)) {
        std::fprintf(stderr, "varnholt-host: bad value '%s' for %s\n", argv[i], arg.c_str());
        return 2;
      }
    } else if (arg == "--svg" && hasValue) {
      options.svgPath = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && scenarioArg.empty()) {
      scenarioArg = arg;
    } else {
      std::fprintf(stderr, "varnholt-host: unexpected argument '%s'\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }
  if (!scenarioArg.empty()) return -1;
  std::fputs(kUsage, stderr);
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  SetBinaryStdout();
  RunOptions options;
  std::string scenarioArg;
  const int status = ReadArguments(argc, argv, options, scenarioArg);
  if (status >= 0) return status;
  // Resolved before the host moves into the working folder.
  options.bridgePath =
      Absolute(options.bridgePath.empty() ? DefaultModulePath("ScriptBridge.dll") : options.bridgePath);
  options.pluginPath = Absolute(options.pluginPath.empty() ? DefaultModulePath("Varnholt.dll") : options.pluginPath);
  options.frontPath = Absolute(options.frontPath);
  options.svgPath = Absolute(options.svgPath);
  if (options.dir.empty()) {
    std::error_code ec;
    options.dir = (fs::temp_directory_path(ec) / "varnholt-run").string();
  }

  Scenario scenario;
  try {
    scenario = LoadScenario(ScenarioPath(scenarioArg));
  } catch (const ScenarioError& bad) {
    std::fprintf(stderr, "varnholt-host: %s\n", bad.what());
    return 2;
  }
  if (options.frames > 0) scenario.frames = options.frames;
  return RunScenario(scenario, options);
}
