// Layout of a flow's shown paragraphs into its chain of text frames and
// their columns. A paragraph takes one line per started run of characters
// per line (a forced line break starts a new run), is never split across
// columns, and begins a new column when its start position is the top of a
// column. When the frames run out, a frame like the last is added; frames
// added that way go again when the text no longer needs them. A frame with
// no set capacity holds everything that reaches it.
//
// A question lays the flow out only as far as its answer needs, and the
// layout is kept: an edit of a paragraph takes it back to the column before
// the paragraph's, so walking the columns while editing where the walk
// stands costs the text walked, not the whole flow at every step.
#include <algorithm>

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

template <typename Placing>
void Document::layoutQuietly(Id flow, Placing placing) {
  // Laying out is no edit: it leaves the dirty flag and the flow's mark,
  // and the frames it adds or drops start no layout again.
  const bool wasDirty = dirty_;
  const bool flowModified = slots_[flow].modified;
  inLayout_ = true;
  placing();
  inLayout_ = false;
  dirty_ = wasDirty;
  slots_[flow].modified = flowModified;
}

void Document::layout(Id flow) {
  if (kind(flow) != Kind::Flow) return;
  FlowLayout& l = flowLayout(flow);
  layoutQuietly(flow, [&] {
    while (!l.complete) placeNext(flow, l);
  });
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

Document::FlowLayout& Document::flowLayout(Id flow) {
  FlowLayout& l = layouts_.flows[flow];
  if (l.epoch != layoutEpoch_) startLayout(flow, l);
  return l;
}

void Document::startLayout(Id flow, FlowLayout& l) {
  // Sequence numbers are never handed out twice, so a paragraph placed by
  // an earlier layout shows as not placed by this one; when they run out,
  // every paragraph is marked not placed and they start again.
  if (layoutSeqs_ > 0xF0000000u) {
    for (const Para& p : paras_) p.layoutSeq = Para::kNotPlaced;
    layoutSeqs_ = 0;
  }
  l = FlowLayout{};
  l.epoch = layoutEpoch_;
  l.base = layoutSeqs_;
  const Id frame = node(flow).first;
  if (frame == 0 || node(frame).first == 0) {
    l.complete = true;
    return;
  }
  l.lastUsed = frame;
  reachColumn(l, node(frame).first, frame);
}

void Document::reachColumn(FlowLayout& l, Id column, Id frame) {
  const bool newFrame = l.columns.empty() || l.columns.back().frame != frame;
  const auto seq = static_cast<uint32_t>(l.base + l.columns.size());
  layoutSeqs_ = std::max(layoutSeqs_, seq + 1);
  l.columns.push_back({column, frame, l.lastPlaced});
  Node& c = mutableNode(column);
  c.layoutFirst = c.layoutLast = 0;
  c.layoutSeq = seq;
  if (newFrame) {
    Node& f = mutableNode(frame);
    f.layoutFirst = f.layoutLast = 0;
    f.layoutSeq = seq;
  }
  l.used = 0;
  l.empty = true;
}

bool Document::placeNext(Id flow, FlowLayout& l) {
  if (l.complete) return false;
  // Hidden paragraphs on the way count as placed where they stand, so that
  // one shown again takes the layout back there.
  Id p = l.lastPlaced != 0 ? para(l.lastPlaced).next : node(flow).paraFirst;
  const uint32_t here = node(l.columns.back().column).layoutSeq;
  while (p != 0 && hidden(p)) {
    para(p).layoutSeq = here;
    p = para(p).next;
  }
  if (p == 0) {
    finishLayout(l);
    return false;
  }
  Id col = l.columns.back().column;
  Id frame = l.columns.back().frame;
  FrameGeometry g = node(frame).geometry;
  int64_t lines = 0;
  if (g.linesPerColumn > 0) {
    lines = LinesOf(para(p).text, g.charsPerLine);
    const bool top = para(p).props->getInt(host::kPropStartPosition) == host::kStartTopOfColumn;
    if (!l.empty && (top || l.used + lines > g.linesPerColumn)) {
      col = node(col).next;
      if (col == 0) {
        const Id nextFrame = node(frame).next;
        frame = nextFrame != 0 ? nextFrame : cloneFrame(flow, frame);
        col = node(frame).first;
        g = node(frame).geometry;
        lines = g.linesPerColumn > 0 ? LinesOf(para(p).text, g.charsPerLine) : 0;
      }
      reachColumn(l, col, frame);
    }
  }
  Node& c = mutableNode(col);
  if (c.layoutFirst == 0) c.layoutFirst = p;
  c.layoutLast = p;
  Node& f = mutableNode(frame);
  if (f.layoutFirst == 0) f.layoutFirst = p;
  f.layoutLast = p;
  para(p).layoutSeq = c.layoutSeq;
  l.used += lines;
  l.empty = false;
  l.lastUsed = frame;
  l.lastPlaced = p;
  return true;
}

void Document::finishLayout(FlowLayout& l) {
  l.complete = true;
  if (l.columns.empty()) return;
  // Columns and frames the text did not reach hold nothing.
  for (Id c = node(l.columns.back().column).next; c != 0; c = node(c).next) {
    mutableNode(c).layoutFirst = mutableNode(c).layoutLast = 0;
  }
  for (Id f = node(l.columns.back().frame).next; f != 0; f = node(f).next) {
    mutableNode(f).layoutFirst = mutableNode(f).layoutLast = 0;
    for (Id c = node(f).first; c != 0; c = node(c).next) {
      mutableNode(c).layoutFirst = mutableNode(c).layoutLast = 0;
    }
  }
  // Frames the layout added and no longer needs go again.
  for (Id f = node(l.lastUsed).next; f != 0;) {
    const Id next = node(f).next;
    if (node(f).autoFrame) destroy(f, false);
    f = next;
  }
}

bool Document::reached(const FlowLayout& l, Id obj, bool frame) const {
  const uint32_t seq = node(obj).layoutSeq;
  if (seq < l.base || seq - l.base >= l.columns.size()) return false;
  const FlowLayout::Reached& r = l.columns[seq - l.base];
  return frame ? r.frame == obj : r.column == obj;
}

void Document::layoutThrough(Id obj) {
  const Id flow = frameFlow(obj);
  if (kind(flow) != Kind::Flow) return;
  const bool frame = kind(obj) == Kind::TextFrame;
  FlowLayout& l = flowLayout(flow);
  // Past `obj`: it was reached and placing has gone on beyond it.
  auto past = [&] {
    if (!reached(l, obj, frame)) return false;
    const FlowLayout::Reached& now = l.columns.back();
    return frame ? now.frame != obj : now.column != obj;
  };
  layoutQuietly(flow, [&] {
    while (!l.complete && !past()) placeNext(flow, l);
  });
}

uint32_t Document::layoutSeqBeside(Id owner, Id prev) const {
  if (prev != 0) return para(prev).layoutSeq;
  auto it = layouts_.flows.find(owner);
  if (it == layouts_.flows.end() || it->second.epoch != layoutEpoch_) return Para::kNotPlaced;
  return it->second.base;
}

void Document::layoutChanged() {
  if (!inLayout_) ++layoutEpoch_;
}

void Document::layoutParagraphChanged(Id id) {
  if (inLayout_ || layouts_.flows.empty()) return;
  const Id owner = para(id).owner;
  auto it = layouts_.flows.find(owner);
  if (it == layouts_.flows.end() || it->second.epoch != layoutEpoch_) return;
  FlowLayout& l = it->second;
  // The paragraph's column. One not placed by this layout (nor put in a
  // chain next to one it placed) lies beyond where placing stands, which a
  // change there leaves as it is.
  const uint32_t seq = para(id).layoutSeq;
  if (seq == Para::kNotPlaced || seq < l.base || seq - l.base >= l.columns.size()) return;
  const std::size_t column = seq - l.base;
  // The text may now end the column before: placing starts again there.
  const std::size_t from = column > 0 ? column - 1 : 0;
  if (from == 0) {
    startLayout(owner, l);
    return;
  }
  const FlowLayout::Reached again = l.columns[from];
  const bool frameStarted = l.columns[from - 1].frame != again.frame;
  l.columns.resize(from);
  l.lastPlaced = again.before;
  l.complete = false;
  reachColumn(l, again.column, again.frame);
  // A frame reached before keeps its first paragraph; its last is the one
  // placed last until placing goes on.
  if (!frameStarted) mutableNode(again.frame).layoutLast = again.before;
  l.lastUsed = l.columns[from - 1].frame;
}

Id Document::frameFirstParagraph(Id frame) {
  if (kind(frame) != Kind::TextFrame) return 0;
  layoutThrough(frame);
  return kind(frame) == Kind::TextFrame ? node(frame).layoutFirst : 0;
}

Id Document::frameLastParagraph(Id frame) {
  if (kind(frame) != Kind::TextFrame) return 0;
  layoutThrough(frame);
  return kind(frame) == Kind::TextFrame ? node(frame).layoutLast : 0;
}

Id Document::columnFirstParagraph(Id column) {
  if (kind(column) != Kind::Column) return 0;
  layoutThrough(column);
  return kind(column) == Kind::Column ? node(column).layoutFirst : 0;
}

Id Document::columnLastParagraph(Id column) {
  if (kind(column) != Kind::Column) return 0;
  layoutThrough(column);
  return kind(column) == Kind::Column ? node(column).layoutLast : 0;
}

Id Document::nextColumn(Id column) {
  if (kind(column) != Kind::Column) return 0;
  layoutThrough(column);
  if (kind(column) != Kind::Column) return 0;
  if (node(column).next != 0) return node(column).next;
  Id nextFrame = node(node(column).parent).next;
  return nextFrame != 0 ? node(nextFrame).first : 0;
}

Id Document::nextFrame(Id frame) {
  if (kind(frame) != Kind::TextFrame) return 0;
  layoutThrough(frame);
  return kind(frame) == Kind::TextFrame ? node(frame).next : 0;
}

}  // namespace headless
