// Menus, commands and separators the clients define, and the notifications
// they ask for.
#include <algorithm>

#include "service/ops.h"

namespace headless::detail {

namespace {

bool IsMenu(const HostObject* o) {
  return o && o->type == MenuEntry::Type::Menu;
}

}  // namespace

ObjectId DefineMenu(ClientState& c, const char* tag, const char* label) {
  HostObject menu;
  menu.type = MenuEntry::Type::Menu;
  menu.tag = tag ? tag : "";
  menu.label = label ? label : "";
  menu.client = c.index;
  return c.host->addHostObject(std::move(menu));
}

ObjectId DefineAndAddMenu(ClientState& c, ObjectId toMenu, const char* tag, const char* label) {
  ObjectId menu = DefineMenu(c, tag, label);
  AddMenuToMenu(c, toMenu, menu);
  return menu;
}

ObjectId DefineAndAddCommand(ClientState& c, int32_t command, ObjectId toMenu, const char* tag,
                             const char* label, const char* shortcut) {
  HostObject cmd;
  cmd.type = MenuEntry::Type::Command;
  cmd.number = command;
  cmd.tag = tag ? tag : "";
  cmd.label = label ? label : "";
  cmd.shortcut = shortcut ? shortcut : "";
  cmd.client = c.index;
  ObjectId handle = c.host->addHostObject(std::move(cmd));
  AddCommandToMenu(c, toMenu, handle);
  return handle;
}

int32_t AddCommandToMenu(ClientState& c, ObjectId toMenu, ObjectId command) {
  HostState& h = *c.host;
  HostObject* menu = h.resolve(toMenu).object();
  HostObject* item = h.resolve(command).object();
  if (!IsMenu(menu) || !item || item->type == MenuEntry::Type::Menu) return -1;
  menu->items.push_back(command);
  item->attached = true;
  return 0;
}

int32_t AddMenuToMenu(ClientState& c, ObjectId toMenu, ObjectId menu) {
  HostState& h = *c.host;
  HostObject* to = h.resolve(toMenu).object();
  HostObject* sub = h.resolve(menu).object();
  if (!IsMenu(to) || !IsMenu(sub) || toMenu == menu) return -1;
  to->items.push_back(menu);
  sub->attached = true;
  return 0;
}

int32_t Notification(ClientState& c, int32_t notification, int32_t state) {
  c.notifications[notification] = state;
  std::vector<int32_t>& on = c.info.notifications;
  on.erase(std::remove(on.begin(), on.end(), notification), on.end());
  if (state != 0) on.push_back(notification);
  std::sort(on.begin(), on.end());
  return 0;
}

}  // namespace headless::detail
