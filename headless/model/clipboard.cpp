#include "headless/clipboard.h"

#include <algorithm>
#include <unordered_map>

namespace headless {

namespace {

uint32_t ClipAttrIndex(const Document& doc, uint32_t attr, Clip& clip,
                       std::unordered_map<uint32_t, uint32_t>& seen) {
  auto it = seen.find(attr);
  if (it != seen.end()) return it->second;
  ClipAttr a;
  for (Id c : doc.conditionsOf(attr)) a.conditions.push_back(doc.node(c).name);
  a.charStyle = doc.charStyle(doc.attr(attr).charStyle);
  auto found = std::find(clip.attrs.begin(), clip.attrs.end(), a);
  auto index = static_cast<uint32_t>(found - clip.attrs.begin());
  if (found == clip.attrs.end()) clip.attrs.push_back(std::move(a));
  seen.emplace(attr, index);
  return index;
}

bool Copyable(Kind k) {
  return k == Kind::Marker || k == Kind::Variable || k == Kind::XRef;
}

}  // namespace

Clip CopyText(const Document& doc, TextPos b, TextPos e) {
  Clip clip;
  if (!doc.ordered(b, e)) return clip;
  std::unordered_map<uint32_t, uint32_t> seenAttrs;
  std::unordered_map<Id, int> seenObjects;
  // A pair is copied only when both of its anchors lie in the range.
  std::unordered_map<Id, int> anchorsInRange;
  for (Id p = b.para;; p = doc.para(p).next) {
    const auto n = static_cast<uint32_t>(doc.size(p));
    const uint32_t from = p == b.para ? std::min(b.offset, n) : 0;
    const uint32_t to = p == e.para ? std::min(e.offset, n) : n;
    for (uint32_t i = from; i < to; ++i) {
      const Atom a = doc.atoms(p)[i];
      if (a.isAnchor()) ++anchorsInRange[a.object()];
    }
    if (p == e.para) break;
  }
  for (Id p = b.para;; p = doc.para(p).next) {
    const auto n = static_cast<uint32_t>(doc.size(p));
    const bool last = p == e.para;
    const uint32_t from = p == b.para ? std::min(b.offset, n) : 0;
    const uint32_t to = last ? std::min(e.offset, n) : n;
    ClipParagraph piece;
    for (uint32_t i = from; i < to; ++i) {
      const Atom a = doc.atoms(p)[i];
      ClipAtom ca;
      ca.attr = ClipAttrIndex(doc, a.attr, clip, seenAttrs);
      if (a.isAnchor()) {
        const Id obj = a.object();
        const Kind k = doc.kind(obj);
        if (!Copyable(k)) continue;
        if (k != Kind::Marker && anchorsInRange[obj] < 2) continue;
        auto it = seenObjects.find(obj);
        if (it == seenObjects.end()) {
          const Node& node = doc.node(obj);
          ClipObject o;
          o.kind = k;
          if (k == Kind::Marker && doc.alive(node.ref)) o.markerType = doc.node(node.ref).name;
          o.name = node.name;
          o.flag = node.flag;
          o.props = node.props;
          clip.objects.push_back(std::move(o));
          it = seenObjects.emplace(obj, static_cast<int>(clip.objects.size() - 1)).first;
        }
        ca.object = it->second;
        ca.role = k == Kind::Marker ? AnchorRole::Single
                                    : (a.isEnd() ? AnchorRole::End : AnchorRole::Begin);
      } else {
        ca.ch = a.ch();
      }
      piece.atoms.push_back(ca);
    }
    if (!last || e.offset > n) {
      piece.endMark = true;
      piece.tag = std::string(doc.tag(p));
      piece.props = doc.paragraphProps(p);
      piece.endAttr = ClipAttrIndex(doc, doc.endAttr(p), clip, seenAttrs);
    }
    if (!piece.atoms.empty() || piece.endMark) clip.paras.push_back(std::move(piece));
    if (last) break;
  }
  return clip;
}

namespace {

class Paster {
 public:
  Paster(Document& doc, const Clip& clip) : doc_(doc), clip_(clip) {}

  std::vector<Atom> atoms(const ClipParagraph& piece) {
    std::vector<Atom> out;
    out.reserve(piece.atoms.size());
    for (const ClipAtom& ca : piece.atoms) {
      const uint32_t attr = attrOf(ca.attr);
      if (ca.object < 0) {
        out.push_back(Atom::Char(ca.ch, attr));
      } else {
        out.push_back(Atom::Anchor(objectOf(ca.object), ca.role, attr));
      }
    }
    return out;
  }

  uint32_t attrOf(uint32_t index) {
    auto it = attrs_.find(index);
    if (it != attrs_.end()) return it->second;
    const ClipAttr& ca = clip_.attrs[index];
    TextAttr a;
    // Condition tags the target lacks come with the text, as a paste brings them.
    for (const std::string& name : ca.conditions) a.conditions.push_back(doc_.addCondition(name));
    a.charStyle = doc_.internCharStyle(ca.charStyle);
    const uint32_t id = doc_.internAttr(a);
    attrs_.emplace(index, id);
    return id;
  }

  Id objectOf(int index) {
    auto it = objects_.find(index);
    if (it != objects_.end()) return it->second;
    const ClipObject& o = clip_.objects[static_cast<std::size_t>(index)];
    Id id = 0;
    if (o.kind == Kind::Marker) {
      id = doc_.addMarker(doc_.addMarkerType(o.markerType), o.name);
    } else {
      id = doc_.addAnchoredObject(o.kind);
      doc_.setName(id, o.name);
    }
    doc_.setFlag(id, o.flag);
    for (const auto& [code, value] : o.props) doc_.setProp(id, code, value);
    objects_.emplace(index, id);
    return id;
  }

 private:
  Document& doc_;
  const Clip& clip_;
  std::unordered_map<uint32_t, uint32_t> attrs_;
  std::unordered_map<int, Id> objects_;
};

}  // namespace

TextPos PasteText(Document& doc, TextPos at, const Clip& clip) {
  if (doc.kind(at.para) != Kind::Paragraph || clip.empty()) return at;
  at.offset = std::min(at.offset, static_cast<uint32_t>(doc.size(at.para)));
  Paster paster(doc, clip);
  const bool wholeParagraphs = std::any_of(clip.paras.begin(), clip.paras.end(),
                                           [](const ClipParagraph& p) { return p.endMark; });
  if (!wholeParagraphs) {
    std::vector<Atom> atoms = paster.atoms(clip.paras.front());
    doc.insertAtoms(at, atoms);
    return {at.para, at.offset + static_cast<uint32_t>(atoms.size())};
  }
  Id target = at.para;
  if (at.offset > 0) target = doc.split(at);
  TextPos end{target, 0};
  for (const ClipParagraph& piece : clip.paras) {
    std::vector<Atom> atoms = paster.atoms(piece);
    if (!piece.endMark) {
      doc.insertAtoms({target, 0}, atoms);
      end = {target, static_cast<uint32_t>(atoms.size())};
      break;
    }
    Id p = doc.insertParagraphBefore(target, piece.tag);
    doc.setParagraphProps(p, piece.props);
    doc.setEndAttr(p, paster.attrOf(piece.endAttr));
    doc.insertAtoms({p, 0}, atoms);
  }
  return end;
}

}  // namespace headless
