// Paragraphs from the model. A container (flow, cell, footnote) whose
// paragraphs changed gets its paragraph statements in the model's order:
// unchanged paragraphs as they were read, changed and new ones written
// anew, each naming its format. Text that is hidden when the file is
// written goes to the hidden flow, with a "+n" marker where it belongs, as
// the application saves it.
#include <algorithm>
#include <functional>

#include "headless/utf8.h"
#include "mif/builder.h"
#include "model/chars.h"
#include "model/formats.h"
#include "model/write/write.h"

namespace mif {

std::optional<long long> MarkerTypeNumber(std::string_view type) {
  if (auto standard = StandardMarkerType(type)) return standard;
  if (type.starts_with("Type ")) {
    const auto n = ToInteger(type.substr(5));
    if (n && *n > 10 && *n < 100) return n;
  }
  return std::nullopt;
}

// The <Font> that starts text of a character style: the statement the
// style was read from (through `fromSource`), else the catalog entry of its
// character format, else the paragraph font; a colour set on the text is
// added.
Result<NodeId> FontStatement(WriteContext& w, uint32_t style,
                             const std::function<NodeId(NodeId)>& fromSource) {
  const headless::PropMap& props = w.doc.charStyle(style);
  NodeId font = kNoNode;
  const int32_t source = props.getInt(kPropSourceStatement);
  if (source > 0) font = fromSource(static_cast<NodeId>(source - 1));
  const std::string name = props.getString(host::kPropName);
  if (font == kNoNode && !name.empty()) {
    const Id format = w.doc.find(headless::Kind::CharacterFormat, name);
    const NodeId entry = w.state.node(format);
    if (entry != kNoNode) font = w.tree.copySubtree(entry);
  }
  if (font == kNoNode) {
    font = w.container("Font");
    auto tag = w.stringStatement("FTag", name);
    if (!tag) return tag.error();
    w.tree.append(font, *tag);
    w.tree.append(font, w.statement("FLocked", "No"));
  }
  const Id color = props.getId(host::kPropFormatColor);
  if (w.doc.kind(color) == headless::Kind::Color) {
    if (Status s = w.setChildText(font, "FColor", w.doc.node(color).name); !s) return s.error();
  }
  return font;
}

namespace {

using headless::Atom;
using headless::Kind;

std::vector<std::string> Names(const headless::Document& doc, const std::vector<Id>& ids) {
  std::vector<std::string> out;
  out.reserve(ids.size());
  for (Id c : ids) out.push_back(doc.node(c).name);
  return out;
}

std::vector<Id> Ids(const headless::Document& doc, const std::vector<std::string>& names) {
  std::vector<Id> out;
  for (const std::string& n : names) {
    if (Id c = doc.find(Kind::Condition, n)) out.push_back(c);
  }
  return out;
}

// The condition state after the statements of `para`, starting in `start`.
std::vector<std::string> EndState(const Document& file, NodeId para,
                                  std::vector<std::string> start) {
  const Tree& t = file.tree();
  for (NodeId line : t.children(para)) {
    if (t.token(line) != "ParaLine") continue;
    for (NodeId item : t.children(line)) {
      const std::string_view tok = t.token(item);
      if (tok == "Conditional") {
        start = file.childTexts(item, "InCondition");
      } else if (tok == "Unconditional") {
        start.clear();
      }
    }
  }
  return start;
}

// The codes of a paragraph's atoms.
std::vector<uint32_t> CodesOf(const headless::Document& doc, Id para) {
  std::vector<uint32_t> out;
  out.reserve(doc.size(para));
  for (const Atom a : doc.atoms(para)) out.push_back(a.code);
  return out;
}

// Where the frames of a rewritten paragraph's later lines go in its text
// now (the codes of its atoms, `now`), from where they started in the text it was read or last
// written with: each frame goes before the first character of its line
// that is still there, found by the text the two share at their start and
// at their end. A frame whose line kept no text is left out.
std::vector<std::pair<std::size_t, NodeId>> PlaceLineFrames(const FileState::LineFrames& then,
                                                            const std::vector<uint32_t>& now) {
  const std::vector<uint32_t>& old = then.codes;
  const std::size_t oldSize = old.size(), newSize = now.size();
  std::size_t prefix = 0;
  while (prefix < oldSize && prefix < newSize && old[prefix] == now[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < oldSize - prefix && suffix < newSize - prefix &&
         old[oldSize - 1 - suffix] == now[newSize - 1 - suffix]) {
    ++suffix;
  }
  const std::size_t tail = oldSize - suffix;  // the shared end starts here, then
  std::vector<std::pair<std::size_t, NodeId>> out;
  for (std::size_t i = 0; i < then.starts.size(); ++i) {
    const std::size_t start = then.starts[i].first;
    const std::size_t end = i + 1 < then.starts.size() ? then.starts[i + 1].first : oldSize;
    if (start < prefix || (start == end && start <= prefix)) {
      out.emplace_back(start, then.starts[i].second);
    } else if (std::max(start, tail) < end || (start == end && start >= tail)) {
      out.emplace_back(std::max(start, tail) - tail + (newSize - suffix), then.starts[i].second);
    }
  }
  return out;
}

// Where the footnotes of a container's text go: its <Notes>, made before
// its first paragraph when a footnote first needs it.
struct NotesPlace {
  NodeId owner = kNoNode;  // the container statement; kNoNode: no footnotes here
  NodeId notes = kNoNode;

  NodeId get(WriteContext& w) {
    if (notes != kNoNode || owner == kNoNode) return notes;
    notes = w.tree.findChild(owner, "Notes");
    if (notes != kNoNode) return notes;
    notes = w.container("Notes");
    const NodeId firstPara = w.tree.findChild(owner, "Para");
    if (firstPara != kNoNode) {
      w.tree.insertBefore(firstPara, notes);
    } else {
      w.tree.append(owner, notes);
    }
    return notes;
  }
};

// Writes inline statements into the lines of one paragraph statement.
class Emitter {
 public:
  // `start` is the condition state the paragraph begins in; without one the
  // first state is always written.
  Emitter(WriteContext& w, NodeId para, NotesPlace* notes, std::optional<std::vector<Id>> start)
      : w_(w),
        para_(para),
        notes_(notes),
        known_(start.has_value()),
        conditions_(start.value_or(std::vector<Id>{})) {}

  // The attributes of the last text, whose condition state and style are
  // in force; kNoAttr when something came between.
  static constexpr uint32_t kNoAttr = 0xFFFFFFFFu;

  // A statement placed right after the first state statement (the "-n"
  // marker of hidden text comes after the Conditional of its text).
  void setPending(NodeId statement) { pending_ = statement; }

  Status atom(const Atom& a) {
    // Most text: a printable ASCII character (it has no name) in the
    // attributes of the text before it.
    if (a.code >= 0x20 && a.code < 0x7F && a.attr == applied_ && pending_ == kNoNode) {
      text_.push_back(static_cast<char>(a.code));
      return Ok();
    }
    if (Status s = apply(a.attr, true); !s) return s;
    if (a.isAnchor()) return anchor(a);
    const char32_t c = a.ch();
    const std::string* unknown = w_.state.unknownNameOf(c);
    const std::string_view name = unknown
                                      ? std::string_view(*unknown)
                                      : NameOfChar(c, w_.file.encoding() == Encoding::FrameRoman);
    if (name.empty() && !unknown) {
      headless::AppendUtf8(text_, c);
      return Ok();
    }
    if (Status s = flush(); !s) return s;
    put(w_.statement("Char", name));
    // A forced line break ends the line, as the application writes it.
    if (c == U'\n') line_ = kNoNode;
    return Ok();
  }

  // The state for the paragraph's end mark.
  Status endMark(uint32_t attr) { return apply(attr, false); }

  Status statement(NodeId stmt) {
    if (Status s = flush(); !s) return s;
    put(stmt);
    return Ok();
  }

  // Starts a line with the <TextRectID> of the frame it begins in.
  Status frameLine(NodeId frame) {
    if (Status s = flush(); !s) return s;
    line_ = kNoNode;
    put(frame);
    return Ok();
  }

  Status finish() {
    if (Status s = flush(); !s) return s;
    if (pending_ != kNoNode) put(std::exchange(pending_, kNoNode));
    if (line_ == kNoNode && !wroteLine_) line();
    return Ok();
  }

  const std::vector<Id>& conditions() const { return conditions_; }
  NodeId firstLine() const { return firstLine_; }

 private:
  NodeId line() {
    if (line_ == kNoNode) {
      line_ = w_.container("ParaLine");
      w_.tree.append(para_, line_);
      if (firstLine_ == kNoNode) firstLine_ = line_;
      wroteLine_ = true;
    }
    return line_;
  }
  void put(NodeId stmt) { w_.tree.append(line(), stmt); }

  Status flush() {
    if (text_.empty()) return Ok();
    auto s = w_.stringStatement("String", text_);
    text_.clear();
    if (!s) return s.error();
    put(*s);
    return Ok();
  }

  Status apply(uint32_t attr, bool withStyle) {
    // Text of the attributes just applied needs no statement.
    if (withStyle && attr == applied_ && pending_ == kNoNode) return Ok();
    applied_ = kNoAttr;
    const std::vector<Id> now = w_.doc.conditionsOf(attr);
    if (!known_ || now != conditions_) {
      if (Status s = flush(); !s) return s;
      if (now.empty()) {
        put(w_.statement("Unconditional", ""));
      } else {
        const NodeId c = w_.container("Conditional");
        for (const std::string& name : Names(w_.doc, now)) {
          auto in = w_.stringStatement("InCondition", name);
          if (!in) return in.error();
          w_.tree.append(c, *in);
        }
        put(c);
      }
      conditions_ = now;
      known_ = true;
    }
    if (pending_ != kNoNode) {
      if (Status s = flush(); !s) return s;
      put(std::exchange(pending_, kNoNode));
    }
    if (!withStyle) return Ok();
    const uint32_t style = w_.doc.attr(attr).charStyle;
    if (style != style_) {
      if (Status s = flush(); !s) return s;
      auto font = FontStatement(w_, style, [this](NodeId source) { return takeOrCopy(source); });
      if (!font) return font.error();
      put(*font);
      style_ = style;
    }
    applied_ = attr;
    return Ok();
  }

  // The statement a style was read from when it left the file with the
  // lines of a paragraph written anew (moved, so that it is written as it
  // was read), else a copy of it.
  NodeId takeOrCopy(NodeId source) {
    NodeId up = source;
    while (up != kNoNode && up != w_.tree.root()) up = w_.tree.parent(up);
    if (up == kNoNode && !w_.tree.isCreated(source) && w_.claim(source)) {
      w_.tree.detach(source);
      return source;
    }
    return w_.tree.copySubtree(source);
  }

  // The statement an object was read from, taken into this line once; a
  // second anchor of it (or an object copied through the host) gets a copy
  // with a Unique of its own.
  NodeId reuse(Id obj) {
    NodeId node = w_.state.node(obj);
    if (node == kNoNode) {
      const int32_t source = w_.doc.props(obj).getInt(kPropSourceStatement);
      if (source <= 0) return kNoNode;
      node = static_cast<NodeId>(source - 1);
    } else if (w_.claim(node)) {
      return node;
    }
    const NodeId copy = w_.tree.copySubtree(node);
    const NodeId unique = w_.tree.findChild(copy, "Unique");
    if (unique != kNoNode) w_.tree.setValue(unique, std::to_string(w_.ids().nextUnique()));
    w_.state.setNode(obj, copy);
    w_.claim(copy);
    return copy;
  }

  Status anchor(const Atom& a) {
    const Id obj = a.object();
    const Kind k = w_.doc.kind(obj);
    if (Status s = flush(); !s) return s;
    switch (k) {
      case Kind::Marker: {
        auto m = markerStatement(obj);
        if (!m) return m.error();
        put(*m);
        return Ok();
      }
      case Kind::Table: {
        auto t = TableNode(w_, obj);
        if (!t) return t.error();
        put(w_.statement("ATbl", std::to_string(w_.file.childInteger(*t, "TblID").value_or(0))));
        return Ok();
      }
      case Kind::Footnote: {
        const NodeId notes = notes_ ? notes_->get(w_) : kNoNode;
        if (notes == kNoNode) return Ok();  // no footnote inside a footnote
        auto f = FootnoteNode(w_, obj, notes);
        if (!f) return f.error();
        put(w_.statement("FNote", std::to_string(w_.file.childInteger(*f, "ID").value_or(0))));
        return Ok();
      }
      case Kind::AnchoredFrame: {
        const NodeId node = w_.state.node(obj);
        if (node == kNoNode) return Ok();
        if (w_.tree.token(node) == "Frame") {
          put(w_.statement("AFrame", std::to_string(w_.file.childInteger(node, "ID").value_or(0))));
          return Ok();
        }
        // An anchor naming no frame of the file is kept as the file wrote
        // it, whatever its value holds (a comment, statements).
        put(w_.claim(node) ? node : w_.tree.copySubtree(node));
        return Ok();
      }
      case Kind::TextInset: {
        if (a.isEnd()) {
          put(w_.statement("TextInsetEnd", ""));
          return Ok();
        }
        const NodeId node = reuse(obj);
        if (node == kNoNode) return Ok();
        w_.setChildWord(node, "TextInsetLocked", w_.doc.node(obj).flag != 0 ? "Yes" : "No");
        put(node);
        return Ok();
      }
      case Kind::Variable:
      case Kind::XRef: {
        if (a.isEnd()) {
          if (k == Kind::XRef) put(w_.statement("XRefEnd", ""));
          return Ok();
        }
        NodeId node = reuse(obj);
        if (node == kNoNode) {
          node = w_.container(k == Kind::XRef ? "XRef" : "Variable");
          auto name = w_.stringStatement(k == Kind::XRef ? "XRefName" : "VariableName",
                                         w_.doc.node(obj).name);
          if (!name) return name.error();
          w_.tree.append(node, *name);
          w_.tree.append(node, w_.uniqueStatement());
          w_.state.setNode(obj, node);
          w_.claim(node);
        }
        put(node);
        return Ok();
      }
      default:
        return Ok();
    }
  }

  Result<NodeId> markerStatement(Id marker) {
    const headless::Node& m = w_.doc.node(marker);
    const std::string type = w_.doc.alive(m.ref) ? w_.doc.node(m.ref).name : "Header/Footer $1";
    NodeId node = w_.state.node(marker);
    if (node != kNoNode && w_.tree.token(node) == "Marker" && w_.claim(node)) {
      if (!w_.doc.modified(marker)) return node;
      if (Status s = w_.setChildText(node, "MText", m.name); !s) return s.error();
      const auto number = MarkerTypeNumber(type);
      const bool named = w_.tree.findChild(node, "MTypeName") != kNoNode;
      if (named) {
        if (Status s = w_.setChildText(node, "MTypeName", type); !s) return s.error();
      }
      const auto had = w_.file.childInteger(node, "MType");
      // A number the file gave without a name (the reader called the type
      // "Type N") stays as the file wrote it, whatever its range.
      if (!number && !named && had && type == "Type " + std::to_string(*had)) return node;
      if (number || !named) {
        w_.setChildWord(node, "MType", std::to_string(number.value_or(kCustomMarkerType)));
      } else if (!had) {
        w_.setChildWord(node, "MType", std::to_string(kCustomMarkerType));
      }
      return node;
    }
    Builder make(w_.file, w_.ids());
    auto made = make.marker(type, m.name);
    if (!made) return w_.error("cannot write a marker: " + made.error().message);
    // Old files name custom types by number only ("Type 11").
    if (const auto number = MarkerTypeNumber(type); number && *number > 10) {
      w_.setChildWord(*made, "MType", std::to_string(*number));
    }
    w_.state.setNode(marker, *made);
    w_.claim(*made);
    return made;
  }

  WriteContext& w_;
  NodeId para_;
  NotesPlace* notes_;
  bool known_;
  std::vector<Id> conditions_;
  uint32_t style_ = 0;
  uint32_t applied_ = kNoAttr;
  std::string text_;
  NodeId line_ = kNoNode;
  NodeId firstLine_ = kNoNode;
  bool wroteLine_ = false;
  NodeId pending_ = kNoNode;
};

class ContainerWriter {
 public:
  ContainerWriter(WriteContext& w, Id container, NodeId node)
      : w_(w), doc_(w.doc), t_(w.tree), container_(container), node_(node) {}

  Status run() {
    std::vector<NodeId> before;
    for (NodeId c : t_.children(node_)) {
      if (t_.token(c) == "Para") before.push_back(c);
    }
    const Kind k = doc_.kind(container_);
    if (k == Kind::Flow || k == Kind::Cell) notes_.owner = node_;
    NodeId leadingFrame = kNoNode;
    if (k == Kind::Flow && !before.empty()) leadingFrame = LeadingFrame(before.front());

    std::vector<NodeId> after;
    std::vector<std::string> running;
    std::vector<Id> group;
    const headless::Node& c = doc_.node(container_);
    for (Id p = c.paraFirst; p != 0; p = doc_.para(p).next) {
      group.push_back(p);
      if (doc_.para(p).next != 0 && doc_.attrHidden(doc_.endAttr(p))) continue;
      auto para = writeGroup(group, running);
      if (!para) return para.error();
      after.push_back(*para);
      group.clear();
    }

    if (!before.empty()) {
      std::vector<bool> kept(t_.nodeCount());
      for (NodeId n : after) kept[n] = true;
      for (NodeId old : before) {
        if (!kept[old]) w_.dropHiddenBlocks(old);
      }
    }
    if (after != before) {
      std::vector<NodeId> children;
      bool placed = false;
      for (NodeId ch : t_.children(node_)) {
        if (t_.token(ch) == "Para") {
          if (!placed) children.insert(children.end(), after.begin(), after.end());
          placed = true;
          continue;
        }
        children.push_back(ch);
      }
      if (!placed) children.insert(children.end(), after.begin(), after.end());
      w_.tree.setChildren(node_, children);
    }
    // The first line of a flow names the frame the flow starts in.
    if (k == Kind::Flow && before.empty()) leadingFrame = newLeadingFrame();
    if (leadingFrame != kNoNode && !after.empty() && LeadingFrame(after.front()) == kNoNode) {
      NodeId line = t_.findChild(after.front(), "ParaLine");
      if (line == kNoNode) {
        line = w_.container("ParaLine");
        w_.tree.append(after.front(), line);
      }
      if (t_.firstChild(line) != kNoNode) {
        w_.tree.insertBefore(t_.firstChild(line), leadingFrame);
      } else {
        w_.tree.append(line, leadingFrame);
      }
    }
    return Ok();
  }

 private:
  // The <TextRectID> a paragraph's first line starts with, if any.
  NodeId LeadingFrame(NodeId para) const {
    const NodeId line = t_.findChild(para, "ParaLine");
    if (line == kNoNode) return kNoNode;
    const NodeId first = t_.firstChild(line);
    return first != kNoNode && t_.token(first) == "TextRectID" ? first : kNoNode;
  }

  // A <TextRectID> for the first frame of a new flow.
  NodeId newLeadingFrame() {
    for (Id f = doc_.node(container_).first; f != 0; f = doc_.node(f).next) {
      const NodeId rect = w_.state.node(f);
      if (rect == kNoNode) continue;
      return w_.statement("TextRectID",
                          std::to_string(w_.file.childInteger(rect, "ID").value_or(0)));
    }
    return kNoNode;
  }

  bool unchanged(const std::vector<Id>& group, NodeId node) const {
    if (node == kNoNode || t_.token(node) != "Para" || t_.parent(node) != node_) return false;
    for (Id p : group) {
      if (doc_.modified(p)) return false;
    }
    auto loaded = w_.state.groups.find(node);
    if (loaded != w_.state.groups.end() ? loaded->second != group : group.size() != 1) return false;
    if (!w_.visibilityChanged) return true;
    for (Id p : group) {
      for (const Atom a : doc_.atoms(p)) {
        if (w_.hiddenNow(a.attr) != w_.hiddenThen(a.attr)) return false;
      }
      if (w_.hiddenNow(doc_.endAttr(p)) != w_.hiddenThen(doc_.endAttr(p))) return false;
    }
    return true;
  }

  void setCarried(NodeId para, const std::vector<std::string>& running) {
    if (running.empty()) {
      w_.state.carriedIn.erase(para);
    } else {
      w_.state.carriedIn[para] = running;
    }
  }

  Result<NodeId> writeGroup(const std::vector<Id>& group, std::vector<std::string>& running) {
    const Id last = group.back();
    const NodeId node = w_.state.node(last);
    if (unchanged(group, node)) {
      auto it = w_.state.carriedIn.find(node);
      const std::vector<std::string> expected =
          it != w_.state.carriedIn.end() ? it->second : std::vector<std::string>{};
      if (expected != running) {
        // The paragraph was read in another state than the one it now
        // follows: it says its state itself.
        if (Status s = restate(node, expected); !s) return s.error();
        setCarried(node, running);
      }
      running = EndState(w_.file, node, expected);
      return node;
    }
    auto written = writeParagraph(group, node, running);
    if (!written) {
      if (node != kNoNode && !t_.isCreated(node)) {
        const Error at = w_.file.errorAt(node, written.error().message);
        return at;
      }
      return written.error();
    }
    return written;
  }

  Status restate(NodeId para, const std::vector<std::string>& conditions) {
    NodeId line = t_.findChild(para, "ParaLine");
    if (line == kNoNode) return Ok();
    NodeId stmt;
    if (conditions.empty()) {
      stmt = w_.statement("Unconditional", "");
    } else {
      stmt = w_.container("Conditional");
      for (const std::string& name : conditions) {
        auto in = w_.stringStatement("InCondition", name);
        if (!in) return in.error();
        w_.tree.append(stmt, *in);
      }
    }
    NodeId at = t_.firstChild(line);
    if (at != kNoNode && t_.token(at) == "TextRectID") at = t_.nextSibling(at);
    if (at != kNoNode) {
      w_.tree.insertBefore(at, stmt);
    } else {
      w_.tree.append(line, stmt);
    }
    return Ok();
  }

  // The properties a paragraph of this format has in the file, before its
  // local ones: its catalog entry's, with the properties every format has
  // read as their defaults when the entry does not state them. Read once a
  // writing for each format.
  const headless::PropMap& formatProps(const std::string& tag) {
    auto [it, made] = w_.formatProps.try_emplace(tag);
    if (!made) return it->second;
    headless::PropMap& props = it->second;
    props.set(host::kPropIndent, headless::Value::Metric(0));
    props.set(host::kPropStartPosition, headless::Value::Int(0));
    props.set(host::kPropPlacement, headless::Value::Int(0));
    const NodeId format = w_.state.node(doc_.find(Kind::ParagraphFormat, tag));
    if (format != kNoNode) {
      for (const auto& [code, value] :
           ReadParagraphFormatProps(w_.file, format, w_.state.defaultUnit, doc_)) {
        props.set(code, value);
      }
    }
    return props;
  }

  Status writeHead(NodeId para, Id p) {
    const std::string tag(doc_.tag(p));
    NodeId tagNode = t_.findChild(para, "PgfTag");
    if (tagNode == kNoNode) {
      auto made = w_.stringStatement("PgfTag", tag);
      if (!made) return made.error();
      const NodeId unique = t_.findChild(para, "Unique");
      if (unique != kNoNode) {
        w_.tree.insertAfter(unique, *made);
      } else if (t_.firstChild(para) != kNoNode) {
        w_.tree.insertBefore(t_.firstChild(para), *made);
      } else {
        w_.tree.append(para, *made);
      }
    } else if (Status s = w_.setChildText(para, "PgfTag", tag); !s) {
      return s;
    }
    NodeId pgf = t_.findChild(para, "Pgf");
    if (pgf != kNoNode && t_.findChild(pgf, "PgfTag") != kNoNode) {
      if (Status s = w_.setChildText(pgf, "PgfTag", tag); !s) return s;
    }
    // What the file gives the paragraph now: its format's properties and
    // its local ones.
    const headless::PropMap* have = &formatProps(tag);
    headless::PropMap withLocal;
    if (pgf != kNoNode) {
      withLocal = *have;
      for (const auto& [code, value] :
           ReadParagraphFormatProps(w_.file, pgf, w_.state.defaultUnit, doc_)) {
        withLocal.set(code, value);
      }
      have = &withLocal;
    }
    const headless::PropMap& want = doc_.paragraphProps(p);
    bool differs = false;
    for (const auto& [code, value] : want) {
      if (!IsMappedParagraphProp(code)) continue;
      const headless::Value* h = have->find(code);
      if (!h || !(*h == value)) differs = true;
    }
    if (!differs) return Ok();
    if (pgf == kNoNode) {
      pgf = w_.container("Pgf");
      w_.tree.insertAfter(t_.findChild(para, "PgfTag"), pgf);
    }
    return WriteParagraphFormatProps(w_.file, pgf, want, *have, w_.state.defaultUnit, doc_);
  }

  // A new statement for a paragraph of the hidden flow.
  Result<NodeId> hiddenParagraph(Id p) {
    const NodeId para = w_.container("Para");
    w_.tree.append(para, w_.uniqueStatement());
    if (Status s = writeHead(para, p); !s) return s.error();
    return para;
  }

  Status addHidden(NodeId para) {
    const NodeId flow = w_.hiddenFlow();
    if (t_.findChild(flow, "Para") == kNoNode) {
      // The flow's first line names the hidden page's frame.
      const NodeId rect = t_.findChild(w_.hidden().page, "TextRect");
      const auto id = rect != kNoNode ? w_.file.childInteger(rect, "ID") : std::nullopt;
      NodeId line = t_.findChild(para, "ParaLine");
      if (id && line != kNoNode) {
        const NodeId frame = w_.statement("TextRectID", std::to_string(*id));
        if (t_.firstChild(line) != kNoNode) {
          w_.tree.insertBefore(t_.firstChild(line), frame);
        } else {
          w_.tree.append(line, frame);
        }
      }
    }
    w_.tree.append(flow, para);
    return Ok();
  }

  Result<NodeId> hiddenMarker(char sign, long long number) {
    Builder make(w_.file, w_.ids());
    std::string text(1, sign);
    text += std::to_string(number);
    auto m = make.marker("Conditional Text", text);
    if (!m) return w_.error(m.error().message);
    if (sign != '+') w_.tree.append(*m, w_.statement("MCurrPage", "`HIDDEN'"));
    return m;
  }

  Result<NodeId> writeParagraph(const std::vector<Id>& group, NodeId node,
                                std::vector<std::string>& running) {
    const Id last = group.back();
    NodeId para = node;
    const bool reuse =
        para != kNoNode && t_.token(para) == "Para" && t_.parent(para) != w_.hidden().flow;
    NodeId leading = kNoNode;
    // The frames later lines start in, by the index of the atom they go before.
    std::vector<std::pair<std::size_t, NodeId>> frames;
    if (reuse) {
      w_.dropHiddenBlocks(para);
      leading = LeadingFrame(para);
      if (leading != kNoNode) w_.tree.detach(leading);
      auto lines = w_.state.lineFrames.find(para);
      if (lines != w_.state.lineFrames.end() && group.size() == 1) {
        frames = PlaceLineFrames(lines->second, CodesOf(doc_, last));
      }
      std::vector<NodeId> keep;
      for (NodeId ch : t_.children(para)) {
        const std::string_view tok = t_.token(ch);
        if (tok != "ParaLine" && tok != "PgfEndCond" && tok != "PgfCondFullPgf") keep.push_back(ch);
      }
      w_.tree.setChildren(para, keep);
    } else {
      para = w_.container("Para");
      w_.tree.append(para, w_.uniqueStatement());
    }
    if (Status s = writeHead(para, last); !s) return s.error();

    Emitter visible(w_, para, &notes_, Ids(doc_, running));
    struct Run {
      long long number = 0;
      NodeId para = kNoNode;
      std::optional<Emitter> text;
    } run;
    auto startRun = [&](Id p, bool whole) -> Status {
      run.number = w_.ids().nextUnique();
      auto plus = hiddenMarker('+', run.number);
      if (!plus) return plus.error();
      if (Status s = visible.statement(*plus); !s) return s;
      auto hp = hiddenParagraph(p);
      if (!hp) return hp.error();
      run.para = *hp;
      run.text.emplace(w_, *hp, nullptr, std::nullopt);
      auto minus = hiddenMarker('-', run.number);
      if (!minus) return minus.error();
      run.text->setPending(*minus);
      wholeHidden_ = whole;
      return Ok();
    };
    auto endPara = [&](Id p, Id next) -> Status {
      if (Status s = run.text->endMark(doc_.endAttr(p)); !s) return s;
      if (Status s = run.text->finish(); !s) return s;
      // The end mark is conditional, and with it maybe the whole paragraph.
      const NodeId tag = t_.findChild(run.para, "PgfTag");
      if (wholeHidden_) w_.tree.insertAfter(tag, w_.statement("PgfCondFullPgf", "Yes"));
      w_.tree.insertAfter(tag, w_.statement("PgfEndCond", "Yes"));
      if (Status s = addHidden(run.para); !s) return s;
      auto hp = hiddenParagraph(next);
      if (!hp) return hp.error();
      run.para = *hp;
      run.text.emplace(w_, *hp, nullptr, std::nullopt);
      wholeHidden_ = true;
      return Ok();
    };
    auto endRun = [&]() -> Status {
      auto equals = hiddenMarker('=', run.number);
      if (!equals) return equals.error();
      if (Status s = run.text->statement(*equals); !s) return s;
      if (Status s = run.text->finish(); !s) return s;
      if (Status s = addHidden(run.para); !s) return s;
      run.text.reset();
      return Ok();
    };

    std::size_t nextFrame = 0;
    auto framesAt = [&](std::size_t k) -> Status {
      for (; nextFrame < frames.size() && frames[nextFrame].first == k; ++nextFrame) {
        if (Status s = visible.frameLine(frames[nextFrame].second); !s) return s;
      }
      return Ok();
    };
    for (std::size_t i = 0; i < group.size(); ++i) {
      const Id p = group[i];
      const auto& atoms = doc_.atoms(p);
      bool first = true;
      std::size_t k = 0;
      uint32_t lastAttr = Emitter::kNoAttr;
      bool hide = false;
      for (const Atom a : atoms) {
        if (Status s = framesAt(k++); !s) return s.error();
        if (a.attr != lastAttr) {
          lastAttr = a.attr;
          hide = w_.hiddenNow(a.attr);
        }
        if (hide && !run.text) {
          if (Status s = startRun(p, first); !s) return s.error();
        } else if (!hide && run.text) {
          if (Status s = endRun(); !s) return s.error();
        }
        if (Status s = (hide ? *run.text : visible).atom(a); !s) return s.error();
        first = false;
      }
      if (i + 1 == group.size()) break;
      // A hidden end mark inside the group.
      if (!run.text) {
        if (Status s = startRun(p, atoms.empty()); !s) return s.error();
      }
      if (Status s = endPara(p, group[i + 1]); !s) return s.error();
    }
    if (run.text) {
      if (Status s = endRun(); !s) return s.error();
    }
    if (Status s = framesAt(doc_.size(last)); !s) return s.error();
    if (Status s = visible.endMark(doc_.endAttr(last)); !s) return s.error();
    if (Status s = visible.finish(); !s) return s.error();
    if (leading != kNoNode) {
      const NodeId line = visible.firstLine();
      if (t_.firstChild(line) != kNoNode) {
        w_.tree.insertBefore(t_.firstChild(line), leading);
      } else {
        w_.tree.append(line, leading);
      }
    }

    setCarried(para, running);
    running = Names(doc_, visible.conditions());
    if (group.size() > 1) {
      w_.state.groups[para] = group;
    } else {
      w_.state.groups.erase(para);
    }
    if (!frames.empty()) {
      FileState::LineFrames& now = w_.state.lineFrames[para];
      now.codes = CodesOf(doc_, last);
      now.starts = std::move(frames);
    } else if (reuse) {
      w_.state.lineFrames.erase(para);
    }
    w_.state.setNode(last, para);
    return para;
  }

  WriteContext& w_;
  const headless::Document& doc_;
  const Tree& t_;
  Id container_;
  NodeId node_;
  NotesPlace notes_;
  bool wholeHidden_ = false;
};

}  // namespace

Status WriteContainer(WriteContext& w, Id container, NodeId containerNode) {
  return ContainerWriter(w, container, containerNode).run();
}

NodeId ContainerNode(WriteContext& w, Id container) {
  const NodeId node = w.state.node(container);
  if (node == kNoNode) return kNoNode;
  if (w.doc.kind(container) != Kind::Cell) return node;
  NodeId content = w.tree.findChild(node, "CellContent");
  if (content == kNoNode) {
    content = w.container("CellContent");
    w.tree.append(node, content);
  }
  return content;
}

Status WriteText(WriteContext& w) {
  const headless::Document& doc = w.doc;
  std::vector<uint8_t> dirty(doc.idLimit(), 0);
  std::size_t made = 0;
  for (Id id = 1; id < doc.idLimit(); ++id) {
    const Kind k = doc.kind(id);
    if (k == Kind::Paragraph) {
      if (doc.modified(id)) {
        dirty[doc.para(id).owner] = 1;
        std::size_t runs = 0;
        doc.atoms(id).anyAttr([&runs](uint32_t) { return ++runs == 0; });
        made += 6 + 5 * doc.atoms(id).anchors().size() + 3 * runs;
      }
    } else if (k == Kind::Flow || k == Kind::Cell || k == Kind::Footnote) {
      if (doc.modified(id) || w.visibilityChanged) dirty[id] = 1;
    }
  }
  // Room for the statements of paragraphs written anew (about six for a
  // paragraph, five for an anchor and three where the attributes change),
  // so that the statement array grows once rather than step by step.
  w.tree.reserve(made);
  // Flows and cells first: writing their anchors places new footnotes.
  for (int pass = 0; pass < 2; ++pass) {
    for (Id id = 1; id < doc.idLimit(); ++id) {
      if (!dirty[id] || (doc.kind(id) == Kind::Footnote) != (pass == 1)) continue;
      const NodeId node = ContainerNode(w, id);
      if (node == kNoNode) continue;
      if (Status s = WriteContainer(w, id, node); !s) return s;
    }
  }
  // Lock flags of text insets the text around them did not rewrite.
  for (Id inset : doc.all(headless::DocList::TextInsets)) {
    const NodeId node = w.state.node(inset);
    if (node == kNoNode || !doc.modified(inset)) continue;
    w.setChildWord(node, "TextInsetLocked", doc.node(inset).flag != 0 ? "Yes" : "No");
  }
  return Ok();
}

}  // namespace mif
