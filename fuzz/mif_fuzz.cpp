// libFuzzer target over the MIF layer. An input that parses as a document
// or book must:
//  (a) come back byte for byte when its statement tree is written;
//  (b) read into the model with every object marked changed, written and
//      read again, show the same paragraphs, texts, markers, tables,
//      footnotes and conditions;
//  (c) give the same bytes when that writing is read and written unchanged;
//  (d) keep a marker and text added as the plug-in adds them.
// Any difference aborts, so that the fuzzer reports the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "headless/document.h"
#include "mif/model.h"
#include "mif/writer.h"
#include "model_view.h"

namespace {

using headless::Document;
using headless::Id;

[[noreturn]] void Fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "MIF fuzz finding: %s\n%.*s\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

std::unique_ptr<Document> ReadDocument(const std::string& text, const char* step) {
  auto file = mif::ParseDocument(text, "fuzz.mif");
  if (!file.ok()) Fail(step, file.error().describe() + "\n" + text);
  auto doc = mif::ReadModelDocument(std::move(file).value());
  if (!doc.ok()) Fail(step, doc.error().describe());
  return std::move(doc).value();
}

void TouchAll(Document& doc) {
  for (Id id = 1; id < doc.idLimit(); ++id) {
    if (doc.alive(id)) doc.markModified(id);
  }
}

// What a written model must give back when read again; a model that cannot
// be written at all says why, which is an answer too (never a crash).
std::string WriteOrEmpty(const Document& doc, bool* ok) {
  auto text = mif::WriteModelDocument(doc);
  *ok = text.ok();
  return text.ok() ? *text : std::string();
}

void CheckDocument(const std::string& input) {
  auto doc = ReadDocument(input, "the input no longer reads");
  const std::string before = fuzz::ModelView(*doc);

  // (b) Everything re-emitted.
  TouchAll(*doc);
  bool ok = false;
  const std::string written = WriteOrEmpty(*doc, &ok);
  if (!ok) return;
  auto again = ReadDocument(written, "(b) the rewritten file does not read");
  const std::string after = fuzz::ModelView(*again);
  if (after != before) Fail("(b) the rewritten file reads differently", before + "\n---\n" + after);

  // (c) Written unchanged, the same bytes.
  bool ok2 = false;
  const std::string same = WriteOrEmpty(*again, &ok2);
  if (!ok2 || same != written) Fail("(c) an unchanged write differs", written + "\n---\n" + same);

  // (d) A marker and text added at the start of the main flow.
  auto edited = ReadDocument(input, "the input no longer reads");
  if (!fuzz::AddMarkerAndText(*edited)) return;
  bool ok3 = false;
  const std::string withMarker = WriteOrEmpty(*edited, &ok3);
  if (!ok3) return;
  auto found = ReadDocument(withMarker, "(d) the edited file does not read");
  if (!fuzz::HasAddedMarkerAndText(*found))
    Fail("(d) the added marker or text is gone", withMarker);
}

void CheckBook(const std::string& input) {
  auto file = mif::ParseDocument(input, "fuzz.book");
  if (!file.ok()) return;
  auto book = mif::ReadModelBook(std::move(file).value());
  if (!book.ok()) return;
  const std::string before = fuzz::BookView(**book);
  auto written = mif::WriteModelBook(**book);
  if (!written.ok()) return;
  auto reread = mif::ParseDocument(*written, "fuzz.book");
  if (!reread.ok()) Fail("the rewritten book does not parse", reread.error().describe());
  auto again = mif::ReadModelBook(std::move(reread).value());
  if (!again.ok()) Fail("the rewritten book does not read", again.error().describe());
  if (fuzz::BookView(**again) != before) Fail("the rewritten book reads differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  auto parsed = mif::ParseDocument(input, "fuzz.mif");
  if (!parsed.ok()) return 0;
  // (a) The tree gives back the input.
  if (mif::WriteTree(parsed->tree()) != input) Fail("(a) the tree does not give back the input");
  mif::WriteOptions pieces;
  pieces.copyUnchanged = false;
  if (mif::WriteTree(parsed->tree(), pieces) != input) {
    Fail("(a) the pieces of the tree do not cover the input");
  }
  if (parsed->kind() == mif::FileKind::Book) {
    CheckBook(input);
  } else {
    CheckDocument(input);
  }
  return 0;
}
