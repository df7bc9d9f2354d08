// Writing a model document: the file state brought up to date with the
// model, then the tree written out.
#include "model/write/write.h"

#include <array>

#include "mif/file_store.h"
#include "mif/model.h"
#include "mif/strings.h"
#include "mif/writer.h"

namespace mif {

namespace {

using headless::Kind;

// Top-level statements in the order the application writes them.
constexpr std::array<std::string_view, 22> kTopLevelOrder = {"Units",
                                                             "CharUnits",
                                                             "ColorCatalog",
                                                             "ConditionCatalog",
                                                             "BoolCondCatalog",
                                                             "CombinedFontCatalog",
                                                             "PgfCatalog",
                                                             "FontCatalog",
                                                             "RulingCatalog",
                                                             "TblCatalog",
                                                             "KumihanCatalog",
                                                             "Views",
                                                             "VariableFormats",
                                                             "MarkerTypeCatalog",
                                                             "XRefFormats",
                                                             "Document",
                                                             "BookComponent",
                                                             "InitialAutoNums",
                                                             "Dictionary",
                                                             "AFrames",
                                                             "Tbls",
                                                             "Page"};

std::size_t OrderOf(std::string_view token) {
  for (std::size_t i = 0; i < kTopLevelOrder.size(); ++i) {
    if (kTopLevelOrder[i] == token) return i;
  }
  return token == "TextFlow" ? kTopLevelOrder.size() : kTopLevelOrder.size() + 1;
}

// A paragraph statement names its format itself (PgfTag, or the PgfTag of
// its local Pgf).
bool NamesFormat(const Document& file, NodeId para) {
  const Tree& t = file.tree();
  if (t.findChild(para, "PgfTag") != kNoNode) return true;
  const NodeId pgf = t.findChild(para, "Pgf");
  return pgf != kNoNode && t.findChild(pgf, "PgfTag") != kNoNode;
}

// A paragraph that names no format takes the one of the paragraph before
// it in the file. Where that is no longer the paragraph's own format (the
// one before it changed, or is new), the paragraph names its format.
Status KeepInheritedTags(WriteContext& w) {
  // The model paragraph of each paragraph statement, found when the first
  // paragraph that names no format is met (a file may have none).
  std::unordered_map<NodeId, Id> paragraphOf;
  bool mapped = false;
  auto paragraphAt = [&](NodeId para) -> Id {
    if (!mapped) {
      mapped = true;
      for (Id id = 1; id < w.state.nodeOf.size(); ++id) {
        if (w.state.nodeOf[id] != kNoNode && w.doc.kind(id) == Kind::Paragraph) {
          paragraphOf.emplace(w.state.nodeOf[id], id);
        }
      }
    }
    auto it = paragraphOf.find(para);
    return it != paragraphOf.end() ? it->second : 0;
  };
  const Tree& t = w.tree;
  // The format in force: that of the last paragraph that named one, read
  // only when a paragraph that names none follows it.
  NodeId naming = kNoNode;
  std::string last;
  for (NodeId n = t.firstChild(t.root()); n != kNoNode;) {
    if (t.token(n) != "Para") {
      n = t.nextInSubtree(n, t.root());
      continue;
    }
    if (NamesFormat(w.file, n)) {
      naming = n;
    } else if (const Id p = paragraphAt(n); p != 0) {
      if (naming != kNoNode) {
        auto tag = w.file.childText(naming, "PgfTag");
        if (!tag) tag = w.file.childText(t.findChild(naming, "Pgf"), "PgfTag");
        last = tag.value_or("");
        naming = kNoNode;
      }
      const std::string own(w.doc.tag(p));
      if (own != last) {
        auto made = w.stringStatement("PgfTag", own);
        if (!made) return made.error();
        const NodeId unique = t.findChild(n, "Unique");
        if (unique != kNoNode) {
          w.tree.insertAfter(unique, *made);
        } else if (t.firstChild(n) != kNoNode) {
          w.tree.insertBefore(t.firstChild(n), *made);
        } else {
          w.tree.append(n, *made);
        }
        last = own;
      }
    }
    n = t.nextInSubtree(n, t.root(), true);
  }
  return Ok();
}

bool VisibilityChanged(const headless::Document& doc, const FileState& state) {
  if (doc.showAll() != state.showAll) return true;
  for (Id c : doc.all(headless::DocList::Conditions)) {
    const uint8_t now = doc.conditionShown(c) ? 2 : 1;
    const uint8_t then = c < state.shown.size() ? state.shown[c] : 0;
    // A tag made since then changes nothing already written.
    if (then != 0 && then != now) return true;
  }
  return false;
}

// A document made without a file starts from an empty one of the version
// this writer knows best.
FileState NewFileState() {
  auto parsed = ParseDocument(
      "<MIFFile 9.00> # Generated by the headless host\n"
      "<Units Uin>\n"
      "<Document \n <DNextUnique 1>\n> # end of Document\n",
      "new.mif");
  return FileState(std::move(parsed).value());
}

Status Update(const headless::Document& doc, FileState& state, bool withoutFile) {
  WriteContext w(doc, state);
  w.withoutFile = withoutFile;
  w.visibilityChanged = VisibilityChanged(doc, state);
  RemoveDeleted(w);
  if (Status s = WriteCatalogs(w); !s) return s;
  if (Status s = WriteLayout(w); !s) return s;
  if (Status s = WriteText(w); !s) return s;
  if (Status s = KeepInheritedTags(w); !s) return s;
  w.finishHiddenText();
  state.shown.assign(doc.idLimit(), 0);
  for (Id c : doc.all(headless::DocList::Conditions))
    state.shown[c] = doc.conditionShown(c) ? 2 : 1;
  state.showAll = doc.showAll();
  return Ok();
}

// The up-to-date file of a document: its own state, or for a document made
// without a file, `scratch`.
Result<const Document*> UpToDate(const headless::Document& doc, std::optional<FileState>& scratch) {
  FileState* state = StateOf(doc);
  if (!state) {
    scratch.emplace(NewFileState());
    state = &*scratch;
    state->file.setFileName(doc.path().empty() ? "new.mif" : doc.path());
  }
  if (Status s = Update(doc, *state, scratch.has_value()); !s) return s.error();
  return &state->file;
}

}  // namespace

WriteContext::WriteContext(const headless::Document& d, FileState& s)
    : doc(d), state(s), file(s.file), tree(s.file.tree()) {}

Error WriteContext::error(std::string message) const {
  return Error{file.fileName(), 0, 0, std::move(message)};
}

Status WriteContext::appendQuoted(std::string& out, std::string_view token,
                                  std::string_view text) const {
  if (Status s = AppendQuotedString(out, text, file.encoding()); !s) {
    return error("cannot write <" + std::string(token) + "> text in this MIF " +
                 file.versionText() + " file: " + s.error().message);
  }
  return Ok();
}

Result<NodeId> WriteContext::stringStatement(std::string_view token, std::string_view text) {
  // Quoted in a buffer kept from one statement to the next.
  quoted_.clear();
  if (Status s = appendQuoted(quoted_, token, text); !s) return s.error();
  return statement(token, quoted_);
}

Status WriteContext::setChildText(NodeId parent, std::string_view token, std::string_view text) {
  if (file.childText(parent, token) == std::string(text)) return Ok();
  auto quoted = file.quote(text);
  if (!quoted) {
    return error("cannot write <" + std::string(token) + "> text in this MIF " +
                 file.versionText() + " file: " + quoted.error().message);
  }
  file.setChildValue(parent, token, *quoted);
  return Ok();
}

void WriteContext::setChildWord(NodeId parent, std::string_view token, std::string_view word) {
  if (file.childKeyword(parent, token) == word) return;
  file.setChildValue(parent, token, word);
}

NodeId WriteContext::findTopLevel(std::string_view token) const {
  return tree.findChild(tree.root(), token);
}

NodeId WriteContext::topLevel(std::string_view token) {
  if (NodeId found = findTopLevel(token); found != kNoNode) return found;
  const NodeId made = container(token);
  const std::size_t order = OrderOf(token);
  for (NodeId n : tree.children(tree.root())) {
    if (n != file.header() && OrderOf(tree.token(n)) > order) {
      tree.insertBefore(n, made);
      return made;
    }
  }
  tree.append(tree.root(), made);
  return made;
}

bool WriteContext::hiddenThen(uint32_t attr) const {
  if (state.showAll || attr == 0) return false;
  bool any = false;
  for (Id c : doc.attr(attr).conditions) {
    const uint8_t then = c < state.shown.size() ? state.shown[c] : 0;
    if (then == 0) continue;
    any = true;
    if (then == 2) return false;
  }
  return any;
}

HiddenTextView& WriteContext::hidden() {
  if (!hiddenLoaded_) loadHidden();
  return hidden_;
}

void WriteContext::loadHidden() {
  hiddenLoaded_ = true;
  hidden_ = ReadHiddenText(file);
  for (std::size_t i = 0; i < hidden_.blocks.size(); ++i) {
    blockByNumber_.emplace(hidden_.blocks[i].number, i);
    for (NodeId p : hidden_.blocks[i].paragraphs) ++blocksOfParagraph_[p];
  }
}

void WriteContext::dropHiddenBlocks(NodeId para) {
  if (hidden().flow == kNoNode) return;
  for (NodeId line : tree.children(para)) {
    if (tree.token(line) != "ParaLine") continue;
    for (NodeId item : tree.children(line)) {
      if (tree.token(item) != "Marker") continue;
      if (file.childInteger(item, "MType") != kHiddenTextMarkerType) continue;
      const auto text = file.childText(item, "MText");
      const auto parsed = text ? ParseHiddenMarkerText(*text) : std::nullopt;
      if (!parsed || parsed->sign != '+') continue;
      auto it = blockByNumber_.find(parsed->number);
      if (it == blockByNumber_.end()) continue;
      HiddenBlock& block = hidden_.blocks[it->second];
      // A hidden paragraph another block still uses stays.
      for (NodeId p : block.paragraphs) {
        if (--blocksOfParagraph_[p] == 0 && tree.parent(p) == hidden_.flow) tree.detach(p);
      }
      block.paragraphs.clear();
      blockByNumber_.erase(it);
    }
  }
}

NodeId WriteContext::hiddenFlow() {
  if (hidden().flow != kNoNode) return hidden_.flow;
  const long long frameId = ids().nextObjectId();
  const NodeId page = container("Page");
  tree.append(page, uniqueStatement());
  tree.append(page, statement("PageType", "HiddenPage"));
  tree.append(page, statement("PageTag", "`HIDDEN'"));
  const NodeId rect = container("TextRect");
  tree.append(rect, statement("ID", std::to_string(frameId)));
  tree.append(rect, uniqueStatement());
  tree.append(rect, statement("ShapeRect", " 1.0\" 1.0\" 6.5\" 9.0\""));
  tree.append(rect, statement("TRNumColumns", "1"));
  tree.append(rect, statement("TRNext", "0"));
  tree.append(page, rect);
  NodeId lastPage = kNoNode, lastFlow = kNoNode;
  for (NodeId n : tree.children(tree.root())) {
    if (tree.token(n) == "Page") lastPage = n;
    if (tree.token(n) == "TextFlow") lastFlow = n;
  }
  if (lastPage != kNoNode) {
    tree.insertAfter(lastPage, page);
  } else {
    topLevel("Page");
    tree.insertBefore(findTopLevel("Page"), page);
    tree.detach(findTopLevel("Page"));
  }
  const NodeId flow = container("TextFlow");
  tree.append(flow, statement("TFTag", "`HIDDEN'"));
  tree.append(flow, container("Notes"));
  if (lastFlow != kNoNode) {
    tree.insertAfter(lastFlow, flow);
  } else {
    tree.append(tree.root(), flow);
  }
  hidden_.flow = flow;
  hidden_.page = page;
  return flow;
}

void WriteContext::finishHiddenText() {
  if (!hiddenLoaded_ || hidden_.flow == kNoNode) return;
  if (tree.findChild(hidden_.flow, "Para") != kNoNode) return;
  // Another flow tagged HIDDEN would become the hidden flow when the file
  // is read again, and its text would vanish: the empty one stays.
  for (NodeId n = tree.nextSibling(hidden_.flow); n != kNoNode; n = tree.nextSibling(n)) {
    if (tree.token(n) == "TextFlow" && file.childText(n, "TFTag") == "HIDDEN") return;
  }
  // No hidden text is left: the hidden flow and its page go.
  tree.detach(hidden_.flow);
  if (hidden_.page != kNoNode) tree.detach(hidden_.page);
}

Result<std::string> WriteModelDocument(const headless::Document& doc) {
  std::optional<FileState> scratch;
  auto file = UpToDate(doc, scratch);
  if (!file) return file.error();
  return WriteTree((*file)->tree());
}

Result<std::string> WriteModelDocument(const headless::Document& doc, const MadeParagraphs& made) {
  std::optional<FileState> scratch;
  auto file = UpToDate(doc, scratch);
  if (!file) return file.error();
  FileState& state = scratch ? *scratch : *StateOf(doc);
  WriteOptions options;
  std::vector<std::string> text;
  if (!made.empty()) {
    options.after = state.node(made.after);
    const Tree& tree = state.file.tree();
    if (options.after == kNoNode || tree.token(options.after) != "Para" ||
        tree.parent(tree.parent(options.after)) != tree.root()) {
      return Error{state.file.fileName(), 0, 0, "no paragraph of a flow to write paragraphs after"};
    }
    WriteContext w(doc, state);
    if (Status s = WriteMadeParagraphs(w, made, text); !s) return s.error();
    options.afterText = text;
  }
  return WriteTree(state.file.tree(), options);
}

Result<PendingSave> PrepareModelDocument(const headless::Document& doc, const std::string& path) {
  std::optional<FileState> scratch;
  auto file = UpToDate(doc, scratch);
  if (!file) {
    Error e = file.error();
    if (e.file.empty() || e.file == "new.mif") e.file = path;
    return e;
  }
  return PrepareMifFile(**file, path);
}

Status SaveModelDocument(const headless::Document& doc, const std::string& path) {
  auto pending = PrepareModelDocument(doc, path);
  if (!pending) return pending.error();
  return pending->commit();
}

}  // namespace mif
