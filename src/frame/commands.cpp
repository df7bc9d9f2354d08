// The command table, written once: the menus, the dispatcher and the client
// calls all read it.
#include "frame/commands.h"

#include <iterator>

namespace frame {
namespace {

constexpr CommandDef kCommands[] = {
    {kCmdShowHideEntries, "ShowHideIndexEntries", "Show/Hide Index Entries", "\\!it"},
    {kCmdInsertStandardEntry, "InsertIdxEntry", "Standard Entry", "\\!ii"},
    {kCmdInsertStartRangeEntry, "InsertStartEntry", "Start Range Entry", "\\!is"},
    {kCmdInsertEndRangeEntry, "InsertEndEntry", "End Range Entry", "\\!ie"},
    {kCmdInsertNoPageEntry, "InsertNoPage", "No Page Entry", "\\!in"},
    {kCmdInsertNativeEntry, "InsertNative", "Native Entry", "\\!ix"},
    {kCmdInsertConditionalEntry, "InsertConditional", "Conditional Entry", "\\!ic"},
    {kCmdInsertAllMarkers, "InsertAllMarkers", "Insert All Markers", "\\!ia"},
    {kCmdInsertOneMarker, "InsertOneMarker", "Insert One Marker", "\\!i1"},
    {kCmdDeleteAllMarkers, "DeleteAllIndexMarkers", "Delete All Markers", "\\!da"},
    {kCmdDeleteParagraphMarkers, "DeleteParagraphIndexMarkers", "Delete One Marker", "\\!d1"},
    {kCmdExpandMarkers, "ExpandIndexMarkers", "Expand Existing Markers", ""},
    {kCmdMergeIndex, "VTRMergeIndex", "Merge Index", "\\!ME"},
    {kCmdAddContinueds, "VTRAddContinueds", "Add Continueds", "\\!AC"},
    {kCmdAbout, "VeltranoAbout", "About Veltrano...", ""},
    {kCmdUpdateAllMarkers, "UpdateAllMarkers", "Update All Markers", ""},
    {kCmdShowEntriesBook, "ShowIndexEntriesBook", "Show All Index Entries", ""},
    {kCmdHideEntriesBook, "HideIndexEntriesBook", "Hide All Index Entries", ""},
    {kCmdBuildMasterIndex, "BuildCompIndex", "Build Master Index", ""},
};

struct MessageDef {
  std::string_view message;
  CommandId command;
};

// Client-call names, in the order they are compared. The expansion command
// answers to "ExpandIndexMarkersInDoc", not to its menu tag.
constexpr MessageDef kMessages[] = {
    {"VeltranoAbout", kCmdAbout},
    {"VTRMergeIndex", kCmdMergeIndex},
    {"VTRAddContinueds", kCmdAddContinueds},
    {"InsertIdxEntry", kCmdInsertStandardEntry},
    {"InsertStartEntry", kCmdInsertStartRangeEntry},
    {"InsertEndEntry", kCmdInsertEndRangeEntry},
    {"InsertNoPage", kCmdInsertNoPageEntry},
    {"InsertNative", kCmdInsertNativeEntry},
    {"InsertConditional", kCmdInsertConditionalEntry},
    {"DeleteAllIndexMarkers", kCmdDeleteAllMarkers},
    {"DeleteParagraphIndexMarkers", kCmdDeleteParagraphMarkers},
    {"InsertAllMarkers", kCmdInsertAllMarkers},
    {"InsertOneMarker", kCmdInsertOneMarker},
    {"ExpandIndexMarkersInDoc", kCmdExpandMarkers},
    {"ShowHideIndexEntries", kCmdShowHideEntries},
    {"UpdateAllMarkers", kCmdUpdateAllMarkers},
    {"ShowIndexEntriesBook", kCmdShowEntriesBook},
    {"HideIndexEntriesBook", kCmdHideEntriesBook},
    {"BuildCompIndex", kCmdBuildMasterIndex},
};

}  // namespace

const CommandDef* FindCommand(int number) {
  for (const CommandDef& def : kCommands) {
    if (def.number == number) return &def;
  }
  return nullptr;
}

std::optional<CommandId> CommandForMessage(std::string_view message) {
  for (const MessageDef& def : kMessages) {
    if (def.message == message) return def.command;
  }
  return std::nullopt;
}

}  // namespace frame
