// Reading and writing a 20 MB MIF file through the MIF store. The file is
// made in a temporary folder by repeating the paragraphs of a sample's main
// flow (a second, text-heavy one by adding paragraphs of long plain lines,
// every tenth followed by an entry paragraph).
// Throughput is reported as bytes of the file per second.
//
// Peak memory is measured in a process of its own, as the high-water mark
// of its resident memory against the file's size, for both files: reading,
// editing and saving (this program started again with --peak FILE; what
// the process held before reading is left out), target at most 4 times the
// file; and the whole `veltrano InsertAllMarkers` run, target at most 6
// times. A figure above its target is said on standard error.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "headless/document.h"
#include "mif/file_store.h"
#include "mif/model.h"
#include "mif/store.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTargetBytes = 20u << 20;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The sample's largest flow as [begin, end) of its text, from the newline
// before <TextFlow to the newline before its closing line.
std::pair<std::size_t, std::size_t> LargestFlow(const std::string& sample) {
  std::size_t bestBegin = 0, bestEnd = 0;
  for (std::size_t at = sample.find("\n<TextFlow "); at != std::string::npos;
       at = sample.find("\n<TextFlow ", at + 1)) {
    const std::size_t end = sample.find("\n> # end of TextFlow\n", at);
    if (end == std::string::npos) break;
    if (end - at > bestEnd - bestBegin) {
      bestBegin = at;
      bestEnd = end;
    }
  }
  return {bestBegin, bestEnd};
}

// A paragraph of long lines of plain text, as a text-heavy chapter has
// them: about four fifths of its bytes are characters.
std::string TextParagraph(int n) {
  std::string para = " <Para \n  <Unique " + std::to_string(900000 + n) + ">\n  <PgfTag `Body'>\n";
  static const std::string kWords =
      "The quick brown fox jumps over the lazy dog while the index grows, "
      "and every chapter of the manual holds another long paragraph of text ";
  for (int line = 0; line < 8; ++line) {
    para += "  <ParaLine \n   <String `" + kWords + kWords.substr(0, 60) + "'>\n  >\n";
  }
  para += " > # end of Para\n";
  return para;
}

// An entry paragraph that `veltrano InsertAllMarkers` turns into a marker
// in the paragraph before it.
std::string EntryParagraph(int n) {
  return " <Para \n  <Unique " + std::to_string(800000 + n) +
         ">\n  <PgfTag `Index Entry'>\n  <ParaLine \n   <String `.i.Topic " +
         std::to_string(n % 997) + ":detail " + std::to_string(n) + ";'>\n  >\n > # end of Para\n";
}

// The sample with paragraphs added to its largest flow until the file has
// about 20 MB: the flow's own paragraphs repeated, or with `textHeavy`
// paragraphs of long plain lines.
std::string MakeLargeFile(bool textHeavy) {
  const std::string path = std::string(VTR_MIF_SAMPLES_DIR) + "/xorg-xp_library.mif";
  const std::string sample = ReadFile(path);
  if (sample.find("\n<TextFlow ") == std::string::npos) {
    std::fprintf(stderr, "the sample %s is absent or has no text flow\n", path.c_str());
    std::exit(2);
  }
  const auto [bestBegin, bestEnd] = LargestFlow(sample);
  const std::size_t firstPara = sample.find("\n <Para ", bestBegin);
  const std::string paras = sample.substr(firstPara + 1, bestEnd + 1 - (firstPara + 1));
  std::string out = sample.substr(0, bestEnd + 1);
  for (int n = 0; out.size() + paras.size() + (sample.size() - bestEnd) < kTargetBytes; ++n) {
    out += textHeavy ? TextParagraph(n) : paras;
    if (textHeavy && n % 10 == 0) out += EntryParagraph(n);
  }
  out += sample.substr(bestEnd + 1);
  return out;
}

struct LargeFile {
  fs::path dir;
  std::string path;
  std::size_t size = 0;

  explicit LargeFile(bool textHeavy) {
    dir = fs::temp_directory_path() /
          ("vtr-mif-bench-" + std::to_string(::getpid()) + (textHeavy ? "-text" : ""));
    fs::create_directories(dir);
    path = (dir / "large.mif").string();
    const std::string text = MakeLargeFile(textHeavy);
    size = text.size();
    std::ofstream(path, std::ios::binary) << text;
  }
  ~LargeFile() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

const LargeFile& Large(bool textHeavy = false) {
  static const LargeFile file(false);
  static const LargeFile text(true);
  return textHeavy ? text : file;
}

std::unique_ptr<headless::Document> Load(const std::string& path) {
  mif::MifStore store;
  headless::Loaded loaded = store.load(path);
  if (!loaded.document) {
    std::fprintf(stderr, "%s\n", loaded.error.c_str());
    std::abort();
  }
  return std::move(loaded.document);
}

void BM_Read(benchmark::State& state) {
  const LargeFile& f = Large();
  for (auto _ : state) benchmark::DoNotOptimize(Load(f.path));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.size));
  state.counters["file_MB"] = static_cast<double>(f.size) / (1 << 20);
}
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond);

// An unchanged document written to a string: no disk, no flush.
void BM_WriteUnchangedNoFsync(benchmark::State& state) {
  const LargeFile& f = Large();
  auto doc = Load(f.path);
  for (auto _ : state) benchmark::DoNotOptimize(mif::WriteModelDocument(*doc));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.size));
}
BENCHMARK(BM_WriteUnchangedNoFsync)->Unit(benchmark::kMillisecond);

