#include "cli.h"

#include <filesystem>
#include <ostream>

#include "check_command.h"
#include "dump_json.h"
#include "dump_text.h"
#include "headless/host.h"
#include "headless/paths.h"
#include "listing.h"
#include "options.h"
#include "run_command.h"

namespace headless::cli {

namespace {

#if defined(_WIN32)
constexpr const char* kPluginFile = "veltrano_plugin.dll";
#elif defined(__APPLE__)
constexpr const char* kPluginFile = "libveltrano_plugin.dylib";
#else
constexpr const char* kPluginFile = "libveltrano_plugin.so";
#endif

std::string Env(const CliIo& io, const std::string& name) {
  auto it = io.env.find(name);
  return it == io.env.end() ? std::string() : it->second;
}

bool IsFile(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// --plugin, else $VELTRANO_PLUGIN, else the plug-in beside the program or
// where an installation puts it (the library folder next to the program's
// folder), else the plug-in of this build when it is still there, else the
// name beside the program (which the load error then names).
std::string PluginPath(const Options& o, const CliIo& io) {
  if (o.plugin) return *o.plugin;
  if (std::string env = Env(io, "VELTRANO_PLUGIN"); !env.empty()) return env;
  const std::filesystem::path program = FsPath(io.programDir);
  const std::filesystem::path beside = program / kPluginFile;
  if (IsFile(beside)) return Utf8Path(beside);
#ifdef VTR_INSTALLED_PLUGIN_DIR
  const std::filesystem::path installed =
      (program / VTR_INSTALLED_PLUGIN_DIR / kPluginFile).lexically_normal();
  if (IsFile(installed)) return Utf8Path(installed);
#endif
#ifdef VTR_DEFAULT_PLUGIN
  if (IsFile(FsPath(VTR_DEFAULT_PLUGIN))) return VTR_DEFAULT_PLUGIN;
#endif
  return Utf8Path(beside);
}

std::string Home(const Options& o, const CliIo& io) {
  if (o.home) return *o.home;
  if (std::string env = Env(io, "VELTRANO_HOME"); !env.empty()) return env;
  return io.currentDir;
}

int Dump(const Options& o, CliIo& io, const Files& files) {
  const std::string& path = o.files.front();
  Loaded loaded = files.store->load(path);
  if (!loaded) {
    io.err << "veltrano: " << (loaded.error.empty() ? path + ": cannot be read" : loaded.error)
           << "\n";
    return 2;
  }
  if (loaded.document) {
    const DocumentView view = ViewDocument(*loaded.document);
    io.out << (o.json ? DocumentJson(view) : DocumentText(view));
  } else {
    const BookView view = ViewBook(*loaded.book, io.currentDir);
    io.out << (o.json ? BookJson(view) : BookText(view));
  }
  io.out.flush();
  return 0;
}

int Commands(const Options& o, CliIo& io, const Files& files) {
  Host host(files.store);
  host.setHomeDirectory(Home(o, io));
  std::string error;
  const std::string plugin = PluginPath(o, io);
  if (o.verbose) io.err << "veltrano: plug-in " << plugin << "\n";
  if (host.loadClient(plugin, &error) < 0) {
    io.err << "veltrano: cannot load the plug-in: " << error << "\n";
    return 2;
  }
  host.initialize(host::kInitFirst);
  io.out << ListClients(host) << std::flush;
  return 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, CliIo& io, const Files& files) {
  const Parsed parsed = ParseArgs(args);
  if (!parsed.ok()) {
    io.err << "veltrano: " << parsed.error << "\n"
           << "Try 'veltrano --help'.\n";
    return 2;
  }
  const Options& o = parsed.options;
  switch (o.mode) {
    case Options::Mode::Help:
      io.out << UsageText() << std::flush;
      return 0;
    case Options::Mode::Version:
      io.out << "veltrano " << VTR_VERSION << "\n" << std::flush;
      return 0;
    case Options::Mode::Dump:
      return Dump(o, io, files);
    case Options::Mode::Commands:
      return Commands(o, io, files);
    case Options::Mode::Check: {
      Options check = o;
      check.home = Home(o, io);
      return CheckCommand(check, io, files, PluginPath(o, io));
    }
    case Options::Mode::Run:
      break;
  }
  Options run = o;
  run.home = Home(o, io);
  return RunCommand(run, io, files, PluginPath(o, io));
}

}  // namespace headless::cli
