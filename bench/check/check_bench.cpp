// `veltrano check` on a book of 20 chapters with 100,000 entries in all,
// run in process as the program runs it, against the program's other runs
// over the same book: generating its index (the target: check takes at most
// twice as long), an update of its markers that writes nothing (--dry-run),
// and reading its chapters.
//
// Each chapter holds its entries as an update leaves them: runs of one to
// five entry paragraphs, each after a body paragraph that holds the run's
// markers. Every 50th entry is a "see" reference to a heading that exists.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "mif/store.h"
#include "mif_files.h"

namespace {

namespace fs = std::filesystem;

constexpr int kChapters = 20;
constexpr int kEntries = 100000;

std::string Para(const std::string& tag, const std::string& text, bool entry,
                 const std::string& markers, bool first) {
  std::string out = "<Para <PgfTag `" + tag + "'> <ParaLine ";
  if (first) out += "<TextRectID 7> ";
  out += entry ? "<Conditional <InCondition `Index'>>" : "<Unconditional>";
  out += " <String `" + text + "'>" + markers + ">>\n";
  return out;
}

std::string Marker(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '>') escaped += '\\';
    escaped += c;
  }
  return "<Marker <MType 2> <MTypeName `Index'> <MText `" + escaped + "'>>";
}

// The entry of number `n` as typed and as its marker holds it.
std::pair<std::string, std::string> EntryOf(int n) {
  if (n % 50 == 49) {
    const std::string target = "Topic " + std::to_string(n % 997);
    return {".i.Alias " + std::to_string(n) + ": see " + target + ";",
            "<$singlepage>Alias " + std::to_string(n) + ":<Italic>see<Default Para Font> " +
                target + ";"};
  }
  const std::string body = "Topic " + std::to_string(n % 997) + ":entry " + std::to_string(n);
  return {".i." + body + ";", "<$singlepage>" + body + ";"};
}

std::string ChapterText(int first, int count) {
  std::string flow;
  int made = 0;
  for (int run = 0; made < count; ++run) {
    const int size = std::min(run % 5 + 1, count - made);
    std::string markers, open;
    std::vector<std::string> entries;
    for (int e = 0; e < size; ++e) {
      auto [typed, marker] = EntryOf(first + made + e);
      entries.push_back(typed);
      if (!open.empty() && open.size() + 1 + marker.size() >= 255) {
        markers += Marker(open);
        open.clear();
      }
      open += marker;
    }
    markers += Marker(open);
    flow +=
        Para("Body", "Body text of run " + std::to_string(run) + ".", false, markers, flow.empty());
    for (const std::string& e : entries) flow += Para("Index Entry", e, true, {}, false);
    made += size;
  }
  return "<MIFFile 9.00>\n<ConditionCatalog <Condition <CTag `Index'> <CState CShown>>>\n"
         "<PgfCatalog <Pgf <PgfTag `Index Entry'>> <Pgf <PgfTag `Body'>>>\n"
         "<Page <PageType BodyPage> <PageNum `1'> <TextRect <ID 7> <ShapeRect 1\" 1\" 6\" 9\">>>\n"
         "<TextFlow <TFTag `A'>\n" +
         flow + ">\n";
}

// The book, written once into a temporary directory.
class Book {
 public:
  Book() : dir_(fs::temp_directory_path() / ("vtr-check-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_ / "home");
    std::string book = "<Book 9.00>\n";
    for (int c = 0; c < kChapters; ++c) {
      const std::string name = "ch" + std::to_string(c + 1);
      std::ofstream(dir_ / (name + ".mif"))
          << ChapterText(c * (kEntries / kChapters), kEntries / kChapters);
      chapters_.push_back((dir_ / (name + ".mif")).string());
      book += "<BookComponent <FileName `<c\\>" + name + ".fm'>>\n";
    }
    book += "<BookComponent <FileName `<c\\>BookIX.fm'> <DeriveType IDX> <DeriveTag `Index'>>\n";
    std::ofstream(dir_ / "Book.mif") << book;
  }
  ~Book() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  const std::vector<std::string>& chapters() const { return chapters_; }

 private:
  fs::path dir_;
  std::vector<std::string> chapters_;
};

const Book& TheBook() {
  static Book book;
  return book;
}

int Run(const std::vector<std::string>& args, std::string* out) {
  std::istringstream in;
  std::ostringstream o, e;
  headless::cli::CliIo io(in, o, e);
  io.currentDir = fs::current_path().string();
  const int status = headless::cli::RunCli(args, io, headless::cli::MifFiles());
  *out = o.str() + e.str();
  return status;
}

void RunProgram(benchmark::State& state, std::vector<std::string> args, int wantStatus) {
  const Book& book = TheBook();
  args.insert(args.begin(), {"--home", book.path("home")});
  args.push_back(book.path("Book.mif"));
  std::string out;
  for (auto _ : state) {
    if (Run(args, &out) != wantStatus) {
      state.SkipWithError(("unexpected exit status: " + out.substr(0, 300)).c_str());
      return;
    }
  }
  state.counters["entries"] = kEntries;
  state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_Check(benchmark::State& state) {
  RunProgram(state, {"check"}, 0);
}
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Generate(benchmark::State& state) {
  RunProgram(state, {"generate"}, 0);
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UpdateAllMarkersDryRun(benchmark::State& state) {
  RunProgram(state, {"--yes", "--dry-run", "UpdateAllMarkers"}, 0);
}
BENCHMARK(BM_UpdateAllMarkersDryRun)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadChapters(benchmark::State& state) {
  const Book& book = TheBook();
  mif::MifStore store;
  for (auto _ : state) {
    for (const std::string& c : book.chapters()) benchmark::DoNotOptimize(store.load(c));
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_ReadChapters)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
