// A small client library for the host's own tests. It is built and loaded
// like the plug-in (the same client library, one export F_ApiClientInit) and
// lets the tests make host calls and react to callbacks.
#include <string>

#include "host/client.h"
#include "test_client/test_client_api.h"

namespace {

vtrtest::TestClientHooks& Hooks() {
  static vtrtest::TestClientHooks hooks;
  return hooks;
}

const ClientIdentityEntry kIdentity[] = {
    {"ClientName", "Veltrano Test Client"},
    {"ClientType", "Standard"},
};

}  // namespace

const ClientIdentityEntry* ClientIdentity(uint32_t* count) {
  *count = sizeof(kIdentity) / sizeof(kIdentity[0]);
  return kIdentity;
}

void F_ApiInitialize(int32_t initCode) {
  Hooks().log.push_back("initialize " + std::to_string(initCode));
  if (Hooks().initialize) Hooks().initialize(initCode);
}

void F_ApiCommand(int32_t command) {
  Hooks().log.push_back("command " + std::to_string(command));
  if (Hooks().command) Hooks().command(command);
}

void F_ApiNotify(int32_t notification, ObjectId doc, const char* text, int32_t iparm) {
  Hooks().log.push_back("notify " + std::to_string(notification) + " " + (text ? text : ""));
  if (Hooks().notify) Hooks().notify(notification, doc, text ? text : "", iparm);
}

extern "C" VTR_EXPORT const vtrtest::TestClientApi* VtrTestClientApi() {
  static const vtrtest::TestClientApi api = {
      F_ApiGetId,
      F_ApiSetId,
      F_ApiGetInt,
      F_ApiSetInt,
      F_ApiGetMetric,
      F_ApiGetString,
      F_ApiSetString,
      F_ApiGetProps,
      F_ApiSetProps,
      F_ApiGetTextRange,
      F_ApiSetTextRange,
      F_ApiGetTextLoc,
      F_ApiGetNamedObject,
      F_ApiNewNamedObject,
      F_ApiNewSeriesObject,
      F_ApiNewAnchoredObject,
      F_ApiDelete,
      F_ApiGetText,
      F_ApiGetTextForRange,
      F_ApiAddText,
      F_ApiDeleteText,
      F_ApiGetTextPropVal,
      F_ApiSetTextPropVal,
      F_ApiSetTextProps,
      F_ApiOpen,
      F_ApiClose,
      F_ApiSimpleSave,
      F_ApiRedisplay,
      F_ApiPushClipboard,
      F_ApiPopClipboard,
      F_ApiCopy,
      F_ApiPaste,
      F_ApiFcodes,
      F_ApiDefineMenu,
      F_ApiDefineAndAddMenu,
      F_ApiDefineAndAddCommand,
      F_ApiAddCommandToMenu,
      F_ApiAddMenuToMenu,
      F_ApiNotification,
      F_ApiAlert,
      F_ApiPromptString,
      F_ApiScrollBox,
      F_ApiAllocatePropVals,
      F_ApiDeallocatePropVals,
      F_ApiDeallocatePropVal,
      F_ApiDeallocateTextItems,
      HostSetUnicodeMode,
      HostPrepareTextConversion,
      HostConsolePrint,
      host::ParagraphText,
  };
  return &api;
}

extern "C" VTR_EXPORT vtrtest::TestClientHooks* VtrTestClientHooks() {
  return &Hooks();
}
