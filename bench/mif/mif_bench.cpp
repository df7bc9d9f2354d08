// Reading and writing a 20 MB MIF file through the MIF store. The file is
// made in a temporary folder by repeating the paragraphs of a sample's main
// flow. Throughput is reported as bytes of the file per second; peak memory
// is measured in a process of its own (the benchmark starts this program
// again with --peak FILE), as the high-water mark of its resident memory
// against the file's size.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

// The sample with the paragraphs of its largest flow repeated until the
// file has about 20 MB.
std::string MakeLargeFile() {
  const std::string path = std::string(VTR_MIF_SAMPLES_DIR) + "/xorg-xp_library.mif";
  const std::string sample = ReadFile(path);
  if (sample.find("\n<TextFlow ") == std::string::npos) {
    std::fprintf(stderr, "the sample %s is absent or has no text flow\n", path.c_str());
    std::exit(2);
  }
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
  const std::size_t firstPara = sample.find("\n <Para ", bestBegin);
  const std::string paras = sample.substr(firstPara + 1, bestEnd + 1 - (firstPara + 1));
  std::string out = sample.substr(0, bestEnd + 1);
  while (out.size() + paras.size() + (sample.size() - bestEnd) < kTargetBytes) out += paras;
  out += sample.substr(bestEnd + 1);
  return out;
}

struct LargeFile {
  fs::path dir;
  std::string path;
  std::size_t size = 0;

  LargeFile() {
    dir = fs::temp_directory_path() / ("vtr-mif-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    path = (dir / "large.mif").string();
    const std::string text = MakeLargeFile();
    size = text.size();
    std::ofstream(path, std::ios::binary) << text;
  }
  ~LargeFile() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

const LargeFile& Large() {
  static const LargeFile file;
  return file;
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

void BM_PeakMemory(benchmark::State& state) {
  const LargeFile& f = Large();
  long before = 0, peak = 0;
  for (auto _ : state) {
    int fds[2];
    if (::pipe(fds) != 0) {
      state.SkipWithError("pipe failed");
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string self = fs::read_symlink("/proc/self/exe").string();
    std::string flag = "--peak";
    std::string file = f.path;
    char* argv[] = {self.data(), flag.data(), file.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    char buf[128] = {};
    const ssize_t got = rc == 0 ? ::read(fds[0], buf, sizeof buf - 1) : -1;
    ::close(fds[0]);
    int status = 0;
    if (rc == 0) ::waitpid(pid, &status, 0);
    if (got <= 0 || std::sscanf(buf, "%ld %ld", &before, &peak) != 2) {
      state.SkipWithError("peak run failed");
      return;
    }
  }
  const double mb = static_cast<double>(f.size) / (1 << 20);
  state.counters["file_MB"] = mb;
  state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
  state.counters["peak_per_file"] = static_cast<double>(peak - before) / 1024 / mb;
}
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--peak") == 0) return PeakRun(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
