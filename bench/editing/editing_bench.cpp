// Benchmarks of the whole-document conversion, Insert All Markers (command
// 5), run by the plug-in loaded into the headless host, against a bare walk
// of the same document through the service table (next paragraph and tag
// read per paragraph), as a client makes it.
//
// The document: a main flow of N paragraphs, a quarter of them entry
// paragraphs in runs of one to five, and one old "Index" marker for every
// fourth paragraph, spread over the body paragraphs. Each timed run starts
// from a fresh copy of that document, so every run deletes the same old
// markers and creates the same new ones.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "headless/host.h"

namespace {

using headless::Document;
using headless::Host;
using headless::Id;
using headless::TextPos;

constexpr int32_t kInsertAllMarkers = 5;

// The document of `paragraphs` paragraphs described above.
Document MakeDocument(int paragraphs) {
  const int entries = paragraphs / 4;
  const int oldMarkers = paragraphs / 4;
  const int bodies = paragraphs - entries;
  // Runs of 1, 2, 3, 4, 5, 1, ... entries until there are `entries`.
  int runs = 0;
  for (int made = 0; made < entries; ++runs) made += runs % 5 + 1;

  Document d;
  d.setPath("C:\\bench\\chapter.fm");
  d.addParagraphFormat("Body");
  d.addParagraphFormat("Index Entry");
  const Id condition = d.addCondition("Index");
  const Id indexType = d.find(headless::Kind::MarkerType, "Index");
  const Id flow = d.addFlow();
  d.addFrame(flow);

  int bodyCount = 0;
  auto body = [&] {
    const Id p = d.appendParagraph(flow, "Body");
    d.appendText(p, "Body paragraph " + std::to_string(bodyCount));
    // Every third body paragraph holds one old marker: a quarter of all.
    if (bodyCount % 3 == 0 && bodyCount / 3 < oldMarkers) {
      d.appendAnchor(p, d.addMarker(indexType, "<$singlepage>Old entry;"));
    }
    ++bodyCount;
  };
  int entryCount = 0;
  for (int r = 0; r < runs; ++r) {
    // The body paragraphs spread evenly over the gaps before the runs.
    const int gapEnd = static_cast<int>(static_cast<int64_t>(bodies) * (r + 1) / (runs + 1));
    while (bodyCount < gapEnd) body();
    for (int e = 0; e < r % 5 + 1 && entryCount < entries; ++e, ++entryCount) {
      const Id p = d.appendParagraph(flow, "Index Entry");
      d.appendText(p, ".i.Topic " + std::to_string(entryCount % 997) + ":entry " +
                          std::to_string(entryCount) + ";");
      d.setConditions(TextPos{p, 0}, TextPos{p, static_cast<uint32_t>(d.size(p)) + 1}, {condition});
    }
  }
  while (bodyCount < bodies) body();
  d.clearModified();
  return d;
}

const Document& DocumentOf(int paragraphs) {
  static std::map<int, std::unique_ptr<Document>> cache;
  auto& slot = cache[paragraphs];
  if (!slot) slot = std::make_unique<Document>(MakeDocument(paragraphs));
  return *slot;
}

std::size_t IndexMarkerCount(const Document& d) {
  const Id indexType = d.find(headless::Kind::MarkerType, "Index");
  std::size_t n = 0;
  for (Id m : d.all(headless::DocList::Markers)) n += d.node(m).ref == indexType ? 1 : 0;
  return n;
}

// Loads the plug-in into `host` and times Insert All Markers on fresh copies
// of `original`, one per iteration. Returns the last copy's document, or 0
// (with the benchmark marked as skipped) when the plug-in cannot be loaded.
ObjectId TimeInsertAllMarkers(benchmark::State& state, Host& host, const Document& original) {
  host.setHomeDirectory("C:\\bench\\home");
  std::string error;
  if (host.loadClient(VTR_PLUGIN_PATH, &error) < 0) {
    state.SkipWithError(("cannot load the plug-in: " + error).c_str());
    return 0;
  }
  host.initialize(host::kInitFirst);
  ObjectId doc = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (doc != 0) host.close(doc);
    doc = host.addDocument(original);
    host.setActiveDocument(doc);
    state.ResumeTiming();
    host.command(kInsertAllMarkers);
  }
  return doc;
}

