#include "model_view.h"

#include <map>
#include <string>

#include "headless/utf8.h"

namespace fuzz {

namespace {

using headless::DocList;
using headless::Document;
using headless::Id;
using headless::Kind;

constexpr const char* kAddedText = "Fuzz ";
constexpr const char* kAddedMarker = "fuzz:entry";

std::string Conditions(const Document& doc, uint32_t attr) {
  std::string out;
  for (Id c : doc.conditionsOf(attr)) out += doc.node(c).name + ",";
  return out;
}

void Paragraphs(const Document& doc, Id container, std::string& out) {
  for (Id p = doc.node(container).paraFirst; p != 0; p = doc.para(p).next) {
    out += " [" + std::string(doc.tag(p)) + "] ";
    std::string running;
    for (const headless::Atom a : doc.atoms(p)) {
      const std::string now = Conditions(doc, a.attr);
      if (now != running) out += "{if " + now + "}";
      running = now;
      if (!a.isAnchor()) {
        headless::AppendUtf8(out, a.ch());
        continue;
      }
      const Id obj = a.object();
      out += "{";
      out += doc.alive(obj) ? headless::KindName(doc.kind(obj)) : "gone";
      if (a.isEnd()) out += " end";
      if (doc.kind(obj) == Kind::Marker) out += " " + doc.node(obj).name;
      out += "}";
    }
    out += "{end " + Conditions(doc, doc.endAttr(p)) + "}\n";
  }
}

// Characters a file names but the reader does not know (`<Char Foo>`) are
// held as private-use stand-ins (U+F0000 on, UTF-8 F3 B0..BF xx xx), and
// which stand-in a name gets depends on what else the file's bytes hold, so
// it can differ between a file and its rewrite. The view numbers them in
// order of first use instead; the written names are checked by the bytes.
std::string NumberStandIns(const std::string& view) {
  std::string out;
  std::map<std::string, std::size_t> numbers;
  for (std::size_t at = 0; at < view.size();) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(view[at + i]); };
    if (at + 3 < view.size() && byte(0) == 0xF3 && byte(1) >= 0xB0 && byte(1) <= 0xBF &&
        (byte(2) & 0xC0) == 0x80 && (byte(3) & 0xC0) == 0x80) {
      const auto [it, added] = numbers.try_emplace(view.substr(at, 4), numbers.size() + 1);
      out += "<char#" + std::to_string(it->second) + ">";
      at += 4;
    } else {
      out += view[at++];
    }
  }
  return out;
}

}  // namespace

std::string ModelView(const Document& doc) {
  std::string out;
  for (Id c : doc.all(DocList::Conditions)) {
    out += "condition " + doc.node(c).name + (doc.conditionShown(c) ? " shown\n" : " hidden\n");
  }
  out += doc.showAll() ? "show all\n" : "";
  for (Id flow : doc.all(DocList::Flows)) {
    out += "flow " + doc.node(flow).name + (flow == doc.mainFlow() ? " (main)\n" : "\n");
    Paragraphs(doc, flow, out);
  }
  for (Id table : doc.all(DocList::Tables)) {
    out += "table\n";
    for (Id row = doc.node(table).first; row != 0; row = doc.node(row).next) {
      out += " row\n";
      for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) {
        out += "  cell\n";
        Paragraphs(doc, cell, out);
      }
    }
  }
  for (Id note : doc.all(DocList::Footnotes)) {
    out += "footnote\n";
    Paragraphs(doc, note, out);
  }
  for (Id m : doc.all(DocList::Markers)) {
    const Id type = doc.node(m).ref;
    out += "marker " + (doc.alive(type) ? doc.node(type).name : std::string("?")) + ": " +
           doc.node(m).name + "\n";
  }
  return NumberStandIns(out);
}

std::string BookView(const headless::Book& book) {
  std::string out;
  for (Id c : book.components()) {
    const headless::Component& comp = book.component(c);
    out += std::to_string(comp.kind) + " " + comp.path + "\n";
  }
  return out;
}

bool AddMarkerAndText(Document& doc) {
  const Id flow = doc.mainFlow();
  if (doc.kind(flow) != Kind::Flow) return false;
  const Id p = doc.node(flow).paraFirst;
  if (p == 0) return false;
  doc.insertText({p, 0}, kAddedText);
  Id type = doc.find(Kind::MarkerType, "Index");
  if (type == 0) type = doc.addMarkerType("Index");
  doc.insertAnchor({p, 0}, doc.addMarker(type, kAddedMarker));
  return true;
}

bool HasAddedMarkerAndText(const Document& doc) {
  bool marker = false, text = false;
  for (Id m : doc.all(DocList::Markers)) {
    const Id type = doc.node(m).ref;
    marker = marker || (doc.node(m).name == kAddedMarker && doc.alive(type) &&
                        doc.node(type).name == "Index");
  }
  for (Id flow : doc.all(DocList::Flows)) {
    for (Id p = doc.node(flow).paraFirst; p != 0 && !text; p = doc.para(p).next) {
      text = doc.text(p).find(kAddedText) != std::string::npos;
    }
  }
  return marker && text;
}

}  // namespace fuzz
