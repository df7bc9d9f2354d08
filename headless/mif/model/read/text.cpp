// Paragraphs and their inline content into the model: strings and special
// characters become characters; markers, table, footnote and frame anchors,
// variables, cross-references and text insets become anchors; fonts and
// conditions become the interned attributes of the text. Hidden text that
// the file keeps in the hidden flow is read back in the place its "+n"
// marker holds.
#include "headless/utf8.h"
#include "model/chars.h"
#include "model/formats.h"
#include "model/read/read.h"

namespace mif {

namespace {

using headless::AnchorRole;
using headless::Atom;
using headless::Kind;

// The running state of one stream of text statements: the visible text of
// a container, or a paragraph of the hidden flow.
struct Stream {
  std::vector<Id> conditions;
  uint32_t style = 0;
};

class TextReader {
 public:
  TextReader(ReadContext& ctx, Id container, const FootnoteScope& footnotes)
      : ctx_(ctx), file_(ctx.file), doc_(ctx.doc), container_(container), footnotes_(footnotes) {}

  std::vector<long long> read(NodeId containerNode) {
    const Tree& t = file_.tree();
    Stream visible;
    for (NodeId para : t.children(containerNode)) {
      if (t.token(para) != "Para") continue;
      if (!visible.conditions.empty()) ctx_.state.carriedIn[para] = names(visible.conditions);
      visible.style = 0;  // each paragraph starts in its own font
      const NodeId firstLine = t.findChild(para, "ParaLine");
      leadingFrame_ = firstLine != kNoNode ? t.firstChild(firstLine) : kNoNode;
      readItems(para, visible, kNoNode, kNoNode, true);
      std::vector<uint32_t> codes;
      if (!lineStarts_.empty()) {
        codes.reserve(atoms_.size());
        for (const Atom& a : atoms_) codes.push_back(a.code);
      }
      finish(para, visible);
      if (group_.size() > 1) ctx_.state.groups[para] = group_;
      // Frames of a paragraph read as one model paragraph (hidden paragraph
      // ends inside it split its text; its frames are not followed).
      if (group_.size() == 1 && !lineStarts_.empty()) {
        ctx_.state.lineFrames[para] = FileState::LineFrames{std::move(codes), lineStarts_};
      }
      lineStarts_.clear();
      group_.clear();
    }
    return std::move(frames_);
  }

 private:
  std::vector<std::string> names(const std::vector<Id>& ids) const {
    std::vector<std::string> out;
    out.reserve(ids.size());
    for (Id c : ids) out.push_back(doc_.node(c).name);
    return out;
  }

  std::vector<Id> ids(const std::vector<std::string>& tags) {
    std::vector<Id> out;
    out.reserve(tags.size());
    for (const std::string& tag : tags) out.push_back(ctx_.condition(tag));
    return out;
  }

  uint32_t attr(const Stream& s) {
    if (s.style != lastStyle_ || s.conditions != lastConditions_) {
      lastStyle_ = s.style;
      lastConditions_ = s.conditions;
      lastAttr_ = doc_.internAttr(headless::TextAttr{s.conditions, s.style});
    }
    return lastAttr_;
  }

  void anchor(Id obj, AnchorRole role, const Stream& s) {
    atoms_.push_back(Atom::Anchor(obj, role, attr(s)));
  }

  // Ends the paragraph being read: it becomes a model paragraph with the
  // format and local properties of `para` and the text read since the last
  // one ended.
  void finish(NodeId para, const Stream& s) {
    const Id p = doc_.appendParagraph(container_, ParagraphTag(ctx_, para));
    const NodeId pgf = file_.tree().findChild(para, "Pgf");
    if (pgf != kNoNode) {
      const headless::PropMap local =
          ReadParagraphFormatProps(file_, pgf, ctx_.state.defaultUnit, doc_);
      for (const auto& [code, value] : local) doc_.setParagraphProp(p, code, value);
    }
    doc_.insertAtoms({p, 0}, atoms_);
    atoms_.clear();
    doc_.setEndAttr(p, attr(Stream{s.conditions, 0}));
    SetOrigin(doc_, ctx_.state, p, para);
    group_.push_back(p);
  }