void BM_InsertAllMarkers(benchmark::State& state) {
  const auto paragraphs = static_cast<int>(state.range(0));
  Host host;
  const ObjectId doc = TimeInsertAllMarkers(state, host, DocumentOf(paragraphs));
  if (doc == 0) return;
  const std::size_t made = IndexMarkerCount(*host.document(doc));
  if (!host.dialogs().empty()) state.SkipWithError("the conversion showed a dialog");
  state.counters["paragraphs"] = paragraphs;
  state.counters["markers_made"] = static_cast<double>(made);
  state.SetItemsProcessed(state.iterations() * paragraphs);
}
BENCHMARK(BM_InsertAllMarkers)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

// One body paragraph holding `markers` old "Index" markers between words,
// and one entry paragraph: the conversion deletes every old marker first.
Document MakeCrowdedParagraph(int markers) {
  Document d;
  d.setPath("C:\\bench\\crowded.fm");
  d.addParagraphFormat("Body");
  d.addParagraphFormat("Index Entry");
  const Id condition = d.addCondition("Index");
  const Id indexType = d.find(headless::Kind::MarkerType, "Index");
  const Id flow = d.addFlow();
  d.addFrame(flow);
  const Id p = d.appendParagraph(flow, "Body");
  for (int i = 0; i < markers; ++i) {
    d.appendText(p, "w ");
    d.appendAnchor(p, d.addMarker(indexType, "Old " + std::to_string(i)));
  }
  const Id e = d.appendParagraph(flow, "Index Entry");
  d.appendText(e, ".i.Crowd;");
  d.setConditions(TextPos{e, 0}, TextPos{e, static_cast<uint32_t>(d.size(e)) + 1}, {condition});
  d.clearModified();
  return d;
}

// Deleting n markers of one paragraph must cost O(n): the time per marker
// stays flat from 20,000 to 160,000.
void BM_InsertAllMarkersCrowdedParagraph(benchmark::State& state) {
  const auto markers = static_cast<int>(state.range(0));
  Host host;
  const ObjectId doc = TimeInsertAllMarkers(state, host, MakeCrowdedParagraph(markers));
  if (doc == 0) return;
  if (IndexMarkerCount(*host.document(doc)) != 1) state.SkipWithError("old markers were left");
  state.counters["markers"] = markers;
  state.SetItemsProcessed(state.iterations() * markers);
}
BENCHMARK(BM_InsertAllMarkersCrowdedParagraph)
    ->Arg(20000)
    ->Arg(80000)
    ->Arg(160000)
    ->Unit(benchmark::kMillisecond);

void AppendToString(void* ctx, const char* data, uint32_t len) {
  static_cast<std::string*>(ctx)->append(data, len);
}

void BM_BareWalk(benchmark::State& state) {
  const auto paragraphs = static_cast<int>(state.range(0));
  Host host;
  const ObjectId doc = host.addDocument(DocumentOf(paragraphs));
  const VtrHostService& s = *host.service(host.attachClient("Benchmark"));
  void* h = s.host;
  int64_t steps = 0;
  std::string tag;
  for (auto _ : state) {
    const ObjectId flow = s.get_id(h, 0, doc, host::kPropFirstFlowInDoc);
    const ObjectId frame = s.get_id(h, doc, flow, host::kPropFirstFrameInFlow);
    for (ObjectId p = s.get_id(h, doc, frame, host::kPropFirstParagraph); p != 0;
         p = s.get_id(h, doc, p, host::kPropNextParagraph)) {
      tag.clear();
      s.get_string(h, doc, p, host::kPropName, AppendToString, &tag);
      benchmark::DoNotOptimize(tag.data());
      ++steps;
    }
  }
  state.counters["paragraphs"] = paragraphs;
  state.SetItemsProcessed(steps);
}
BENCHMARK(BM_BareWalk)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
