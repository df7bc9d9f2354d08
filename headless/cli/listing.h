// What `veltrano commands` prints: the clients a host has loaded, with their
// identity, the notifications they asked for, and the menus and commands
// they defined, in menu order.
#ifndef VELTRANO_HEADLESS_CLI_LISTING_H
#define VELTRANO_HEADLESS_CLI_LISTING_H

#include <string>

#include "headless/host.h"

namespace headless {

std::string ListClients(const Host& host);

}  // namespace headless

#endif
