#include "mif/document.h"

#include "mif/parser.h"
#include "mif/references.h"

namespace mif {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "9.00", "10.0", "2015": digits, optionally a point and more digits.
bool IsVersion(std::string_view v) {
  std::size_t i = 0;
  while (i < v.size() && IsDigit(v[i])) ++i;
  if (i == 0) return false;
  if (i == v.size()) return true;
  if (v[i] != '.') return false;
  const std::size_t frac = ++i;
  while (i < v.size() && IsDigit(v[i])) ++i;
  return i == v.size() && i > frac;
}

Error NotMif(const std::string& file) {
  return Error{file, 1, 1,
               "not a MIF file: expected <MIFFile version> or <Book version> at the start"};
}

}  // namespace

Document::Document(Tree tree, FileKind kind, std::string versionText, std::string fileName)
    : tree_(std::move(tree)),
      kind_(kind),
      version_text_(std::move(versionText)),
      version_number_(ToNumber(version_text_).value_or(0)),
      file_name_(std::move(fileName)) {}

NodeId Document::header() const {
  return tree_.firstChild(tree_.root());
}

std::optional<std::string> Document::text(NodeId statement) const {
  if (statement == kNoNode) return std::nullopt;
  const auto raw = FirstString(tree_.rawValue(statement));
  if (!raw) return std::nullopt;
  auto decoded = DecodeString(*raw, encoding());
  if (!decoded) return std::nullopt;
  return std::move(decoded).value();
}

std::optional<long long> Document::integer(NodeId statement) const {
  if (statement == kNoNode) return std::nullopt;
  const auto word = FirstWord(tree_.rawValue(statement));
  return word ? ToInteger(*word) : std::nullopt;
}

std::optional<std::string_view> Document::keyword(NodeId statement) const {
  if (statement == kNoNode) return std::nullopt;
  return FirstWord(tree_.rawValue(statement));
}

std::optional<bool> Document::boolean(NodeId statement) const {
  const auto word = keyword(statement);
  return word ? ToBool(*word) : std::nullopt;
}

std::optional<std::string> Document::childText(NodeId parent, std::string_view token) const {
  return text(tree_.findChild(parent, token));
}
std::optional<long long> Document::childInteger(NodeId parent, std::string_view token) const {
  return integer(tree_.findChild(parent, token));
}
std::optional<std::string_view> Document::childKeyword(NodeId parent,
                                                       std::string_view token) const {
  return keyword(tree_.findChild(parent, token));
}
std::optional<bool> Document::childBoolean(NodeId parent, std::string_view token) const {
  return boolean(tree_.findChild(parent, token));
}

std::vector<Dimension> Document::childDimensions(NodeId parent, std::string_view token) const {
  const NodeId node = tree_.findChild(parent, token);
  if (node == kNoNode) return {};
  return ParseDimensions(tree_.rawValue(node));
}

std::vector<std::string> Document::childTexts(NodeId parent, std::string_view token) const {
  std::vector<std::string> out;
  for (NodeId c : tree_.children(parent)) {
    if (tree_.token(c) != token) continue;
    if (auto t = text(c)) out.push_back(std::move(*t));
  }
  return out;
}

NodeId Document::setChildValue(NodeId parent, std::string_view token, std::string_view value) {
  NodeId node = tree_.findChild(parent, token);
  if (node == kNoNode) {
    node = tree_.createStatement(token, value);
    tree_.append(parent, node);
  } else {
    tree_.setValue(node, value);
  }
  return node;
}

Error Document::errorAt(NodeId node, std::string message) const {
  const Position at = Locate(tree_.source(), tree_.sourceOffset(node));
  return Error{file_name_, at.line, at.column, std::move(message)};
}

Result<Document> ParseDocument(std::string text, std::string fileName) {
  std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::string_view rest = std::string_view(text).substr(start);
  FileKind kind;
  std::size_t after;
  if (rest.substr(0, 8) == "<MIFFile") {
    kind = FileKind::Document;
    after = 8;
  } else if (rest.substr(0, 5) == "<Book") {
    kind = FileKind::Book;
    after = 5;
  } else {
    return NotMif(fileName);
  }
  if (after < rest.size() && rest[after] != ' ' && rest[after] != '\t' && rest[after] != '>') {
    return NotMif(fileName);
  }
  std::size_t v = after;
  while (v < rest.size() && (rest[v] == ' ' || rest[v] == '\t')) ++v;
  std::size_t ve = v;
  while (ve < rest.size() && rest[ve] != '>' && rest[ve] != ' ' && rest[ve] != '\t' &&
         rest[ve] != '\n' && rest[ve] != '\r') {
    ++ve;
  }
  const std::string version(rest.substr(v, ve - v));
  if (!IsVersion(version)) {
    const Position at = Locate(text, start + v);
    return Error{fileName, at.line, at.column,
                 std::string("expected a version number after <") +
                     (kind == FileKind::Book ? "Book" : "MIFFile") + ", found '" + version + "'"};
  }
  if (ToNumber(version).value_or(0) >= 8.0) {
    const std::size_t bad = FindInvalidUtf8(text);
    if (bad != std::string_view::npos) {
      const Position at = Locate(text, bad);
      return Error{fileName, at.line, at.column,
                   "invalid UTF-8: a MIF " + version + " file must be UTF-8 text"};
    }
  }
  auto tree = ParseTree(std::move(text), fileName);
  if (!tree) return tree.error();
  Document doc(std::move(tree).value(), kind, version, std::move(fileName));
  if (Status refs = CheckReferences(doc); !refs) return refs.error();
  return doc;
}

}  // namespace mif