// Saved atomically beside the original (temporary file, flush, rename).
void BM_SaveUnchanged(benchmark::State& state) {
  const LargeFile& f = Large();
  auto doc = Load(f.path);
  const std::string out = (f.dir / "saved.mif").string();
  for (auto _ : state) {
    if (!mif::SaveModelDocument(*doc, out)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.size));
}
BENCHMARK(BM_SaveUnchanged)->Unit(benchmark::kMillisecond);

// Read plus write of the file: open, add a marker to every 100th paragraph
// of the main flow, save.
void BM_ReadEditSave(benchmark::State& state) {
  const LargeFile& f = Large();
  const std::string out = (f.dir / "edited.mif").string();
  for (auto _ : state) {
    auto doc = Load(f.path);
    const headless::Id index = doc->find(headless::Kind::MarkerType, "Index");
    int n = 0;
    for (headless::Id p = doc->node(doc->mainFlow()).paraFirst; p != 0; p = doc->para(p).next) {
      if (n++ % 100 != 0) continue;
      doc->appendAnchor(p, doc->addMarker(index, "bench"));
    }
    if (!mif::SaveModelDocument(*doc, out)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.size));
}
BENCHMARK(BM_ReadEditSave)->Unit(benchmark::kMillisecond);

// Read and save unchanged: the target of 100 MB/s applies to this.
void BM_ReadSave(benchmark::State& state) {
  const LargeFile& f = Large();
  const std::string out = (f.dir / "copy.mif").string();
  for (auto _ : state) {
    auto doc = Load(f.path);
    if (!mif::SaveModelDocument(*doc, out)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.size));
}
BENCHMARK(BM_ReadSave)->Unit(benchmark::kMillisecond);

long HighWaterKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// In the process started with --peak: read, edit and save, then report the
// high-water mark before and after.
int PeakRun(const std::string& path) {
  const long before = HighWaterKb();
  {
    auto doc = Load(path);
    doc->appendText(doc->node(doc->mainFlow()).paraFirst, " edited");
    if (!mif::SaveModelDocument(*doc, path + ".saved")) return 1;
  }
  std::printf("%ld %ld\n", before, HighWaterKb());
  return 0;
}

// Runs `argv` and returns the peak resident memory of the process in kB
// (its own high-water mark), or -1. With `out` the process writes its
// standard output into it.
long SpawnPeakKb(std::vector<std::string> args, std::string* out) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  char buf[4096];
  for (ssize_t got; rc == 0 && (got = ::read(fds[0], buf, sizeof buf)) > 0;) {
    if (out) out->append(buf, static_cast<std::size_t>(got));
  }
  ::close(fds[0]);
  if (rc != 0) return -1;
  int status = 0;
  struct rusage usage {};
  if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return -1;
  }
  return usage.ru_maxrss;
}

// Notes the target of the run's peak per file size, and says when the peak
// is above it.
void CheckTarget(benchmark::State& state, const char* what, double target) {
  state.counters["target"] = target;
  if (state.counters["peak_per_file"] > target) {
    std::fprintf(stderr, "%s: peak memory %.2f times the file, above the target of %.0f\n", what,
                 static_cast<double>(state.counters["peak_per_file"]), target);
  }
}

// Read, edit and save in a process of its own; /0 the repeated sample,
// /1 the text-heavy file.
void BM_PeakMemory(benchmark::State& state) {
  const LargeFile& f = Large(state.range(0) != 0);
  long before = 0, peak = 0;
  for (auto _ : state) {
    std::string out;
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    if (SpawnPeakKb({self, "--peak", f.path}, &out) < 0 ||
        std::sscanf(out.c_str(), "%ld %ld", &before, &peak) != 2) {
      state.SkipWithError("peak run failed");
      return;
    }
  }
  const double mb = static_cast<double>(f.size) / (1 << 20);
  state.counters["file_MB"] = mb;
  state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
  state.counters["peak_per_file"] = static_cast<double>(peak - before) / 1024 / mb;
  CheckTarget(state, state.range(0) != 0 ? "read, edit, save (text-heavy)" : "read, edit, save", 4);
}
BENCHMARK(BM_PeakMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// The whole `veltrano InsertAllMarkers` run on the file, written into a
// folder of its own: its peak resident memory against the file's size.
void BM_PeakMemoryInsertAllMarkers(benchmark::State& state) {
  const LargeFile& f = Large(state.range(0) != 0);
  long peak = 0;
  for (auto _ : state) {
    const std::string outDir = (f.dir / "out").string();
    // Started through a fresh process of this program: a process started
    // from this one counts this one's high-water mark as its own (the
    // kernel takes it over at exec), and this one has read large files.
    std::string out;
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    if (SpawnPeakKb({self, "--peak-of", VTR_CLI_PATH, "--yes", "--plugin", VTR_PLUGIN_PATH,
                     "--home", f.dir.string(), "--output", outDir, "InsertAllMarkers", f.path},
                    &out) < 0 ||
        std::sscanf(out.c_str(), "%ld", &peak) != 1 || peak < 0) {
      state.SkipWithError("veltrano failed");
      return;
    }
  }
  const double mb = static_cast<double>(f.size) / (1 << 20);
  state.counters["file_MB"] = mb;
  state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
  state.counters["peak_per_file"] = static_cast<double>(peak) / 1024 / mb;
  CheckTarget(
      state,
      state.range(0) != 0 ? "veltrano InsertAllMarkers (text-heavy)" : "veltrano InsertAllMarkers",
      6);
}
BENCHMARK(BM_PeakMemoryInsertAllMarkers)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--peak") == 0) return PeakRun(argv[2]);
  if (argc > 2 && std::strcmp(argv[1], "--peak-of") == 0) {
    // Runs the program given and prints its peak resident memory in kB.
    std::printf("%ld\n", SpawnPeakKb(std::vector<std::string>(argv + 2, argv + argc), nullptr));
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
