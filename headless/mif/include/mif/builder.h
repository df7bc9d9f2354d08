// Making new statements the way the application writes them: paragraphs
// with a Unique and a PgfTag, lines, strings, characters and markers.
#ifndef VELTRANO_MIF_BUILDER_H
#define VELTRANO_MIF_BUILDER_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mif/document.h"
#include "mif/ids.h"

namespace mif {

// The number of a standard marker type ("Index" is 2), or none for a custom
// type.
std::optional<long long> StandardMarkerType(std::string_view typeName);

// The number the application gives custom marker types.
inline constexpr long long kCustomMarkerType = 25;

class Builder {
 public:
  Builder(Document& doc, IdAllocator& ids) : doc_(doc), ids_(ids) {}

  // <Token value> and an empty <Token ...> container; detached.
  NodeId statement(std::string_view token, std::string_view rawValue);
  NodeId container(std::string_view token);

  // <String `text'>; fails on text the file's encoding cannot hold.
  Result<NodeId> string(std::string_view text);
  // <Char Name>
  NodeId character(std::string_view name);
  // <Marker <MType n> <MTypeName `type'> <MText `text'> <Unique n>>. Files
  // older than 5.5 name marker types by number only: no MTypeName there.
  Result<NodeId> marker(std::string_view typeName, std::string_view text);
  // <Para <Unique n> <PgfTag `tag'> <ParaLine >>: a new paragraph always
  // names its format, because a paragraph without one takes the format of
  // the paragraph before it.
  Result<NodeId> paragraph(std::string_view tag);
  // <Conditional <InCondition `tag'>...> and <Unconditional >.
  Result<NodeId> conditional(const std::vector<std::string>& tags);
  NodeId unconditional();

 private:
  Document& doc_;
  IdAllocator& ids_;
};

}  // namespace mif

#endif
