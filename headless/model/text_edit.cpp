// Editing text: offsets, insertion, paragraph splits and joins, deletion of
// text, and text attributes over ranges. Every edit moves the document's
// selection as the application moves it.
#include <algorithm>
#include <cassert>
#include <unordered_map>

#include "headless/document.h"
#include "headless/utf8.h"

namespace headless {

namespace {

// Offsets from this value up are counted back from the end of the text.
constexpr int32_t kEndRelativeBase = 0x48000000;

}  // namespace

TextPos Document::resolve(Id p, int32_t offset) const {
  if (kind(p) != Kind::Paragraph) return {};
  const auto n = static_cast<uint32_t>(size(p));
  if (offset >= host::kOffsetEndOfObject) return {p, n + 1};
  if (offset >= kEndRelativeBase) {
    const auto back = static_cast<uint32_t>(host::kOffsetEndOfText - offset);
    return {p, back >= n ? 0 : n - back};
  }
  if (offset <= 0) return {p, 0};
  return {p, std::min(static_cast<uint32_t>(offset), n)};
}

void Document::moveAnchors(Id id, uint32_t from) {
  for (const ParaText::AnchorAt& a : para(id).text.anchors()) {
    if (a.offset < from) continue;
    const Atom atom{a.code, 0};
    Id obj = atom.object();
    Kind k = kind(obj);
    if (k == Kind::None || k == Kind::Paragraph) continue;
    Node& n = mutableNode(obj);
    if (atom.isEnd()) {
      n.anchorEnd = id;
    } else {
      n.anchor = id;
    }
  }
}

void Document::insertAtoms(TextPos at, const std::vector<Atom>& atoms) {
  if (kind(at.para) != Kind::Paragraph || atoms.empty()) return;
  Para& p = mutablePara(at.para);
  const uint32_t pos = std::min(at.offset, static_cast<uint32_t>(p.text.size()));
  p.text.insert(pos, atoms);
  p.hiddenStamp = 0;
  for (std::size_t i = 0; i < atoms.size(); ++i) {
    if (!atoms[i].isAnchor()) continue;
    Id obj = atoms[i].object();
    Kind k = kind(obj);
    if (k == Kind::None || k == Kind::Paragraph) continue;
    Node& n = mutableNode(obj);
    if (atoms[i].isEnd()) {
      n.anchorEnd = at.para;
    } else {
      n.anchor = at.para;
    }
  }
  const auto count = static_cast<uint32_t>(atoms.size());
  for (TextPos* loc : {&selection_.begin, &selection_.end}) {
    if (loc->para == at.para && loc->offset >= pos) loc->offset += count;
  }
  changed(at.para);
}

void Document::insertAnchor(TextPos at, Id obj, AnchorRole role) {
  if (kind(at.para) != Kind::Paragraph) return;
  insertAtoms(at, {Atom::Anchor(obj, role, insertionAttr(at))});
}

uint32_t Document::insertionAttr(TextPos at) const {
  if (kind(at.para) != Kind::Paragraph) return 0;
  const Para& p = para(at.para);
  const uint32_t pos = std::min(at.offset, static_cast<uint32_t>(p.text.size()));
  if (pos > 0) return p.text.attrAt(pos - 1);
  if (!p.text.empty()) return p.text.attrAt(0);
  return p.endAttr;
}

TextPos Document::insertText(TextPos at, std::string_view utf8) {
  if (kind(at.para) != Kind::Paragraph) return {};
  TextPos pos{at.para, std::min(at.offset, static_cast<uint32_t>(size(at.para)))};
  const uint32_t attr = insertionAttr(pos);
  std::u32string chars = DecodeUtf8(utf8);
  std::vector<Atom> run;
  auto flush = [&] {
    insertAtoms(pos, run);
    pos.offset += static_cast<uint32_t>(run.size());
    run.clear();
  };
  for (char32_t c : chars) {
    if (c == U'\n') {
      flush();
      pos = {split(pos), 0};
      continue;
    }
    run.push_back(Atom::Char(c, attr));
  }
  flush();
  return pos;
}

Id Document::split(TextPos at) {
  if (kind(at.para) != Kind::Paragraph) return 0;
  const Id p = at.para;
  const uint32_t pos = std::min(at.offset, static_cast<uint32_t>(size(p)));
  const Id owner = para(p).owner;
  const Id q = newPara(owner, para(p).tag, para(p).props);
  chainInsert(owner, para(p).next, q);
  Para& src = mutablePara(p);
  Para& dst = mutablePara(q);
  dst.endAttr = src.endAttr;
  dst.text = src.text.splitOff(pos);
  src.hiddenStamp = 0;
  moveAnchors(q, 0);
  for (TextPos* loc : {&selection_.begin, &selection_.end}) {
    if (loc->para == p && loc->offset >= pos) *loc = {q, loc->offset - pos};
  }
  changed(p);
  changed(owner);
  return q;
}

void Document::removeAtoms(Id id, uint32_t from, uint32_t to, std::vector<Id>* killed) {
  Para& p = mutablePara(id);
  to = std::min(to, static_cast<uint32_t>(p.text.size()));
  if (from >= to) return;
  if (killed) {
    for (const ParaText::AnchorAt& a : p.text.anchors()) {
      const Id obj = Atom{a.code, 0}.object();
      if (a.offset >= from && a.offset < to && alive(obj)) killed->push_back(obj);
    }
  }
  p.text.erase(from, to);
  p.hiddenStamp = 0;
  for (TextPos* loc : {&selection_.begin, &selection_.end}) {
    if (loc->para != id) continue;
    if (loc->offset > to) {
      loc->offset -= to - from;
    } else if (loc->offset > from) {
      loc->offset = from;
    }
  }
  changed(id);
}

bool Document::joinNext(Id id) {
  if (kind(id) != Kind::Paragraph) return false;
  const Id q = nextParagraph(id);
  if (q == 0) return false;
  joinParagraphs(id, q);
  return true;
}

void Document::joinParagraphs(Id id, Id q) {
  const auto np = static_cast<uint32_t>(size(id));
  {
    Para& p = mutablePara(id);
    Para& n = mutablePara(q);
    p.text.append(n.text);
    p.endAttr = n.endAttr;
    p.hiddenStamp = 0;
  }
  moveAnchors(id, np);
  for (TextPos* loc : {&selection_.begin, &selection_.end}) {
    if (loc->para == id && loc->offset > np) {
      loc->offset = np;
    } else if (loc->para == q) {
      *loc = {id, np + loc->offset};
    }
  }
  const Id owner = para(id).owner;
  chainRemove(q);
  mutablePara(q).text.clear();
  slots_[q].kind = Kind::None;
  changed(id);
  changed(owner);
}

bool Document::ordered(TextPos& b, TextPos& e) const {
  if (kind(b.para) != Kind::Paragraph || kind(e.para) != Kind::Paragraph) return false;
  if (b.para == e.para) {
    if (b.offset > e.offset) std::swap(b, e);
    return true;
  }
  if (para(b.para).owner != para(e.para).owner) return false;
  for (Id p = para(b.para).next; p != 0; p = para(p).next) {
    if (p == e.para) return true;
  }
  for (Id p = para(e.para).next; p != 0; p = para(p).next) {
    if (p == b.para) {
      std::swap(b, e);
      return true;
    }
  }
  return false;
}

void Document::deleteRange(TextPos b, TextPos e) {
  if (!ordered(b, e)) return;
  std::vector<Id> killed;
  const auto nb = static_cast<uint32_t>(size(b.para));
  b.offset = std::min(b.offset, nb);
  if (b.para == e.para) {
    const bool endMark = e.offset > nb;
    removeAtoms(b.para, b.offset, std::min(e.offset, nb), &killed);
    if (endMark) joinNext(b.para);
  } else {
    const auto ne = static_cast<uint32_t>(size(e.para));
    const bool endMark = e.offset > ne;
    removeAtoms(e.para, 0, std::min(e.offset, ne), &killed);
    for (Id q = para(b.para).next; q != e.para;) {
      Id next = para(q).next;
      for (TextPos* loc : {&selection_.begin, &selection_.end}) {
        if (loc->para == q) *loc = b;
      }
      destroyParagraph(q, &killed);
      q = next;
    }
    removeAtoms(b.para, b.offset, nb, &killed);
    // The end mark of b is in the range: what is left of e joins b.
    joinParagraphs(b.para, e.para);
    if (endMark) joinNext(b.para);
  }
  while (!killed.empty()) {
    Id obj = killed.back();
    killed.pop_back();
    if (alive(obj)) destroy(obj, false);
  }
}

// ---- Attributes over ranges ----

void Document::setConditions(TextPos b, TextPos e, const std::vector<Id>& conditions) {
  if (!ordered(b, e)) return;
  std::vector<Id> live;
  for (Id c : conditions) {
    if (kind(c) == Kind::Condition && std::find(live.begin(), live.end(), c) == live.end()) {
      live.push_back(c);
    }
  }
  std::unordered_map<uint32_t, uint32_t> mapped;
  auto remap = [&](uint32_t old) {
    auto it = mapped.find(old);
    if (it != mapped.end()) return it->second;
    TextAttr a = attrs_[old];
    a.conditions = live;
    uint32_t now = internAttr(a);
    mapped.emplace(old, now);
    return now;
  };
  for (Id p = b.para;; p = para(p).next) {
    const auto n = static_cast<uint32_t>(size(p));
    const uint32_t from = p == b.para ? std::min(b.offset, n) : 0;
    const bool last = p == e.para;
    const uint32_t to = last ? std::min(e.offset, n) : n;
    const bool endMark = !last || e.offset > n;
    {
      Para& pr = mutablePara(p);
      pr.text.remapAttrs(from, to, remap);
      if (endMark) pr.endAttr = remap(pr.endAttr);
      pr.hiddenStamp = 0;
    }
    changed(p);
    if (last) break;
  }
}

void Document::setCharProps(TextPos b, TextPos e, const PropMap& props, bool replace) {
  if (!ordered(b, e)) return;
  std::unordered_map<uint32_t, uint32_t> mapped;
  auto remap = [&](uint32_t old) {
    auto it = mapped.find(old);
    if (it != mapped.end()) return it->second;
    TextAttr a = attrs_[old];
    PropMap style = replace ? props : charStyles_[a.charStyle];
    if (!replace) {
      for (const auto& [code, value] : props) style.set(code, value);
    }
    a.charStyle = internCharStyle(style);
    uint32_t now = internAttr(a);
    mapped.emplace(old, now);
    return now;
  };
  for (Id p = b.para;; p = para(p).next) {
    const auto n = static_cast<uint32_t>(size(p));
    const uint32_t from = p == b.para ? std::min(b.offset, n) : 0;
    const bool last = p == e.para;
    const uint32_t to = last ? std::min(e.offset, n) : n;
    {
      Para& pr = mutablePara(p);
      pr.text.remapAttrs(from, to, remap);
    }
    changed(p);
    if (last) break;
  }
}

uint32_t Document::attrAt(TextPos pos) const {
  if (kind(pos.para) != Kind::Paragraph) return 0;
  const Para& p = para(pos.para);
  return pos.offset < p.text.size() ? p.text.attrAt(pos.offset) : p.endAttr;
}

}  // namespace headless
