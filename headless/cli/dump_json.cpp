#include "dump_json.h"

#include "json_writer.h"

namespace headless::cli {

namespace {

void WritePlace(JsonWriter& w, const Place& place) {
  if (place.paragraph == 0) {
    w.null();
    return;
  }
  w.beginObject().key("paragraph").value(place.paragraph).key("offset").value(place.offset).end();
}

void WriteParagraph(JsonWriter& w, const ParagraphView& p) {
  w.beginObject();
  w.key("number").value(p.number);
  w.key("tag").value(p.tag);
  w.key("text").value(p.text);
  w.key("size").value(p.size);
  w.key("conditions").strings(p.conditions);
  w.key("hidden").value(p.hidden);
  w.key("markers").beginArray();
  for (const AnchorView& a : p.anchors) {
    if (a.kind != "marker") continue;
    w.beginObject().key("offset").value(a.offset).key("type").value(a.type);
    w.key("text").value(a.text).end();
  }
  w.end();
  w.key("objects").beginArray();
  for (const AnchorView& a : p.anchors) {
    if (a.kind == "marker") continue;
    w.beginObject().key("offset").value(a.offset).key("kind").value(a.kind);
    if (a.number != 0) w.key("number").value(a.number);
    if (a.end) w.key("end").value(true);
    w.end();
  }
  w.end();
  w.key("runs").beginArray();
  for (const Segment& s : p.segments) {
    if (s.conditions.empty() && s.format.empty()) continue;
    w.beginObject().key("begin").value(s.begin).key("end").value(s.end);
    w.key("conditions").strings(s.conditions).key("format").value(s.format).end();
  }
  w.end();
  w.end();
}

void WriteParagraphs(JsonWriter& w, const std::vector<ParagraphView>& paras) {
  w.key("paragraphs").beginArray();
  for (const ParagraphView& p : paras) WriteParagraph(w, p);
  w.end();
}

void WriteComponents(JsonWriter& w, const std::vector<ComponentView>& components) {
  w.key("components").beginArray();
  for (const ComponentView& c : components) {
    w.beginObject().key("kind").value(c.kind).key("path").value(c.path);
    w.key("generated").value(c.generated).key("excluded").value(c.excluded);
    WriteComponents(w, c.components);
    w.end();
  }
  w.end();
}

}  // namespace

std::string DocumentJson(const DocumentView& view) {
  JsonWriter w;
  w.beginObject();
  w.key("type").value("document");
  w.key("path").value(view.path);
  w.key("showAll").value(view.showAll);
  w.key("conditions").beginArray();
  for (const ConditionView& c : view.conditions) {
    w.beginObject().key("name").value(c.name).key("shown").value(c.shown).end();
  }
  w.end();
  w.key("flows").beginArray();
  for (const FlowView& f : view.flows) {
    w.beginObject().key("name").value(f.name).key("main").value(f.main);
    WriteParagraphs(w, f.paragraphs);
    w.end();
  }
  w.end();
  w.key("tables").beginArray();
  for (const TableView& t : view.tables) {
    w.beginObject().key("number").value(t.number).key("anchor");
    WritePlace(w, t.anchor);
    w.key("cells").beginArray();
    for (const CellView& c : t.cells) {
      w.beginObject().key("row").value(c.row).key("column").value(c.column);
      w.key("shown").value(c.shown);
      WriteParagraphs(w, c.paragraphs);
      w.end();
    }
    w.end().end();
  }
  w.end();
  w.key("footnotes").beginArray();
  for (const FootnoteView& f : view.footnotes) {
    w.beginObject().key("number").value(f.number).key("anchor");
    WritePlace(w, f.anchor);
    WriteParagraphs(w, f.paragraphs);
    w.end();
  }
  w.end();
  w.key("markers").beginArray();
  for (const MarkerEntry& m : view.markers) {
    w.beginObject().key("type").value(m.type).key("text").value(m.text).key("at");
    WritePlace(w, m.at);
    w.end();
  }
  w.end();
  w.end();
  return w.text();
}

std::string BookJson(const BookView& view) {
  JsonWriter w;
  w.beginObject().key("type").value("book").key("path").value(view.path);
  WriteComponents(w, view.components);
  w.end();
  return w.text();
}

}  // namespace headless::cli
