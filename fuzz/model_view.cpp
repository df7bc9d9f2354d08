#include "model_view.h"

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
    for (const headless::Atom& a : doc.atoms(p)) {
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
  return out;
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
