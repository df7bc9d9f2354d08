#include "markertext/insert_entry.h"

#include <optional>
#include <string>

#include "frame/entry_names.h"
#include "frame/settings.h"

namespace markertext {
namespace {

constexpr const char* kNoRoomAlert = "An entry cannot be inserted at this location";
constexpr const char* kChooseConditionTitle = "Choose a condition";
// Where the chosen condition name goes in ".i[].;".
constexpr IntT kConditionNameOffset = 3;
constexpr IntT kBeforeFinalCharacter = host::kOffsetEndOfText - 1;

const char* TemplateFor(EntryKind kind) {
  switch (kind) {
    case EntryKind::Standard:
      return ".i.;";
    case EntryKind::StartRange:
      return ".i(.;";
    case EntryKind::EndRange:
      return ".i).;";
    case EntryKind::NoPage:
      return ".i#.;";
    case EntryKind::Native:
      return ".i*.;";
    case EntryKind::Conditional:
      return ".i[].;";
  }
  return ".i.;";
}

ObjectId Previous(ObjectId doc, ObjectId p) {
  return F_ApiGetId(doc, p, host::kPropPrevParagraph);
}
ObjectId Next(ObjectId doc, ObjectId p) {
  return F_ApiGetId(doc, p, host::kPropNextParagraph);
}
bool IsRunIn(ObjectId doc, ObjectId p) {
  return p != 0 && F_ApiGetInt(doc, p, host::kPropPlacement) == host::kPlacementRunIn;
}
bool IsEntry(ObjectId doc, ObjectId p) {
  return F_ApiGetString(doc, p, host::kPropName) == frame::kEntryFormatName;
}

void SetInsertionPoint(ObjectId doc, ObjectId p, IntT offset) {
  F_ApiSetTextRange(0, doc, host::kPropTextSelection, {{p, offset}, {p, offset}});
}

// A line break at the end of p's text makes an empty paragraph after it.
ObjectId EmptyParagraphAfter(ObjectId doc, ObjectId p) {
  SetInsertionPoint(doc, p, host::kOffsetEndOfText);
  F_ApiAddText(doc, {p, host::kOffsetEndOfText}, "\n");
  return Next(doc, p);
}

// A line break at the start of p leaves p empty, its text moved on after it.
ObjectId EmptyParagraphInPlaceOf(ObjectId doc, ObjectId p) {
  SetInsertionPoint(doc, p, 0);
  F_ApiAddText(doc, {p, 0}, "\n");
  return p;
}

ObjectId EnsureIndexCondition(ObjectId doc, ObjectId blue) {
  ObjectId condition = F_ApiGetNamedObject(doc, host::kObjCondition, frame::kIndexConditionName);
  if (condition != 0) {
    F_ApiSetInt(doc, condition, host::kPropConditionShown, 1);
    return condition;
  }
  condition = F_ApiNewNamedObject(doc, host::kObjCondition, frame::kIndexConditionName);
  if (blue != 0) F_ApiSetId(doc, condition, host::kPropConditionColor, blue);
  return condition;
}

ObjectId EnsureEntryFormat(ObjectId doc, ObjectId blue) {
  ObjectId format = F_ApiGetNamedObject(doc, host::kObjParagraphFormat, frame::kEntryFormatName);
  if (format != 0) return format;
  format = F_ApiNewNamedObject(doc, host::kObjParagraphFormat, frame::kEntryFormatName);
  F_ApiSetInt(doc, format, host::kPropFormat564, 0);
  F_ApiSetInt(doc, format, host::kPropFormat547, 1);
  if (blue != 0) F_ApiSetId(doc, format, host::kPropFormatColor, blue);
  return format;
}

// The names of the document's first condition tags, in the document's order;
// a name past the list's room is never read, so it cannot be written anywhere.
StrList ConditionNames(ObjectId doc) {
  StrList names;
  for (ObjectId c = F_ApiGetId(0, doc, host::kPropFirstConditionInDoc);
       c != 0 && names.val.size() < kMaxConditionChoices;
       c = F_ApiGetId(doc, c, host::kPropNextCondition)) {
    names.val.push_back(F_ApiGetString(doc, c, host::kPropName));
  }
  return names;
}

std::optional<std::string> ChooseCondition(ObjectId doc) {
  StrList names = ConditionNames(doc);
  IntT chosen = -1;
  if (F_ApiScrollBox(&chosen, kChooseConditionTitle, names, -1) != 0) return std::nullopt;
  if (chosen < 0 || static_cast<std::size_t>(chosen) >= names.val.size()) return std::nullopt;
  return names.val[static_cast<std::size_t>(chosen)];
}

ObjectId MakeBefore(ObjectId doc, ObjectId current) {
  ObjectId previous = Previous(doc, current);
  if (IsRunIn(doc, current)) {
    return previous != 0 ? EmptyParagraphAfter(doc, previous) : 0;
  }
  if (IsRunIn(doc, previous)) {
    ObjectId beforePrevious = Previous(doc, previous);
    return beforePrevious != 0 ? EmptyParagraphAfter(doc, beforePrevious) : 0;
  }
  return EmptyParagraphInPlaceOf(doc, current);
}

// After `current` and the entry paragraphs that already follow it: the first
// paragraph that is not one is split at its start; when they run to the end
// of the chain, a paragraph is added after the last of them.
ObjectId AfterFollowingEntries(ObjectId doc, ObjectId current) {
  ObjectId last = current;
  ObjectId p = Next(doc, current);
  while (p != 0 && IsEntry(doc, p)) {
    last = p;
    p = Next(doc, p);
  }
  return p != 0 ? EmptyParagraphInPlaceOf(doc, p) : EmptyParagraphAfter(doc, last);
}

ObjectId MakeAfter(ObjectId doc, ObjectId current) {
  ObjectId next = Next(doc, current);
  if (next == 0 || IsRunIn(doc, next)) return EmptyParagraphAfter(doc, current);
  if (IsRunIn(doc, current)) return EmptyParagraphAfter(doc, next);
  return AfterFollowingEntries(doc, current);
}

bool PlacesEntriesBefore(ObjectId doc) {
  return frame::StartupSettings().indexEntryLocation == 1 ||
         F_ApiGetId(0, doc, host::kPropSelectedTable) != 0;
}

ObjectId MakeEntryParagraph(ObjectId doc, ObjectId current, EntrySide side) {
  switch (side) {
    case EntrySide::kDirectlyBefore:
      return EmptyParagraphInPlaceOf(doc, current);
    case EntrySide::kDirectlyAfter:
      return AfterFollowingEntries(doc, current);
    case EntrySide::kAsConfigured:
      break;
  }
  return PlacesEntriesBefore(doc) ? MakeBefore(doc, current) : MakeAfter(doc, current);
}

}  // namespace

ObjectId InsertEntryParagraph(ObjectId doc, EntryKind kind, EntrySide side) {
  ObjectId blue = F_ApiGetNamedObject(doc, host::kObjColor, "Blue");
  ObjectId condition = EnsureIndexCondition(doc, blue);
  ObjectId format = EnsureEntryFormat(doc, blue);

  std::optional<std::string> conditionName;
  if (kind == EntryKind::Conditional) {
    conditionName = ChooseCondition(doc);
    if (!conditionName) return 0;
  }

  ObjectId current = F_ApiGetTextRange(0, doc, host::kPropTextSelection).beg.obj;
  if (current == 0) return 0;
  ObjectId entry = MakeEntryParagraph(doc, current, side);
  if (entry == 0) {
    F_ApiAlert(kNoRoomAlert, host::kAlertWarning);
    return 0;
  }

  SetInsertionPoint(doc, entry, 0);
  F_ApiAddText(doc, {entry, 0}, TemplateFor(kind));
  if (conditionName) F_ApiAddText(doc, {entry, kConditionNameOffset}, *conditionName);

  PropList props = F_ApiGetProps(doc, format);
  F_ApiSetProps(doc, entry, props);
  F_ApiDeallocatePropVals(&props);

  const TextRange whole{{entry, 0}, {entry, host::kOffsetEndOfObject}};
  F_ApiSetTextRange(0, doc, host::kPropTextSelection, whole);
  const IntT codes[] = {host::kFcode621};
  F_ApiFcodes(1, codes);
  F_ApiSetTextPropVal(doc, whole, host::IdsProp(host::kPropTextConditions, {condition}));
  SetInsertionPoint(doc, entry, kBeforeFinalCharacter);
  return entry;
}

}  // namespace markertext
