// Layout of a flow's shown paragraphs into its chain of text frames and
// their columns. A paragraph takes one line per started run of characters
// per line (a forced line break starts a new run), is never split across
// columns, and begins a new column when its start position is the top of a
// column. When the frames run out, a frame like the last is added; frames
// added that way go again when the text no longer needs them. A frame with
// no set capacity holds everything that reaches it.
#include "headless/document.h"

namespace headless {

namespace {

int64_t LinesOf(const ParaText& atoms, int32_t charsPerLine) {
  int64_t lines = 0;
  int64_t run = 0;
  auto endRun = [&] {
    if (charsPerLine <= 0 || run == 0) {
      lines += 1;
    } else {
      lines += (run + charsPerLine - 1) / charsPerLine;
    }
    run = 0;
  };
  for (const Atom a : atoms) {
    if (a.isAnchor()) continue;
    if (a.ch() == U'\n') {
      endRun();
    } else {
      ++run;
    }
  }
  endRun();
  return lines;
}

}  // namespace

Id Document::frameFlow(Id id) const {
  Kind k = kind(id);
  if (k == Kind::TextFrame) return node(id).parent;
  if (k == Kind::Column) {
    Id frame = node(id).parent;
    return kind(frame) == Kind::TextFrame ? node(frame).parent : 0;
  }
  return 0;
}

void Document::layout(Id flow) {
  if (kind(flow) != Kind::Flow) return;
  if (node(flow).layoutStamp == changes_) return;
  layoutFlow(flow);
}

Id Document::cloneFrame(Id flow, Id like) {
  const FrameGeometry geometry = node(like).geometry;
  const int32_t balanced = node(like).flag;
  Id frame = addFrame(flow, geometry, balanced != 0);
  mutableNode(frame).autoFrame = true;
  // A frame the layout adds is not an edit of the document.
  slots_[frame].modified = false;
  for (Id col = node(frame).first; col != 0; col = node(col).next) slots_[col].modified = false;
  return frame;
}

void Document::layoutFlow(Id flow) {
  // Laying out is no edit: it leaves the dirty flag and the flow's mark.
  const bool wasDirty = dirty_;
  const bool flowModified = slots_[flow].modified;
  for (Id f = node(flow).first; f != 0; f = node(f).next) {
    mutableNode(f).layoutFirst = mutableNode(f).layoutLast = 0;
    for (Id c = node(f).first; c != 0; c = node(c).next) {
      mutableNode(c).layoutFirst = mutableNode(c).layoutLast = 0;
    }
  }
  Id frame = node(flow).first;
  if (frame == 0) {
    mutableNode(flow).layoutStamp = changes_;
    return;
  }
  Id col = node(frame).first;
  Id lastUsed = frame;
  int64_t used = 0;
  bool empty = true;
  for (Id p = firstParagraph(flow); p != 0; p = nextParagraph(p)) {
    FrameGeometry g = node(frame).geometry;
    int64_t lines = 0;
    if (g.linesPerColumn > 0) {
      lines = LinesOf(para(p).text, g.charsPerLine);
      const bool top = para(p).props->getInt(host::kPropStartPosition) == host::kStartTopOfColumn;
      if (!empty && (top || used + lines > g.linesPerColumn)) {
        col = node(col).next;
        if (col == 0) {
          Id nextFrame = node(frame).next;
          frame = nextFrame != 0 ? nextFrame : cloneFrame(flow, frame);
          col = node(frame).first;
          g = node(frame).geometry;
          lines = g.linesPerColumn > 0 ? LinesOf(para(p).text, g.charsPerLine) : 0;
        }
        used = 0;
        empty = true;
      }
    }
    Node& c = mutableNode(col);
    if (c.layoutFirst == 0) c.layoutFirst = p;
    c.layoutLast = p;
    Node& f = mutableNode(frame);
    if (f.layoutFirst == 0) f.layoutFirst = p;
    f.layoutLast = p;
    used += lines;
    empty = false;
    lastUsed = frame;
  }
  // Frames the layout added and no longer needs go again.
  for (Id f = node(lastUsed).next; f != 0;) {
    Id next = node(f).next;
    if (node(f).autoFrame) destroy(f, false);
    f = next;
  }
  dirty_ = wasDirty;
  slots_[flow].modified = flowModified;
  mutableNode(flow).layoutStamp = changes_;
}

Id Document::frameFirstParagraph(Id frame) {
  if (kind(frame) != Kind::TextFrame) return 0;
  layout(frameFlow(frame));
  return kind(frame) == Kind::TextFrame ? node(frame).layoutFirst : 0;
}

Id Document::frameLastParagraph(Id frame) {
  if (kind(frame) != Kind::TextFrame) return 0;
  layout(frameFlow(frame));
  return kind(frame) == Kind::TextFrame ? node(frame).layoutLast : 0;
}

Id Document::columnFirstParagraph(Id column) {
  if (kind(column) != Kind::Column) return 0;
  layout(frameFlow(column));
  return kind(column) == Kind::Column ? node(column).layoutFirst : 0;
}

Id Document::columnLastParagraph(Id column) {
  if (kind(column) != Kind::Column) return 0;
  layout(frameFlow(column));
  return kind(column) == Kind::Column ? node(column).layoutLast : 0;
}

Id Document::nextColumn(Id column) {
  if (kind(column) != Kind::Column) return 0;
  layout(frameFlow(column));
  if (kind(column) != Kind::Column) return 0;
  if (node(column).next != 0) return node(column).next;
  Id nextFrame = node(node(column).parent).next;
  return nextFrame != 0 ? node(nextFrame).first : 0;
}

Id Document::nextFrame(Id frame) {
  if (kind(frame) != Kind::TextFrame) return 0;
  layout(frameFlow(frame));
  return kind(frame) == Kind::TextFrame ? node(frame).next : 0;
}

}  // namespace headless