  void text(std::string_view utf8, const Stream& s) {
    const uint32_t a = attr(s);
    std::size_t i = 0;
    while (i < utf8.size()) {
      // ASCII runs go straight in; anything else through the full decoder.
      const auto c = static_cast<unsigned char>(utf8[i]);
      if (c < 0x80) {
        atoms_.push_back(Atom::Char(c, a));
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) >= 0x80) ++j;
      for (char32_t u : headless::DecodeUtf8(utf8.substr(i, j - i))) {
        atoms_.push_back(Atom::Char(u, a));
      }
      i = j;
    }
  }

  // Reads the inline statements of `para`. With `from` set, statements up to
  // and including `from` only change the state; reading stops at `until`.
  void readItems(NodeId para, Stream& s, NodeId from, NodeId until, bool visible) {
    const Tree& t = file_.tree();
    bool on = from == kNoNode;
    for (NodeId line : t.children(para)) {
      if (t.token(line) != "ParaLine") continue;
      for (NodeId item = t.firstChild(line); item != kNoNode; item = t.nextSibling(item)) {
        if (item == until) return;
        if (!on) {
          if (item == from) {
            on = true;
          } else {
            changeState(item, s);
          }
          continue;
        }
        readItem(item, t.nextSibling(item) == kNoNode, s, visible);
      }
    }
  }

  // The statements that change the state without adding text.
  bool changeState(NodeId item, Stream& s) {
    const std::string_view tok = file_.tree().token(item);
    if (tok == "Font") {
      s.style = ctx_.fontStyle(item);
    } else if (tok == "Conditional") {
      s.conditions = ids(file_.childTexts(item, "InCondition"));
    } else if (tok == "Unconditional") {
      s.conditions.clear();
    } else {
      return false;
    }
    return true;
  }

  void readItem(NodeId item, bool lastInLine, Stream& s, bool visible) {
    if (changeState(item, s)) return;
    const Tree& t = file_.tree();
    const std::string_view tok = t.token(item);
    if (tok == "String") {
      text(file_.text(item).value_or(""), s);
    } else if (tok == "Char") {
      const std::string_view name = file_.keyword(item).value_or("");
      if (lastInLine && IsLineEndHyphen(name)) return;
      std::optional<char32_t> c = CharFromName(name);
      // A name this store does not know is kept as written, so that a save
      // gives it back (a value holding a comment or line end, just its
      // first word: the rest would swallow the '>').
      if (!c) {
        std::string_view written = t.value(item);
        if (written.find_first_of("#\r\n") != std::string_view::npos) written = name;
        c = ctx_.state.charOfUnknownName(written);
      }
      atoms_.push_back(Atom::Char(c.value_or(U'\uFFFD'), attr(s)));
    } else if (tok == "Marker") {
      readMarker(item, s);
    } else if (tok == "ATbl") {
      auto it = ctx_.tables.find(file_.integer(item).value_or(0));
      if (it != ctx_.tables.end()) anchor(it->second, AnchorRole::Single, s);
    } else if (tok == "FNote") {
      const long long n = file_.integer(item).value_or(0);
      Id footnote = 0;
      if (auto it = footnotes_.find(n); it != footnotes_.end()) {
        footnote = it->second;
      } else if (auto h = ctx_.hiddenFootnotes.find(n); h != ctx_.hiddenFootnotes.end()) {
        footnote = h->second;
      }
      if (footnote != 0) anchor(footnote, AnchorRole::Single, s);
    } else if (tok == "AFrame") {
      const Id frame = doc_.addAnchoredObject(Kind::AnchoredFrame);
      auto it = ctx_.frames.find(file_.integer(item).value_or(0));
      SetOrigin(doc_, ctx_.state, frame, it != ctx_.frames.end() ? it->second : item);
      anchor(frame, AnchorRole::Single, s);
    } else if (tok == "TextInset") {
      const Id inset =
          doc_.addTextInset(file_.childBoolean(item, "TextInsetLocked").value_or(false));
      SetOrigin(doc_, ctx_.state, inset, item);
      anchor(inset, AnchorRole::Begin, s);
      openInsets_.push_back(inset);
    } else if (tok == "TextInsetEnd") {
      if (openInsets_.empty()) return;
      anchor(openInsets_.back(), AnchorRole::End, s);
      openInsets_.pop_back();
    } else if (tok == "Variable") {
      const Id v = opaque(Kind::Variable, item, "VariableName");
      anchor(v, AnchorRole::Begin, s);
      anchor(v, AnchorRole::End, s);
    } else if (tok == "XRef") {
      openXRef_ = opaque(Kind::XRef, item, "XRefName");
      anchor(openXRef_, AnchorRole::Begin, s);
    } else if (tok == "XRefEnd") {
      if (openXRef_ == 0) return;
      anchor(openXRef_, AnchorRole::End, s);
      openXRef_ = 0;
    } else if (tok == "TextRectID" && visible) {
      frames_.push_back(file_.integer(item).value_or(0));
      if (item != leadingFrame_) lineStarts_.emplace_back(atoms_.size(), item);
    }
  }

