// The plug-in's commands: numbers, tags, labels and shortcuts, and the
// message names other clients use for them.
#ifndef VELTRANO_FRAME_COMMANDS_H
#define VELTRANO_FRAME_COMMANDS_H

#include <optional>
#include <string_view>

namespace frame {

enum CommandId : int {
  kCmdMergeIndex = 1,
  kCmdAddContinueds = 2,
  kCmdDeleteAllMarkers = 3,
  kCmdDeleteParagraphMarkers = 4,
  kCmdInsertAllMarkers = 5,
  kCmdInsertStandardEntry = 6,
  kCmdInsertOneMarker = 7,
  kCmdExpandMarkers = 8,
  kCmdShowHideEntries = 9,
  kCmdUpdateAllMarkers = 10,
  kCmdBuildMasterIndex = 11,
  kCmdInsertStartRangeEntry = 12,
  kCmdInsertEndRangeEntry = 13,
  kCmdInsertNoPageEntry = 14,
  kCmdInsertNativeEntry = 15,
  kCmdShowEntriesBook = 16,
  kCmdHideEntriesBook = 17,
  kCmdInsertConditionalEntry = 18,
  kCmdAbout = 1000,
};

struct CommandDef {
  CommandId number;
  const char* tag;
  const char* label;
  const char* shortcut;  // "" for none
};

// The definition of a command number, or none for a number the plug-in does
// not define.
const CommandDef* FindCommand(int number);

// The command a client-call message names (exact, whole text), or none.
std::optional<CommandId> CommandForMessage(std::string_view message);

}  // namespace frame

#endif
