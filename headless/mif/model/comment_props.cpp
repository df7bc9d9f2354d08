#include "model/comment_props.h"

#include <charconv>
#include <optional>
#include <string>

#include "host/codes.h"

namespace mif {

namespace {

constexpr std::string_view kPrefix = "# host properties without a MIF statement:";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text after the prefix up to the end of the line, if the head of
// `statement` is this comment; `other` tells whether it holds anything else.
std::optional<std::string_view> CommentOf(const Tree& t, NodeId statement, bool* other) {
  const std::string_view head = t.value(statement);
  *other = false;
  if (head.empty()) return std::nullopt;
  if (head.substr(0, kPrefix.size()) != kPrefix) {
    *other = true;
    return std::nullopt;
  }
  std::string_view rest = head.substr(kPrefix.size());
  const std::size_t nl = rest.find('\n');
  if (nl != std::string_view::npos) {
    // A head of several lines is not ours alone.
    for (char c : rest.substr(nl)) *other = *other || !IsBlank(c);
    rest = rest.substr(0, nl);
  }
  return rest;
}

bool Kept(int code, const headless::Value& value, bool (*mapped)(int)) {
  return code >= 0 && code != host::kPropName && value.type == host::kValueInt && !mapped(code);
}

}  // namespace

headless::PropMap ReadCommentProps(const Document& file, NodeId statement) {
  headless::PropMap out;
  if (statement == kNoNode) return out;
  bool other = false;
  const auto comment = CommentOf(file.tree(), statement, &other);
  if (!comment) return out;
  std::string_view rest = *comment;
  while (!rest.empty()) {
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    std::size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    const std::string_view pair = rest.substr(0, end);
    rest.remove_prefix(end);
    const std::size_t eq = pair.find('=');
    if (eq == std::string_view::npos) continue;
    int code = 0;
    int32_t value = 0;
    const char* codeEnd = pair.data() + eq;
    const char* valueEnd = pair.data() + pair.size();
    const auto c = std::from_chars(pair.data(), codeEnd, code);
    const auto v = std::from_chars(codeEnd + 1, valueEnd, value);
    // A pair that does not read whole is passed over.
    if (c.ec != std::errc() || c.ptr != codeEnd || v.ec != std::errc() || v.ptr != valueEnd ||
        code < 0) {
      continue;
    }
    out.set(code, headless::Value::Int(value));
  }
  return out;
}

void WriteCommentProps(Document& file, NodeId statement, const headless::PropMap& props,
                       bool (*mapped)(int code)) {
  headless::PropMap want;
  for (const auto& [code, value] : props) {
    if (Kept(code, value, mapped)) want.set(code, value);
  }
  Tree& t = file.tree();
  bool other = false;
  const auto comment = CommentOf(t, statement, &other);
  if (other) return;
  if (comment ? ReadCommentProps(file, statement) == want : want.empty()) return;
  std::string text;
  if (!want.empty()) {
    text = kPrefix;
    for (const auto& [code, value] : want) {
      text += ' ';
      text += std::to_string(code);
      text += '=';
      text += std::to_string(value.i);
    }
    // The comment runs to the end of the line: the sub-statements go on the
    // next one, also for a statement that was written on one line.
    if (t.rawValue(statement).find('\n') == std::string_view::npos) text += '\n';
  }
  t.setValue(statement, text);
}

}  // namespace mif
