// The plug-in's three callbacks. They do nothing yet: the menus, settings and
// dispatcher join them.
#include "host/client.h"

void F_ApiInitialize(int32_t /*initCode*/) {}
void F_ApiCommand(int32_t /*command*/) {}
void F_ApiNotify(int32_t /*notification*/, ObjectId /*doc*/, const char* /*text*/,
                 int32_t /*iparm*/) {}
