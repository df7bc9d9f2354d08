// Book files and the model's books. Each <BookComponent> is a component of
// the kind document (512): the MIF form of book folders and groups is not
// known, so the statements of such a file are kept as they are. Component
// properties and the statements they stand for:
//
//   20   FileName: the path, device-independent in the file, where a
//        relative one counts from the book file's folder; the full path in
//        the model. A book written elsewhere (another folder, --output)
//        gets each path rewritten so that it still names the same file.
//   531  DeriveType: generated-file type, TOC 1, LOF 2, LOT 3, LOP 4,
//        LOM 5, AML 6, IDX 7, IOM 8, IOP 9, APL 10, LOR 11, AUT 12, SUB 13,
//        IOR 14; 0 for an ordinary component
//   523  StartPageSide     524 PageNumbering   224 PageNumStart
//   225  PageNumStyle      525 PgfNumbering
//   211  VolNumComputeMethod      212 VolumeNumStart
//   213  VolumeNumStyle           214 VolumeNumText (the component's prefix text)
//   215  ChapterNumComputeMethod  216 ChapterNumStart
//   217  ChapterNumStyle          218 ChapterNumText
//   295  BFNoteComputeMethod      290 BFNoteStartNum
//   284  BFNoteNumStyle           285 BFNoteLabels
//   324  BTblFNoteComputeMethod   316 BTblFNoteNumStyle  317 BTblFNoteLabels
//   kPropGeneratedSuffix FileNameSuffix   kPropGeneratedLinks DeriveLinks
//   kPropGeneratedTags   DeriveTag (every one, in order)
//
// Keyword values are numbered in the order of these lists: page sides
// ReadFromFile, NextAvailableSide, StartLeftSide, StartRightSide;
// numbering Continue, Restart, ReadFromFile; compute methods
// ContinueNumbering, SameNumbering, StartNumbering, ReadFromFile; number
// styles Arabic 0, UCRoman 1, LCRoman 2, UCAlpha 3, LCAlpha 4, Text 11.
// A keyword outside these lists leaves its property unset and its
// statement as the file has it. Every other statement of a component stays
// in the file as it is.
#include <algorithm>
#include <array>

#include "mif/book.h"
#include "mif/file_store.h"
#include "mif/ids.h"
#include "mif/model.h"
#include "mif/writer.h"
#include "model/state.h"

