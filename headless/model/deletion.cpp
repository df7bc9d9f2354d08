// Deleting objects with everything they hold. An anchored object that goes
// takes its anchors out of the text; a paragraph that goes takes the objects
// anchored in it.
#include <algorithm>

#include "headless/document.h"

namespace headless {

namespace {

bool IsPaired(Kind k) {
  return k == Kind::Variable || k == Kind::XRef || k == Kind::TextInset;
}

}  // namespace

void Document::destroyParagraph(Id id, std::vector<Id>* killed) {
  for (const ParaText::AnchorAt& a : para(id).text.anchors()) {
    const Id obj = Atom{a.code, 0}.object();
    if (alive(obj)) killed->push_back(obj);
  }
  const Id owner = para(id).owner;
  chainRemove(id);
  mutablePara(id).text.clear();
  slots_[id].kind = Kind::None;
  markModified(owner);
}

void Document::takeOutRemoved(const Para& p) const {
  p.text.eraseRemoved();
  p.removed = 0;
  p.removedNear = 0;
}

bool Document::markAnchorRemoved(Id id, Id obj, bool end) {
  for (const TextPos* loc : {&selection_.begin, &selection_.end}) {
    if (loc->para == id) return false;
  }
  // Not mutablePara: the removed atoms stay in until the paragraph is read.
  Para& p = paras_[slots_[id].index];
  const std::vector<ParaText::AnchorAt>& anchors = p.text.anchors();
  const std::size_t size = anchors.size();
  const std::size_t near = std::min<std::size_t>(p.removedNear, size);
  auto matches = [&](std::size_t k) {
    const Atom a{anchors[k].code, 0};
    return a.object() == obj && a.code != Atom::kRemoved && a.isEnd() == end;
  };
  // Outwards from where the last anchor went: deleting the anchors of a
  // paragraph in order (or in reverse) finds each one step away.
  for (std::size_t d = 0; d <= size; ++d) {
    const bool up = near + d<size, down = d> 0 && d <= near;
    if (!up && !down) break;
    std::size_t at = size;
    if (up && matches(near + d)) {
      at = near + d;
    } else if (down && matches(near - d)) {
      at = near - d;
    }
    if (at == size) continue;
    p.text.setAnchorCode(at, Atom::kRemoved);
    ++p.removed;
    p.removedNear = static_cast<uint32_t>(at);
    p.hiddenStamp = 0;
    changed(id);
    return true;
  }
  return false;
}

void Document::removeAnchorAtoms(Id obj) {
  const Node& n = node(obj);
  const bool paired = IsPaired(n.kind);
  for (const bool end : {false, true}) {
    const Id p = end ? n.anchorEnd : n.anchor;
    if (kind(p) != Kind::Paragraph || (end && !paired)) continue;
    if (markAnchorRemoved(p, obj, end)) continue;
    const std::vector<ParaText::AnchorAt>& anchors = para(p).text.anchors();
    for (std::size_t k = anchors.size(); k-- > 0;) {
      const Atom a{anchors[k].code, 0};
      if (a.object() == obj && a.isEnd() == end) {
        removeAtoms(p, anchors[k].offset, anchors[k].offset + 1, nullptr);
      }
    }
  }
}

void Document::destroy(Id id, bool removeAnchors) {
  const Kind k = kind(id);
  if (k == Kind::None || k == Kind::Document || k == Kind::Column) return;
  if (k == Kind::TextFrame || k == Kind::Flow || k == Kind::Condition) layoutChanged();
  if (k == Kind::Paragraph) {
    std::vector<Id> killed;
    for (TextPos* loc : {&selection_.begin, &selection_.end}) {
      if (loc->para == id) *loc = {};
    }
    destroyParagraph(id, &killed);
    for (Id obj : killed) destroy(obj, false);
    return;
  }
  if (removeAnchors || IsPaired(k)) removeAnchorAtoms(id);
  markModified(node(id).anchor);
  std::vector<Id> killed;
  auto destroyChain = [&](Id container) {
    for (Id p = node(container).paraFirst; p != 0;) {
      Id next = para(p).next;
      for (TextPos* loc : {&selection_.begin, &selection_.end}) {
        if (loc->para == p) *loc = {};
      }
      destroyParagraph(p, &killed);
      p = next;
    }
  };
  switch (k) {
    case Kind::Table:
      for (Id row = node(id).first; row != 0;) {
        Id nextRow = node(row).next;
        for (Id cell = node(row).first; cell != 0;) {
          Id nextCell = node(cell).next;
          destroyChain(cell);
          slots_[cell].kind = Kind::None;
          cell = nextCell;
        }
        slots_[row].kind = Kind::None;
        row = nextRow;
      }
      break;
    case Kind::Row: {
      for (Id cell = node(id).first; cell != 0;) {
        Id nextCell = node(cell).next;
        destroyChain(cell);
        slots_[cell].kind = Kind::None;
        cell = nextCell;
      }
      Id table = node(id).parent;
      Node& t = mutableNode(table);
      const Node& r = node(id);
      if (r.prev) {
        mutableNode(r.prev).next = r.next;
      } else {
        t.first = r.next;
      }
      if (r.next) {
        mutableNode(r.next).prev = r.prev;
      } else {
        mutableNode(table).last = r.prev;
      }
      markModified(table);
      break;
    }
    case Kind::Footnote:
    case Kind::Flow:
    case Kind::Cell:
      destroyChain(id);
      if (k == Kind::Flow) {
        for (Id frame = node(id).first; frame != 0;) {
          Id nextFrame = node(frame).next;
          for (Id col = node(frame).first; col != 0;) {
            Id nextCol = node(col).next;
            slots_[col].kind = Kind::None;
            col = nextCol;
          }
          slots_[frame].kind = Kind::None;
          frame = nextFrame;
        }
        if (mainFlow_ == id) mainFlow_ = 0;
      }
      if (k == Kind::Cell) {
        // A deleted cell leaves its row.
        Id row = node(id).parent;
        const Node& c = node(id);
        if (c.prev) {
          mutableNode(c.prev).next = c.next;
        } else {
          mutableNode(row).first = c.next;
        }
        if (c.next) {
          mutableNode(c.next).prev = c.prev;
        } else {
          mutableNode(row).last = c.prev;
        }
        markModified(row);
      }
      break;
    case Kind::TextFrame: {
      Id flow = node(id).parent;
      const Node& f = node(id);
      if (f.prev) {
        mutableNode(f.prev).next = f.next;
      } else {
        mutableNode(flow).first = f.next;
      }
      if (f.next) {
        mutableNode(f.next).prev = f.prev;
      } else {
        mutableNode(flow).last = f.prev;
      }
      for (Id col = node(id).first; col != 0;) {
        Id nextCol = node(col).next;
        slots_[col].kind = Kind::None;
        col = nextCol;
      }
      markModified(flow);
      break;
    }
    case Kind::Condition:
      unindexName(id);
      if (node(id).flag == 0) --hiddenConditions_;
      changedVisibility();
      break;
    case Kind::ParagraphFormat:
    case Kind::CharacterFormat:
    case Kind::Color:
    case Kind::MarkerType:
      unindexName(id);
      formatProps_.erase(id);
      break;
    default:
      break;
  }
  if (ListHead* head = listOf(k)) unlink(*head, id);
  slots_[id].kind = Kind::None;
  dirty_ = true;
  ++changes_;
  for (Id obj : killed) {
    if (alive(obj)) destroy(obj, false);
  }
}

bool Document::deleteObject(Id id) {
  const Kind k = kind(id);
  if (k == Kind::None || k == Kind::Document || k == Kind::Column) return false;
  destroy(id, true);
  return true;
}

}  // namespace headless
