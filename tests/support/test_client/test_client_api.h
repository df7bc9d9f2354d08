// What the test client library offers the tests: the host operations as the
// plug-in calls them (through the same client library, in the same way), and
// hooks that run inside the client's callbacks.
#ifndef VELTRANO_TESTS_TEST_CLIENT_API_H
#define VELTRANO_TESTS_TEST_CLIENT_API_H

#include <functional>
#include <string>
#include <vector>

#include "host/api.h"

namespace vtrtest {

struct TestClientApi {
  decltype(&F_ApiGetId) GetId;
  decltype(&F_ApiSetId) SetId;
  decltype(&F_ApiGetInt) GetInt;
  decltype(&F_ApiSetInt) SetInt;
  decltype(&F_ApiGetMetric) GetMetric;
  decltype(&F_ApiGetString) GetString;
  decltype(&F_ApiSetString) SetString;
  decltype(&F_ApiGetProps) GetProps;
  decltype(&F_ApiSetProps) SetProps;
  decltype(&F_ApiGetTextRange) GetTextRange;
  decltype(&F_ApiSetTextRange) SetTextRange;
  decltype(&F_ApiGetTextLoc) GetTextLoc;
  decltype(&F_ApiGetNamedObject) GetNamedObject;
  decltype(&F_ApiNewNamedObject) NewNamedObject;
  decltype(&F_ApiNewSeriesObject) NewSeriesObject;
  decltype(&F_ApiNewAnchoredObject) NewAnchoredObject;
  decltype(&F_ApiDelete) Delete;
  decltype(&F_ApiGetText) GetText;
  decltype(&F_ApiGetTextForRange) GetTextForRange;
  decltype(&F_ApiAddText) AddText;
  decltype(&F_ApiDeleteText) DeleteText;
  decltype(&F_ApiGetTextPropVal) GetTextPropVal;
  decltype(&F_ApiSetTextPropVal) SetTextPropVal;
  decltype(&F_ApiSetTextProps) SetTextProps;
  decltype(&F_ApiOpen) Open;
  decltype(&F_ApiClose) Close;
  decltype(&F_ApiSimpleSave) SimpleSave;
  decltype(&F_ApiRedisplay) Redisplay;
  decltype(&F_ApiPushClipboard) PushClipboard;
  decltype(&F_ApiPopClipboard) PopClipboard;
  decltype(&F_ApiCopy) Copy;
  decltype(&F_ApiPaste) Paste;
  decltype(&F_ApiFcodes) Fcodes;
  decltype(&F_ApiDefineMenu) DefineMenu;
  decltype(&F_ApiDefineAndAddMenu) DefineAndAddMenu;
  decltype(&F_ApiDefineAndAddCommand) DefineAndAddCommand;
  decltype(&F_ApiAddCommandToMenu) AddCommandToMenu;
  decltype(&F_ApiAddMenuToMenu) AddMenuToMenu;
  decltype(&F_ApiNotification) Notification;
  decltype(&F_ApiAlert) Alert;
  decltype(&F_ApiPromptString) PromptString;
  decltype(&F_ApiScrollBox) ScrollBox;
  decltype(&F_ApiAllocatePropVals) AllocatePropVals;
  decltype(&F_ApiDeallocatePropVals) DeallocatePropVals;
  decltype(&F_ApiDeallocatePropVal) DeallocatePropVal;
  decltype(&F_ApiDeallocateTextItems) DeallocateTextItems;
  decltype(&HostSetUnicodeMode) SetUnicodeMode;
  decltype(&HostPrepareTextConversion) PrepareTextConversion;
  decltype(&HostConsolePrint) ConsolePrint;
  decltype(&host::ParagraphText) ParagraphText;
};

// What the client's callbacks do; the log records every call.
struct TestClientHooks {
  std::function<void(int32_t)> initialize;
  std::function<void(int32_t)> command;
  std::function<void(int32_t, ObjectId, const std::string&, int32_t)> notify;
  std::vector<std::string> log;
};

}  // namespace vtrtest

extern "C" {
using VtrTestClientApiFn = const vtrtest::TestClientApi* (*)();
using VtrTestClientHooksFn = vtrtest::TestClientHooks* (*)();
}

#endif
