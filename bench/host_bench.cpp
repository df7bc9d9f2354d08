// Benchmarks of the host operations, called through the service table the
// way the client library calls them:
//   - walking a flow of 1,000,000 paragraphs, reading each tag and stepping
//     to the next paragraph;
//   - creating markers (new anchored object, type, text) and deleting them
//     again through the document's marker list, at 10,000 and 100,000.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "headless/host.h"

namespace {

using headless::Document;
using headless::Host;
using headless::Id;

void AppendToString(void* ctx, const char* data, uint32_t len) {
  static_cast<std::string*>(ctx)->append(data, len);
}

// A host with one open document whose main flow holds `paragraphs`
// paragraphs, and an in-process client's service table.
struct Fixture {
  explicit Fixture(int paragraphs) {
    Document d;
    Id flow = d.addFlow();
    d.addFrame(flow);
    d.addParagraphFormat("Body");
    for (int i = 0; i < paragraphs; ++i) {
      Id p = d.appendParagraph(flow, i % 10 == 0 ? "Heading" : "Body");
      d.appendText(p, "Paragraph text " + std::to_string(i));
    }
    d.clearModified();
    doc = host.addDocument(std::move(d));
    host.setActiveDocument(doc);
    service = host.service(host.attachClient("Benchmark"));
    h = service->host;
    flowHandle = service->get_id(h, 0, doc, host::kPropMainFlowInDoc);
    frame = service->get_id(h, doc, flowHandle, host::kPropFirstFrameInFlow);
  }

  Host host;
  ObjectId doc = 0;
  const VtrHostService* service = nullptr;
  void* h = nullptr;
  ObjectId flowHandle = 0;
  ObjectId frame = 0;
};

void BM_WalkParagraphs(benchmark::State& state) {
  static Fixture f(1000000);
  const VtrHostService& s = *f.service;
  int64_t steps = 0;
  std::string tag;
  for (auto _ : state) {
    for (ObjectId p = s.get_id(f.h, f.doc, f.frame, host::kPropFirstParagraph); p != 0;
         p = s.get_id(f.h, f.doc, p, host::kPropNextParagraph)) {
      tag.clear();
      s.get_string(f.h, f.doc, p, host::kPropName, AppendToString, &tag);
      benchmark::DoNotOptimize(tag.data());
      ++steps;
    }
  }
  state.SetItemsProcessed(steps);
  state.counters["steps_per_second"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WalkParagraphs)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_InsertAndDeleteMarkers(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  Fixture f(count);
  const VtrHostService& s = *f.service;
  const ObjectId index = s.get_named_object(f.h, f.doc, host::kObjMarkerType, "Index");
  int64_t markers = 0;
  for (auto _ : state) {
    // One marker at the end of each paragraph, made as a conversion makes it.
    for (ObjectId p = s.get_id(f.h, f.doc, f.frame, host::kPropFirstParagraph); p != 0;
         p = s.get_id(f.h, f.doc, p, host::kPropNextParagraph)) {
      TextLoc at{p, host::kOffsetEndOfText};
      ObjectId m = s.new_anchored_object(f.h, f.doc, host::kObjMarker, &at);
      s.set_id(f.h, f.doc, m, host::kPropMarkerType, index);
      s.set_string(f.h, f.doc, m, host::kPropMarkerText, "<$singlepage>Dogs:puppies;");
    }
    // And all of them deleted as a deletion walks the marker list.
    for (ObjectId m = s.get_id(f.h, 0, f.doc, host::kPropFirstMarkerInDoc); m != 0;) {
      ObjectId next = s.get_id(f.h, f.doc, m, host::kPropNextMarker);
      if (s.get_id(f.h, f.doc, m, host::kPropMarkerType) == index) s.delete_object(f.h, f.doc, m);
      m = next;
    }
    markers += count;
  }
  state.SetItemsProcessed(markers);
  // Seconds per marker (insert plus delete), shown as a time.
  state.counters["per_marker"] = benchmark::Counter(
      static_cast<double>(markers), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InsertAndDeleteMarkers)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
