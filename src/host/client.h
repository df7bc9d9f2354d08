// What the client library needs from the plug-in: its three callbacks and
// its identity strings, and the export the host calls when it loads it.
#ifndef VELTRANO_HOST_CLIENT_H
#define VELTRANO_HOST_CLIENT_H

#include <cstdint>

#include "host/service_abi.h"

#if defined(_WIN32)
#define VTR_EXPORT __declspec(dllexport)
#else
#define VTR_EXPORT __attribute__((visibility("default")))
#endif

// The plug-in's callbacks, called by the client library on the host's thread.
void F_ApiInitialize(int32_t initCode);
void F_ApiCommand(int32_t command);
void F_ApiNotify(int32_t notification, ObjectId doc, const char* text, int32_t iparm);

struct ClientIdentityEntry {
  const char* key;
  const char* value;
};

// The identity strings of the plug-in's version record, registered with the host.
const ClientIdentityEntry* ClientIdentity(uint32_t* count);

extern "C" VTR_EXPORT int32_t F_ApiClientInit(const VtrHostService* service);

// True once F_ApiClientInit has connected to a host.
bool HostConnected();

#endif
