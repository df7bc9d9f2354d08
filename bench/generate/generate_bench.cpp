// Generating the index of a book of 20 chapters with 100,000 and 400,000
// index entries in all, against reading the same chapters and writing
// them back unchanged. Targets: generating takes at most 3 times the
// reading and writing, and four times the entries take at most 4.5 times
// as long. The figures and the two ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "generate/generate_book.h"
#include "headless/host.h"
#include "mif/model.h"
#include "mif/store.h"

namespace {

namespace fs = std::filesystem;

constexpr int kChapters = 20;
constexpr int kParagraphsPerPage = 40;

const char* const kWords[] = {"alpha",
                              "bravo",
                              "charlie",
                              "delta",
                              "echo",
                              "foxtrot",
                              "golf",
                              "hotel",
                              "india",
                              "juliet",
                              "kilo",
                              "lima",
                              "mike",
                              "november",
                              "oscar",
                              "papa",
                              "quebec",
                              "romeo",
                              "sierra",
                              "tango",
                              "uniform",
                              "victor",
                              "whiskey",
                              "xray",
                              "yankee",
                              "zulu",
                              "\u00c4rger",
                              "\u00e9t\u00e9",
                              "r\u00e9sum\u00e9",
                              "na\u00efve"};
constexpr unsigned kWordCount = sizeof(kWords) / sizeof(kWords[0]);

// One marker's text: one or two entries of one to three levels, now and
// then a range, a sort key or a page-less cross-reference.
std::string MarkerText(unsigned& seed) {
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  std::string text;
  const unsigned kind = next() % 20;
  if (kind == 0) text += "<$startrange\\>";
  if (kind == 1) text += "<$endrange\\>";
  if (kind == 2) text += "<$nopage\\>";
  text += kWords[next() % kWordCount];
  text += " ";
  text += kWords[next() % kWordCount];
  text += std::to_string(next() % 400);
  if (next() % 2) {
    text += ":";
    text += kWords[next() % kWordCount];
    if (next() % 4 == 0) text += std::string(":") + kWords[next() % kWordCount];
  }
  if (kind == 3) text += "[sort key]";
  return text;
}

std::string ChapterText(int markers, unsigned seed) {
  std::ostringstream out;
  out << "<MIFFile 9.00> # made by the generate benchmark\n";
  const int pages = (markers + kParagraphsPerPage - 1) / kParagraphsPerPage;
  for (int p = 1; p <= pages; ++p) {
    out << "<Page <PageType BodyPage> <PageNum `" << p << "'> <TextRect <ID " << p
        << "> <ShapeRect 1.0\" 1.0\" 6.5\" 9.0\"> <TRNumColumns 1> <TRNext "
        << (p < pages ? p + 1 : 0) << ">>>\n";
  }
  out << "<TextFlow <TFTag `A'> <TFAutoConnect Yes> <Notes >\n";
  for (int i = 0; i < markers; ++i) {
    out << " <Para <Unique " << 100000 + 2 * i << "> <PgfTag `Body'> <ParaLine ";
    if (i % kParagraphsPerPage == 0) out << "<TextRectID " << i / kParagraphsPerPage + 1 << "> ";
    out << "<String `Some running text of the chapter, with a marker in it.'> "
        << "<Marker <MType 2> <MTypeName `Index'> <MText `" << MarkerText(seed) << "'> <Unique "
        << 100001 + 2 * i << ">>>>\n";
  }
  out << "> # end of TextFlow\n# End of MIFFile\n";
  return out.str();
}

// A book of 20 chapters with `entries` markers in all, in a folder of its own.
struct BookFiles {
  fs::path dir;
  std::string book;
  std::vector<std::string> chapters;

  explicit BookFiles(int entries) {
    dir = fs::temp_directory_path() /
          ("vtr-generate-bench-" + std::to_string(::getpid()) + "-" + std::to_string(entries));
    fs::create_directories(dir);
    std::string bookText = "<Book 9.00>\n";
    for (int c = 0; c < kChapters; ++c) {
      const std::string name = "ch" + std::to_string(c + 1) + ".mif";
      std::ofstream(dir / name, std::ios::binary)
          << ChapterText(entries / kChapters, 12345u + static_cast<unsigned>(c));
      chapters.push_back((dir / name).string());
      bookText += "<BookComponent <FileName `<c\\>" + name + "'> <PageNumbering Continue>>\n";
    }
    bookText +=
        "<BookComponent <FileName `<c\\>BookIX.mif'> <FileNameSuffix `IX'> <DeriveType IDX> "
        "<DeriveTag `Index'> <DeriveLinks Yes>>\n";
    book = (dir / "Book.mif").string();
    std::ofstream(book, std::ios::binary) << bookText;
  }
  ~BookFiles() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

BookFiles& Files(int entries) {
  static std::map<int, std::unique_ptr<BookFiles>> made;
  auto& f = made[entries];
  if (!f) f = std::make_unique<BookFiles>(entries);
  return *f;
}

void ReadAndWriteChapters(const BookFiles& files) {
  mif::MifStore store;
  for (const std::string& chapter : files.chapters) {
    headless::Loaded loaded = store.load(chapter);
    auto text = mif::WriteModelDocument(*loaded.document);
    benchmark::DoNotOptimize(text);
  }
}

std::string Generate(const BookFiles& files) {
  headless::Host host(std::make_shared<mif::MifStore>());
  const ObjectId book = host.open(files.book);
  return headless::generate::GenerateBookIndexes(host, book, {}).error;
}

void RemoveIndex(const BookFiles& files) {
  std::error_code ec;
  fs::remove(files.dir / "BookIX.mif", ec);  // each run makes the index anew
}

// Each benchmark runs once untimed first, so that neither side of a ratio
// pays for the process's first allocations and page faults alone.
void BM_ReadAndWriteChapters(benchmark::State& state) {
  const BookFiles& files = Files(static_cast<int>(state.range(0)));
  ReadAndWriteChapters(files);
  for (auto _ : state) ReadAndWriteChapters(files);
}

void BM_Generate(benchmark::State& state) {
  const BookFiles& files = Files(static_cast<int>(state.range(0)));
  if (const std::string error = Generate(files); !error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  RemoveIndex(files);
  for (auto _ : state) {
    benchmark::DoNotOptimize(Generate(files));
    state.PauseTiming();
    RemoveIndex(files);
    state.ResumeTiming();
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}

BENCHMARK(BM_ReadAndWriteChapters)
    ->Arg(100000)
    ->Arg(400000)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate)->Arg(100000)->Arg(400000)->Iterations(2)->Unit(benchmark::kMillisecond);

// Prints the runs as usual, then the two ratios the targets are about.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      seconds_[r.benchmark_name()] =
          r.real_accumulated_time / static_cast<double>(r.iterations > 0 ? r.iterations : 1);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double rw = seconds_["BM_ReadAndWriteChapters/100000/iterations:2"];
    const double g1 = seconds_["BM_Generate/100000/iterations:2"];
    const double g4 = seconds_["BM_Generate/400000/iterations:2"];
    if (rw <= 0 || g1 <= 0 || g4 <= 0) return;
    std::printf("\ngenerate / read+write, 100,000 entries: %.2f (target at most 3)\n", g1 / rw);
    std::printf("generate 400,000 / generate 100,000: %.2f (target at most 4.5)\n", g4 / g1);
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
