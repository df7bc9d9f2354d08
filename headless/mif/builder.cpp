#include "mif/builder.h"

#include <string>

#include "mif/strings.h"

namespace mif {

std::optional<long long> StandardMarkerType(std::string_view name) {
  static constexpr std::string_view kNames[] = {
      "Header/Footer $1", "Header/Footer $2", "Index",     "Comment",   "Subject",         "Author",
      "Glossary",         "Equation",         "Hypertext", "Cross-Ref", "Conditional Text"};
  for (std::size_t i = 0; i < std::size(kNames); ++i) {
    if (kNames[i] == name) return static_cast<long long>(i);
  }
  if (name == "X-Ref") return 9;
  return std::nullopt;
}

NodeId Builder::statement(std::string_view token, std::string_view rawValue) {
  return doc_.tree().createStatement(token, rawValue);
}

NodeId Builder::container(std::string_view token) {
  return doc_.tree().createContainer(token);
}

Result<NodeId> Builder::string(std::string_view text) {
  auto quoted = doc_.quote(text);
  if (!quoted) return quoted.error();
  return statement("String", *quoted);
}

NodeId Builder::character(std::string_view name) {
  return statement("Char", name);
}

Result<NodeId> Builder::marker(std::string_view typeName, std::string_view text) {
  // Both texts quoted into one buffer: the text, then the type.
  std::string quoted;
  quoted.reserve(text.size() + typeName.size() + 8);
  if (Status s = AppendQuotedString(quoted, text, doc_.encoding()); !s) return s.error();
  const std::size_t textSize = quoted.size();
  if (Status s = AppendQuotedString(quoted, typeName, doc_.encoding()); !s) return s.error();
  const std::string_view quotedText = std::string_view(quoted).substr(0, textSize);
  const std::string_view quotedType = std::string_view(quoted).substr(textSize);
  Tree& t = doc_.tree();
  const NodeId m = container("Marker");
  const long long number = StandardMarkerType(typeName).value_or(kCustomMarkerType);
  t.append(m, statement("MType", std::to_string(number)));
  if (doc_.versionNumber() >= 5.5) t.append(m, statement("MTypeName", quotedType));
  t.append(m, statement("MText", quotedText));
  t.append(m, statement("Unique", std::to_string(ids_.nextUnique())));
  return m;
}

Result<NodeId> Builder::paragraph(std::string_view tag) {
  auto quoted = doc_.quote(tag);
  if (!quoted) return quoted.error();
  Tree& t = doc_.tree();
  const NodeId p = container("Para");
  t.append(p, statement("Unique", std::to_string(ids_.nextUnique())));
  t.append(p, statement("PgfTag", *quoted));
  t.append(p, container("ParaLine"));
  return p;
}

Result<NodeId> Builder::conditional(const std::vector<std::string>& tags) {
  Tree& t = doc_.tree();
  const NodeId c = container("Conditional");
  for (const std::string& tag : tags) {
    auto quoted = doc_.quote(tag);
    if (!quoted) return quoted.error();
    t.append(c, statement("InCondition", *quoted));
  }
  return c;
}

NodeId Builder::unconditional() {
  return statement("Unconditional", "");
}

}  // namespace mif