  Id opaque(Kind kind, NodeId item, std::string_view nameToken) {
    const Id id = doc_.addAnchoredObject(kind);
    doc_.setName(id, file_.childText(item, nameToken).value_or(""));
    doc_.setProp(id, kPropSourceStatement, headless::Value::Int(static_cast<int32_t>(item + 1)));
    SetOrigin(doc_, ctx_.state, id, item);
    return id;
  }

  void readMarker(NodeId item, Stream& s) {
    if (ctx_.blockBounds.count(item) != 0) return;
    auto block = ctx_.blockAt.find(item);
    if (block != ctx_.blockAt.end()) {
      splice(*block->second);
      return;
    }
    const std::optional<std::string> name = file_.childText(item, "MTypeName");
    std::optional<long long> number = file_.childInteger(item, "MType");
    // A marker that names no type is of type 0, as every writing states.
    if (!number && name.value_or("").empty()) number = 0;
    const Id type = ctx_.markerType(name.value_or(""), number);
    const Id marker = doc_.addMarker(type, file_.childText(item, "MText").value_or(""));
    SetOrigin(doc_, ctx_.state, marker, item);
    anchor(marker, AnchorRole::Single, s);
  }

  // The text of a hidden block, read where it belongs: every paragraph end
  // inside the block ends a model paragraph with the format of the hidden
  // paragraph it closes.
  void splice(const HiddenBlock& block) {
    const std::size_t n = block.paragraphs.size();
    for (std::size_t i = 0; i < n; ++i) {
      const NodeId h = block.paragraphs[i];
      Stream hs;
      auto carried = ctx_.hiddenCarried.find(h);
      if (carried != ctx_.hiddenCarried.end()) hs.conditions = ids(carried->second);
      readItems(h, hs, i == 0 ? block.start : kNoNode, i + 1 == n ? block.end : kNoNode, false);
      if (i + 1 < n) finish(h, hs);
    }
  }

  ReadContext& ctx_;
  const Document& file_;
  headless::Document& doc_;
  Id container_;
  const FootnoteScope& footnotes_;
  std::vector<Atom> atoms_;
  std::vector<Id> group_;
  std::vector<Id> openInsets_;
  Id openXRef_ = 0;
  std::vector<long long> frames_;
  // The <TextRectID> the paragraph being read starts with, and those of its
  // later lines with the number of atoms read before each.
  NodeId leadingFrame_ = kNoNode;
  std::vector<std::pair<std::size_t, NodeId>> lineStarts_;
  uint32_t lastStyle_ = 0;
  std::vector<Id> lastConditions_;
  uint32_t lastAttr_ = 0;
};

}  // namespace

std::vector<long long> ReadText(ReadContext& ctx, Id container, NodeId containerNode,
                                const FootnoteScope& footnotes) {
  return TextReader(ctx, container, footnotes).read(containerNode);
}

void ReadNotes(ReadContext& ctx, NodeId notes, FootnoteScope& scope) {
  if (notes == kNoNode) return;
  const Tree& t = ctx.file.tree();
  static const FootnoteScope kNone;
  for (NodeId fn : t.children(notes)) {
    if (t.token(fn) != "FNote") continue;
    const Id footnote = ctx.doc.addFootnote();
    SetOrigin(ctx.doc, ctx.state, footnote, fn);
    scope[ctx.file.childInteger(fn, "ID").value_or(0)] = footnote;
    ReadText(ctx, footnote, fn, kNone);
  }
}

}  // namespace mif
