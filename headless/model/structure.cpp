// The structure of a document as it is built: flows with their text frames
// and columns, tables with rows and cells, footnotes, markers, text insets
// and the opaque anchored objects.
#include "headless/document.h"

namespace headless {

// ---- Flows, frames, columns ----

Id Document::addFlow(std::string name) {
  Id id = newNode(Kind::Flow);
  mutableNode(id).name = std::move(name);
  if (mainFlow_ == 0) mainFlow_ = id;
  return id;
}

// Links `child` as the last child of `parent` (frames of a flow, columns of a
// frame, rows of a table, cells of a row).
void Document::appendChild(Id parent, Id child) {
  Node& c = mutableNode(child);
  Node& p = mutableNode(parent);
  c.parent = parent;
  c.prev = p.last;
  if (p.last != 0) {
    mutableNode(p.last).next = child;
  } else {
    p.first = child;
  }
  p.last = child;
}

Id Document::addColumn(Id frame) {
  Id col = newNode(Kind::Column);
  appendChild(frame, col);
  return col;
}

Id Document::addFrame(Id flow, FrameGeometry geometry, bool balanced) {
  if (kind(flow) != Kind::Flow) return 0;
  Id frame = newNode(Kind::TextFrame);
  {
    Node& f = mutableNode(frame);
    f.parent = flow;
    f.geometry = geometry;
    if (f.geometry.columns < 1) f.geometry.columns = 1;
    f.flag = balanced ? 1 : 0;
  }
  appendChild(flow, frame);
  for (int32_t i = 0; i < node(frame).geometry.columns; ++i) addColumn(frame);
  return frame;
}

void Document::setFrameGeometry(Id frame, FrameGeometry geometry) {
  if (kind(frame) != Kind::TextFrame) return;
  if (geometry.columns < 1) geometry.columns = 1;
  mutableNode(frame).geometry = geometry;
  int32_t have = 0;
  for (Id c = node(frame).first; c != 0; c = node(c).next) ++have;
  while (have < geometry.columns) {
    addColumn(frame);
    ++have;
  }
  while (have > geometry.columns) {
    Id lastCol = node(frame).last;
    Node& f = mutableNode(frame);
    f.last = node(lastCol).prev;
    if (f.last != 0) mutableNode(f.last).next = 0;
    slots_[lastCol].kind = Kind::None;
    --have;
  }
  changed(frame);
}

// ---- Tables and footnotes ----

Id Document::addTable() {
  return newNode(Kind::Table);
}

Id Document::addRow(Id table) {
  if (kind(table) != Kind::Table) return 0;
  Id row = newNode(Kind::Row);
  appendChild(table, row);
  return row;
}

Id Document::addCell(Id row) {
  if (kind(row) != Kind::Row) return 0;
  Id cell = newNode(Kind::Cell);
  mutableNode(cell).flag = 1;
  appendChild(row, cell);
  return cell;
}

Id Document::tableOfCell(Id cell) const {
  if (kind(cell) != Kind::Cell) return 0;
  Id row = node(cell).parent;
  return kind(row) == Kind::Row ? node(row).parent : 0;
}

Id Document::addFootnote() {
  return newNode(Kind::Footnote);
}

// ---- Markers, insets, opaque anchored objects ----

Id Document::addMarker(Id type, std::string text) {
  Id id = newNode(Kind::Marker);
  Node& n = mutableNode(id);
  n.ref = kind(type) == Kind::MarkerType ? type : 0;
  n.name = std::move(text);
  return id;
}

void Document::setMarkerType(Id marker, Id type) {
  if (kind(marker) != Kind::Marker || kind(type) != Kind::MarkerType) return;
  mutableNode(marker).ref = type;
  changed(marker);
  markModified(node(marker).anchor);
}

Id Document::addTextInset(bool locked) {
  Id id = newNode(Kind::TextInset);
  mutableNode(id).flag = locked ? 1 : 0;
  return id;
}

Id Document::addAnchoredObject(Kind kind) {
  if (kind != Kind::Variable && kind != Kind::XRef && kind != Kind::AnchoredFrame) return 0;
  return newNode(kind);
}

TextPos Document::anchorPosition(Id obj) const {
  Kind k = kind(obj);
  if (k == Kind::None || k == Kind::Paragraph) return {};
  Id p = node(obj).anchor;
  if (kind(p) != Kind::Paragraph) return {};
  for (const ParaText::AnchorAt& a : para(p).text.anchors()) {
    const Atom atom{a.code, 0};
    if (atom.object() == obj && !atom.isEnd()) return {p, a.offset};
  }
  return {};
}

}  // namespace headless
