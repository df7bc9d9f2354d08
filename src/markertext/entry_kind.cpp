#include "markertext/entry_kind.h"

namespace markertext {

std::string_view EntryPrefix(EntryKind kind) {
  switch (kind) {
    case EntryKind::Standard:
      return ".i.";
    case EntryKind::StartRange:
      return ".i(.";
    case EntryKind::EndRange:
      return ".i).";
    case EntryKind::NoPage:
      return ".i#.";
    case EntryKind::Native:
      return ".i*.";
    case EntryKind::Conditional:
      break;
  }
  return "";
}

std::string_view PageCode(EntryKind kind) {
  switch (kind) {
    case EntryKind::Standard:
      return "<$singlepage>";
    case EntryKind::StartRange:
      return "<$startrange>";
    case EntryKind::EndRange:
      return "<$endrange>";
    case EntryKind::NoPage:
      return "<$nopage>";
    case EntryKind::Native:
    case EntryKind::Conditional:
      break;
  }
  return "";
}

}  // namespace markertext
