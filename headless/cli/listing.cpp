#include "listing.h"

#include <set>

namespace headless {

namespace {

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// One item and, for menus, what is in them.
void ListEntry(const MenuEntry& e, int depth, std::string& out) {
  const std::string pad(static_cast<std::size_t>(depth) * 2, ' ');
  switch (e.type) {
    case MenuEntry::Type::Menu:
      out += pad + "Menu " + Quoted(e.tag) + " " + Quoted(e.label) + "\n";
      for (const MenuEntry& item : e.items) ListEntry(item, depth + 1, out);
      break;
    case MenuEntry::Type::Command:
      out +=
          pad + "Command " + std::to_string(e.number) + " " + Quoted(e.tag) + " " + Quoted(e.label);
      if (!e.shortcut.empty()) out += " " + e.shortcut;
      out += "\n";
      break;
    case MenuEntry::Type::Separator:
      out += pad + "Separator\n";
      break;
  }
}

void CollectCommands(const MenuEntry& e, std::set<ObjectId>& seen) {
  if (e.type == MenuEntry::Type::Command) seen.insert(e.handle);
  for (const MenuEntry& item : e.items) CollectCommands(item, seen);
}

}  // namespace

std::string ListClients(const Host& host) {
  std::string out;
  for (int i = 0; i < host.clientCount(); ++i) {
    const ClientInfo& info = host.client(i);
    out += "Client " + Quoted(info.name()) + "\n";
    for (const auto& [key, value] : info.identity) {
      if (key != "ClientName") out += "  " + key + ": " + value + "\n";
    }
    out += "  Notifications:";
    if (info.notifications.empty()) out += " none";
    for (int32_t n : info.notifications) {
      out += ' ';
      out += std::to_string(n);
    }
    out += "\n";
  }
  bool any = false;
  std::set<ObjectId> listed;
  for (const std::string& tag : host.hostMenus()) {
    MenuEntry menu = host.menu(tag);
    if (menu.items.empty()) continue;
    any = true;
    out += "Host menu " + Quoted(tag) + "\n";
    for (const MenuEntry& item : menu.items) ListEntry(item, 1, out);
    CollectCommands(menu, listed);
  }
  for (const MenuEntry& menu : host.detachedMenus()) {
    any = true;
    out += "Menu not in any menu\n";
    ListEntry(menu, 1, out);
    CollectCommands(menu, listed);
  }
  bool header = false;
  for (const MenuEntry& cmd : host.commands()) {
    if (listed.count(cmd.handle)) continue;
    if (!header) out += "Commands not in any menu\n";
    header = true;
    any = true;
    ListEntry(cmd, 1, out);
  }
  if (!any) out += "No menus or commands defined.\n";
  return out;
}

}  // namespace headless