namespace mif {

namespace {

using headless::Book;
using headless::Value;

struct Keyword {
  std::string_view word;
  int32_t value;
};

constexpr Keyword kSides[] = {
    {"ReadFromFile", 0}, {"NextAvailableSide", 1}, {"StartLeftSide", 2}, {"StartRightSide", 3}};
constexpr Keyword kNumbering[] = {{"Continue", 0}, {"Restart", 1}, {"ReadFromFile", 2}};
constexpr Keyword kCompute[] = {
    {"ContinueNumbering", 0}, {"SameNumbering", 1}, {"StartNumbering", 2}, {"ReadFromFile", 3}};
constexpr Keyword kStyles[] = {{"Arabic", 0},  {"UCRoman", 1}, {"LCRoman", 2},
                               {"UCAlpha", 3}, {"LCAlpha", 4}, {"Text", 11}};
constexpr Keyword kDerived[] = {{"TOC", 1},  {"LOF", 2},  {"LOT", 3},  {"LOP", 4}, {"LOM", 5},
                                {"AML", 6},  {"IDX", 7},  {"IOM", 8},  {"IOP", 9}, {"APL", 10},
                                {"LOR", 11}, {"AUT", 12}, {"SUB", 13}, {"IOR", 14}};

enum class Type { Int, String, Keywords, Boolean, Strings };

struct Mapping {
  int code;
  std::string_view token;
  Type type;
  const Keyword* words = nullptr;
  std::size_t count = 0;
};

template <std::size_t N>
constexpr Mapping Words(int code, std::string_view token, const Keyword (&words)[N]) {
  return Mapping{code, token, Type::Keywords, words, N};
}

const std::array<Mapping, 24> kMappings = {{
    Words(host::kPropGeneratedFileType, "DeriveType", kDerived),
    {headless::kPropGeneratedSuffix, "FileNameSuffix", Type::String},
    {headless::kPropGeneratedTags, "DeriveTag", Type::Strings},
    {headless::kPropGeneratedLinks, "DeriveLinks", Type::Boolean},
    Words(523, "StartPageSide", kSides),
    Words(524, "PageNumbering", kNumbering),
    {224, "PageNumStart", Type::Int},
    Words(225, "PageNumStyle", kStyles),
    Words(525, "PgfNumbering", kNumbering),
    Words(211, "VolNumComputeMethod", kCompute),
    {212, "VolumeNumStart", Type::Int},
    Words(213, "VolumeNumStyle", kStyles),
    {214, "VolumeNumText", Type::String},
    Words(215, "ChapterNumComputeMethod", kCompute),
    {216, "ChapterNumStart", Type::Int},
    Words(217, "ChapterNumStyle", kStyles),
    {218, "ChapterNumText", Type::String},
    Words(295, "BFNoteComputeMethod", kCompute),
    {290, "BFNoteStartNum", Type::Int},
    Words(284, "BFNoteNumStyle", kStyles),
    {285, "BFNoteLabels", Type::String},
    Words(324, "BTblFNoteComputeMethod", kCompute),
    Words(316, "BTblFNoteNumStyle", kStyles),
    {317, "BTblFNoteLabels", Type::String},
}};

// What the file says for one mapped property of a component.
std::optional<Value> FileValue(const Document& file, NodeId component, const Mapping& m) {
  const NodeId node = file.tree().findChild(component, m.token);
  if (node == kNoNode) return std::nullopt;
  switch (m.type) {
    case Type::Int:
      // A number beyond the property's range is not read (it stays as written).
      if (auto v = file.integer(node); v && *v >= INT32_MIN && *v <= INT32_MAX) {
        return Value::Int(static_cast<int32_t>(*v));
      }
      return std::nullopt;
    case Type::String:
      if (auto v = file.text(node)) return Value::String(*v);
      return std::nullopt;
    case Type::Boolean:
      if (auto v = file.boolean(node)) return Value::Int(*v ? 1 : 0);
      return std::nullopt;
    case Type::Strings:
      return Value::Strings(file.childTexts(component, m.token));
    case Type::Keywords: {
      const auto word = file.keyword(node);
      for (std::size_t i = 0; word && i < m.count; ++i) {
        if (m.words[i].word == *word) return Value::Int(m.words[i].value);
      }
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// The full path of the file a component statement names; `dir` is the full
// path of the book file's folder.
std::string ComponentPath(const Document& file, NodeId component, const std::string& dir) {
  const std::string device = file.childText(component, "FileName").value_or("");
  return device.empty() ? std::string() : FullPath(DevicePathToPath(device, dir));
}

// Points the component's FileName at the model's path, as seen from `dir`,
// unless it names that file already.
Status WriteComponentPath(FileState& state, const headless::Component& c, NodeId node,
                          const std::string& dir) {
  Document& file = state.file;
  Tree& t = file.tree();
  const std::string full = FullPath(c.path);
  if (ComponentPath(file, node, dir) == full) return Ok();
  auto quoted = file.quote(PathToDevicePath(full, dir));
  if (!quoted) return Error{file.fileName(), 0, 0, quoted.error().message};
  const NodeId name = t.findChild(node, "FileName");
  if (name == kNoNode) {
    const NodeId made = t.createStatement("FileName", *quoted);
    if (t.firstChild(node) != kNoNode) {
      t.insertBefore(t.firstChild(node), made);
    } else {
      t.append(node, made);
    }
  } else {
    t.setValue(name, *quoted);
  }
  return Ok();
}

// Makes the statements with `token` in `component` say `values`, one each,
// where the first of them stood (else at the end).
Status SetEvery(Document& file, NodeId component, std::string_view token,
                const std::vector<std::string>& values) {
  Tree& t = file.tree();
  NodeId place = t.findChild(component, token);
  NodeId after = kNoNode;
  if (place != kNoNode) after = t.previousSibling(place);
  for (NodeId n = place; n != kNoNode; n = t.findChild(component, token)) t.detach(n);
  for (const std::string& v : values) {
    auto quoted = file.quote(v);
    if (!quoted) return Error{file.fileName(), 0, 0, quoted.error().message};
    const NodeId made = t.createStatement(token, *quoted);
    if (after != kNoNode) {
      t.insertAfter(after, made);
    } else if (place != kNoNode && t.firstChild(component) != kNoNode) {
      t.insertBefore(t.firstChild(component), made);
    } else {
      t.append(component, made);
    }
    after = made;
  }
  return Ok();
}

Status WriteComponent(FileState& state, IdAllocator& ids, const Book& book, Id id) {
  Document& file = state.file;
  Tree& t = file.tree();
  NodeId node = state.node(id);
  const headless::Component& c = book.component(id);
  if (node == kNoNode) {
    node = t.createContainer("BookComponent");
    state.setNode(id, node);
    t.append(node, t.createStatement("Unique", std::to_string(ids.nextUnique())));
  }
  for (const Mapping& m : kMappings) {
    const Value* want = c.props.find(m.code);
    if (!want) continue;
    const auto have = FileValue(file, node, m);
    if (have && *have == *want) continue;
    if (m.type == Type::Strings) {
      if (Status s = SetEvery(file, node, m.token, want->strs); !s) return s;
      continue;
    }
    std::string raw;
    switch (m.type) {
      case Type::Strings:
        break;
      case Type::Boolean:
        raw = want->i != 0 ? "Yes" : "No";
        break;
      case Type::Int:
        raw = std::to_string(want->i);
        break;
      case Type::String: {
        auto quoted = file.quote(want->s);
        if (!quoted) return Error{file.fileName(), 0, 0, quoted.error().message};
        raw = *quoted;
        break;
      }
      case Type::Keywords:
        for (std::size_t i = 0; i < m.count; ++i) {
          if (m.words[i].value == want->i) raw = m.words[i].word;
        }
        break;
    }
    if (raw.empty()) continue;  // a value no keyword stands for
    file.setChildValue(node, m.token, raw);
  }
  return Ok();
}

// The book's file brought up to date with the model, for writing to
// `target`.
Result<const Document*> UpToDate(const Book& book, std::optional<FileState>& scratch,
                                 const std::string& target) {
  FileState* state = StateOf(book);
  if (!state) {
    auto parsed = ParseDocument("<Book 9.00> # Generated by the headless host\n",
                                book.path().empty() ? "new.book" : book.path());
    scratch.emplace(std::move(parsed).value());
    state = &*scratch;
  }
  Tree& t = state->file.tree();
  const std::string dir = FullDirectory(target.empty() ? state->file.fileName() : target);
  for (Id id = 2; id < state->nodeOf.size(); ++id) {
    const NodeId node = state->nodeOf[id];
    if (node != kNoNode && !book.isComponent(id)) {
      if (t.parent(node) != kNoNode) t.detach(node);
      state->nodeOf[id] = kNoNode;
    }
  }
  IdAllocator ids(state->file);
  std::vector<NodeId> order;
  for (Id id : book.components()) {
    if (state->node(id) == kNoNode || book.modified(id)) {
      if (Status s = WriteComponent(*state, ids, book, id); !s) return s.error();
    }
    // Every path, changed or not: the file may be written to another folder.
    const Status path = WriteComponentPath(*state, book.component(id), state->node(id), dir);
    if (!path) return path.error();
    order.push_back(state->node(id));
  }
  // The components in book order, where the file had its components.
  std::vector<NodeId> now;
  for (NodeId n : t.children(t.root())) {
    if (t.token(n) == "BookComponent") now.push_back(n);
  }
  if (now != order) {
    std::vector<NodeId> children;
    bool placed = false;
    for (NodeId n : t.children(t.root())) {
      if (t.token(n) == "BookComponent") {
        if (!placed) children.insert(children.end(), order.begin(), order.end());
        placed = true;
        continue;
      }
      children.push_back(n);
    }
    if (!placed) children.insert(children.end(), order.begin(), order.end());
    t.setChildren(t.root(), children);
  }
  return &state->file;
}

}  // namespace

Result<std::unique_ptr<headless::Book>> ReadModelBook(Document file) {
  if (file.kind() != FileKind::Book) {
    return Error{file.fileName(), 1, 1, "expected a MIF book (<Book>), found a document"};
  }
  auto book = std::make_unique<Book>();
  book->setExtension(std::make_unique<MifExtension>(FileState(std::move(file))));
  FileState& state = *StateOf(*book);
  const Document& f = state.file;
  const std::string dir = FullDirectory(f.fileName());
  for (const BookComponentView& view : ReadBookComponents(f)) {
    const Id id =
        book->appendComponent(0, host::kComponentDocument, ComponentPath(f, view.node, dir));
    for (const Mapping& m : kMappings) {
      if (auto v = FileValue(f, view.node, m)) book->setProp(id, m.code, std::move(*v));
    }
    book->setOrigin(id, static_cast<uint64_t>(view.node) + 1);
    state.setNode(id, view.node);
  }
  book->clearModified();
  return book;
}

Result<std::string> WriteModelBook(const headless::Book& book) {
  std::optional<FileState> scratch;
  auto file = UpToDate(book, scratch, book.path());
  if (!file) return file.error();
  return WriteTree((*file)->tree());
}

Result<PendingSave> PrepareModelBook(const headless::Book& book, const std::string& path) {
  std::optional<FileState> scratch;
  auto file = UpToDate(book, scratch, path);
  if (!file) return file.error();
  return PrepareMifFile(**file, path);
}

Status SaveModelBook(const headless::Book& book, const std::string& path) {
  auto pending = PrepareModelBook(book, path);
  if (!pending) return pending.error();
  return pending->commit();
}

}  // namespace mif
