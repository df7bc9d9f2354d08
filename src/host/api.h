// The host operations the plug-in calls. Each forwards to the host's service
// object that F_ApiClientInit received; before that (or when the host refused
// the connection) every operation reads as 0 or empty and changes nothing.
//
// Lists the host returns are owned by the caller as ordinary values; the
// F_ApiDeallocate* operations empty them and tell the host they are released.
#ifndef VELTRANO_HOST_API_H
#define VELTRANO_HOST_API_H

#include <cstdint>
#include <string>
#include <vector>

#include "host/codes.h"
#include "host/service_abi.h"

using IntT = int32_t;
using MetricT = int32_t;

struct PropValue {
  int type = 0;
  IntT ival = 0;  // integer, metric and id values
  std::string sval;
  std::vector<ObjectId> ids;
  std::vector<std::string> strs;
  TextLoc loc{0, 0};
  TextRange range{{0, 0}, {0, 0}};
};

struct PropVal {
  int prop = 0;
  PropValue value;
};

struct PropList {
  std::vector<PropVal> val;
};

struct TextItem {
  IntT offset = 0;
  int type = 0;
  std::string text;  // string items
  ObjectId obj = 0;  // anchors: the anchored object
};

struct TextItems {
  std::vector<TextItem> val;
};

struct StrList {
  std::vector<std::string> val;
};

// ---- Properties ----
ObjectId F_ApiGetId(ObjectId docId, ObjectId objId, IntT prop);
void F_ApiSetId(ObjectId docId, ObjectId objId, IntT prop, ObjectId value);
IntT F_ApiGetInt(ObjectId docId, ObjectId objId, IntT prop);
void F_ApiSetInt(ObjectId docId, ObjectId objId, IntT prop, IntT value);
MetricT F_ApiGetMetric(ObjectId docId, ObjectId objId, IntT prop);
std::string F_ApiGetString(ObjectId docId, ObjectId objId, IntT prop);
void F_ApiSetString(ObjectId docId, ObjectId objId, IntT prop, const std::string& value);
PropList F_ApiGetProps(ObjectId docId, ObjectId objId);
void F_ApiSetProps(ObjectId docId, ObjectId objId, const PropList& props);
TextRange F_ApiGetTextRange(ObjectId docId, ObjectId objId, IntT prop);
void F_ApiSetTextRange(ObjectId docId, ObjectId objId, IntT prop, const TextRange& range);
TextLoc F_ApiGetTextLoc(ObjectId docId, ObjectId objId, IntT prop);

// ---- Objects ----
ObjectId F_ApiGetNamedObject(ObjectId docId, IntT objType, const std::string& name);
ObjectId F_ApiNewNamedObject(ObjectId docId, IntT objType, const std::string& name);
ObjectId F_ApiNewSeriesObject(ObjectId docId, IntT objType, ObjectId prevId);
ObjectId F_ApiNewAnchoredObject(ObjectId docId, IntT objType, const TextLoc& loc);
IntT F_ApiDelete(ObjectId docId, ObjectId objId);

// ---- Text ----
TextItems F_ApiGetText(ObjectId docId, ObjectId objId, IntT flags);
TextItems F_ApiGetTextForRange(ObjectId docId, const TextRange& range, IntT flags);
TextLoc F_ApiAddText(ObjectId docId, const TextLoc& loc, const std::string& text);
IntT F_ApiDeleteText(ObjectId docId, const TextRange& range);
PropVal F_ApiGetTextPropVal(ObjectId docId, const TextLoc& loc, IntT prop);
void F_ApiSetTextPropVal(ObjectId docId, const TextRange& range, const PropVal& value);
void F_ApiSetTextProps(ObjectId docId, const TextRange& range, const PropList& props);

// ---- Documents ----
ObjectId F_ApiOpen(const std::string& path, const PropList& openScript, PropList* returned);
IntT F_ApiClose(ObjectId docId, IntT flags);
ObjectId F_ApiSimpleSave(ObjectId docId, const std::string& path, IntT interactive);
IntT F_ApiRedisplay(ObjectId docId);

// ---- Clipboard and function codes ----
IntT F_ApiPushClipboard();
IntT F_ApiPopClipboard();
IntT F_ApiCopy(ObjectId docId, IntT flags);
IntT F_ApiPaste(ObjectId docId, IntT flags);
IntT F_ApiFcodes(IntT count, const IntT* codes);

// ---- Menus and notifications ----
ObjectId F_ApiDefineMenu(const std::string& tag, const std::string& label);
ObjectId F_ApiDefineAndAddMenu(ObjectId toMenu, const std::string& tag, const std::string& label);
ObjectId F_ApiDefineAndAddCommand(IntT command, ObjectId toMenu, const std::string& tag,
                                  const std::string& label, const std::string& shortcut);
IntT F_ApiAddCommandToMenu(ObjectId toMenu, ObjectId command);
IntT F_ApiAddMenuToMenu(ObjectId toMenu, ObjectId menu);
IntT F_ApiNotification(IntT notification, IntT state);

// ---- Dialogs ----
// Returns kAlertAnswerOk (0) for OK, nonzero for Cancel.
IntT F_ApiAlert(const std::string& message, IntT type);
// Return 0 when the user answered, nonzero when they cancelled.
IntT F_ApiPromptString(std::string* answer, const std::string& message,
                       const std::string& defaultAnswer);
IntT F_ApiScrollBox(IntT* chosen, const std::string& title, const StrList& items, IntT defaultItem);

// ---- Host records ----
PropList F_ApiAllocatePropVals(IntT count);
void F_ApiDeallocatePropVals(PropList* list);
void F_ApiDeallocatePropVal(PropVal* value);
void F_ApiDeallocateTextItems(TextItems* items);

// ---- Client library: text conversion and console ----
// While Unicode mode is on, strings pass between client and host as UTF-8.
void HostSetUnicodeMode(bool on);
// Prepares the text conversion state for one callback.
void HostPrepareTextConversion();
void HostConsolePrint(const std::string& text);

// ---- Small helpers over the operations ----
namespace host {

// Paragraph text: the string items from offset 0 to the end of the object,
// joined in order. `hasText` (when given) tells whether any string item was
// there, since a paragraph without one has no text at all.
std::string ParagraphText(ObjectId doc, ObjectId paragraph, bool* hasText = nullptr);

// The last component of a path, without directories; both '\' and '/' count.
std::string FileNameOf(const std::string& path);

// Compares two paths with the letters A to Z alike in either case and every
// other byte exact.
bool SamePathIgnoringAsciiCase(const std::string& a, const std::string& b);

PropVal IntProp(int prop, IntT value);
PropVal IdsProp(int prop, std::vector<ObjectId> ids);

}  // namespace host

#endif
