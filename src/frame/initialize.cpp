// Initialisation: on the first call the menus and commands are defined and
// attached to the host's menu bars and context menus, and the automatic index
// processing is asked for when "ProcessIndex" wants it; every call refreshes
// the start-up settings and asks for client messages.
#include <initializer_list>
#include <string>

#include "frame/commands.h"
#include "frame/settings.h"
#include "host/api.h"
#include "host/client.h"

namespace frame {
namespace {

ObjectId HostMenu(const char* name) {
  return F_ApiGetNamedObject(0, host::kObjMenu, name);
}

void AddSeparator(ObjectId menu, const char* name) {
  F_ApiAddCommandToMenu(menu, F_ApiGetNamedObject(0, host::kObjSeparator, name));
}

ObjectId AddCommand(ObjectId menu, CommandId number) {
  const CommandDef* def = FindCommand(number);
  return F_ApiDefineAndAddCommand(def->number, menu, def->tag, def->label, def->shortcut);
}

void AddCommands(ObjectId menu, std::initializer_list<CommandId> numbers) {
  for (CommandId number : numbers) AddCommand(menu, number);
}

void AttachToContextMenu(const char* contextMenu, ObjectId entryMenu) {
  ObjectId context = HostMenu(contextMenu);
  F_ApiAddCommandToMenu(context,
                        F_ApiNewNamedObject(0, host::kObjSeparator, "IndexContextSeparator1"));
  F_ApiAddMenuToMenu(context, entryMenu);
}

// The host calls are made in this exact order; results are not examined, so
// a host menu that does not exist only makes its own additions do nothing.
void BuildMenus() {
  ObjectId indexing = F_ApiDefineAndAddMenu(HostMenu("!MakerMainMenu"), "Veltrano", "Indexing");
  AddCommand(indexing, kCmdShowHideEntries);
  ObjectId entries = F_ApiDefineMenu("InsertIndexEntry", "Insert Index Entry");
  AddSeparator(indexing, "Separator1");
  AddCommands(entries, {kCmdInsertStandardEntry, kCmdInsertStartRangeEntry, kCmdInsertEndRangeEntry,
                        kCmdInsertNoPageEntry, kCmdInsertNativeEntry, kCmdInsertConditionalEntry});
  F_ApiAddMenuToMenu(indexing, entries);
  AttachToContextMenu("!TextContextMenu", entries);
  AttachToContextMenu("!TableTextContextMenu", entries);
  AddSeparator(indexing, "Separator2");

  ObjectId markers = F_ApiDefineMenu("IndexMarkers", "Index Markers");
  AddCommands(markers, {kCmdInsertAllMarkers, kCmdInsertOneMarker});
  AddSeparator(markers, "Separator3");
  AddCommands(markers, {kCmdDeleteAllMarkers, kCmdDeleteParagraphMarkers});
  AddSeparator(markers, "Separator4");
  AddCommand(markers, kCmdExpandMarkers);
  F_ApiAddMenuToMenu(indexing, markers);

  AddSeparator(indexing, "Separator5");
  AddCommands(indexing, {kCmdMergeIndex, kCmdAddContinueds});
  AddSeparator(indexing, "Separator6");
  ObjectId about = AddCommand(indexing, kCmdAbout);
  F_ApiAddMenuToMenu(HostMenu("!QuickMakerMainMenu"), indexing);

  ObjectId book = F_ApiDefineAndAddMenu(HostMenu("!BookMainMenu"), "Indexing", "Indexing");
  AddCommand(book, kCmdUpdateAllMarkers);
  AddSeparator(book, "Separator1");
  AddCommands(book, {kCmdShowEntriesBook, kCmdHideEntriesBook});
  AddSeparator(book, "Separator2");
  AddCommand(book, kCmdBuildMasterIndex);
  AddSeparator(book, "Separator3");
  F_ApiAddCommandToMenu(book, about);
}

bool AsksForAutomaticProcessing(const std::optional<std::string>& value) {
  return value && (*value == "True" || *value == "MergeOnly" || *value == "ContinuedLinesOnly");
}

}  // namespace
}  // namespace frame

void F_ApiInitialize(int32_t initCode) {
  if (initCode == host::kInitFirst) {
    if (frame::AsksForAutomaticProcessing(frame::GetSettingText("ProcessIndex"))) {
      F_ApiNotification(host::kNotifyPostGenerate, host::kNotificationOn);
    }
    frame::BuildMenus();
  }
  frame::ReadStartupSettings();
  F_ApiNotification(host::kNotifyClientMessage, host::kNotificationOn);
}
