// The client library: binds the host operations to the service object the host
// passes to F_ApiClientInit and turns the host's callbacks into calls of the
// plug-in's F_ApiInitialize, F_ApiCommand and F_ApiNotify.
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "host/api.h"
#include "host/client.h"

namespace {

const VtrHostService* gService = nullptr;

// Every entry of the table must be there for the client to use the host.
bool OffersAllOperations(const VtrHostService* s) {
  if (s->magic != VTR_SERVICE_MAGIC || s->abi_version != VTR_SERVICE_ABI_VERSION) return false;
  if (s->size < sizeof(VtrHostService)) return false;
  const auto* begin = reinterpret_cast<const unsigned char*>(&s->register_client);
  const auto* end = reinterpret_cast<const unsigned char*>(s) + sizeof(VtrHostService);
  for (const unsigned char* p = begin; p < end; p += sizeof(void (*)())) {
    void (*fn)() = nullptr;
    static_assert(sizeof(fn) == sizeof(s->get_id), "function pointers differ in size");
    std::memcpy(&fn, p, sizeof(fn));
    if (fn == nullptr) return false;
  }
  return true;
}

void InitializeTrampoline(int32_t code) {
  F_ApiInitialize(code);
}
void CommandTrampoline(int32_t command) {
  F_ApiCommand(command);
}
void NotifyTrampoline(int32_t notification, ObjectId doc, const char* text, int32_t iparm) {
  F_ApiNotify(notification, doc, text ? text : "", iparm);
}

void AppendToString(void* ctx, const char* data, uint32_t len) {
  static_cast<std::string*>(ctx)->append(data, len);
}

PropVal FromAbi(const VtrAbiPropVal& a) {
  PropVal pv;
  pv.prop = a.prop;
  pv.value.type = a.type;
  pv.value.ival = a.ival;
  if (a.sval) pv.value.sval = a.sval;
  if (a.ids) pv.value.ids.assign(a.ids, a.ids + a.ids_len);
  for (uint32_t i = 0; i < a.strs_len; ++i) pv.value.strs.emplace_back(a.strs[i]);
  pv.value.loc = a.loc;
  pv.value.range = a.range;
  return pv;
}

void AppendToPropList(void* ctx, const VtrAbiPropVal* value) {
  static_cast<PropList*>(ctx)->val.push_back(FromAbi(*value));
}

void StoreProp(void* ctx, const VtrAbiPropVal* value) {
  *static_cast<PropVal*>(ctx) = FromAbi(*value);
}

void AppendToItems(void* ctx, int32_t offset, int32_t type, const char* text, uint32_t len,
                   ObjectId obj) {
  TextItem item;
  item.offset = offset;
  item.type = type;
  if (text) item.text.assign(text, len);
  item.obj = obj;
  static_cast<TextItems*>(ctx)->val.push_back(std::move(item));
}

// Holds the C view of a property list for the length of one host call.
class AbiProps {
 public:
  explicit AbiProps(const std::vector<PropVal>& vals) {
    strs_.resize(vals.size());
    abi_.resize(vals.size());
    for (std::size_t i = 0; i < vals.size(); ++i) {
      const PropValue& v = vals[i].value;
      for (const std::string& s : v.strs) strs_[i].push_back(s.c_str());
      VtrAbiPropVal& a = abi_[i];
      a = VtrAbiPropVal{};
      a.prop = vals[i].prop;
      a.type = v.type;
      a.ival = v.ival;
      a.sval = v.sval.c_str();
      a.ids = v.ids.empty() ? nullptr : v.ids.data();
      a.ids_len = static_cast<uint32_t>(v.ids.size());
      a.strs = strs_[i].empty() ? nullptr : strs_[i].data();
      a.strs_len = static_cast<uint32_t>(strs_[i].size());
      a.loc = v.loc;
      a.range = v.range;
    }
  }
  const VtrAbiPropVal* data() const { return abi_.empty() ? nullptr : abi_.data(); }
  uint32_t size() const { return static_cast<uint32_t>(abi_.size()); }

 private:
  std::vector<std::vector<const char*>> strs_;
  std::vector<VtrAbiPropVal> abi_;
};

enum RecordKind { kRecordPropList = 1, kRecordPropVal = 2, kRecordTextItems = 3 };

void CountRecord(int kind, int delta) {
  if (gService) gService->record_count(gService->host, kind, delta);
}

}  // namespace

extern "C" VTR_EXPORT int32_t F_ApiClientInit(const VtrHostService* service) {
  if (service == nullptr || !OffersAllOperations(service)) return -1;
  uint32_t count = 0;
  const ClientIdentityEntry* identity = ClientIdentity(&count);
  std::vector<const char*> keys;
  std::vector<const char*> values;
  for (uint32_t i = 0; i < count; ++i) {
    keys.push_back(identity[i].key);
    values.push_back(identity[i].value);
  }
  VtrClientRegistration reg{};
  reg.size = sizeof(reg);
  reg.initialize = InitializeTrampoline;
  reg.command = CommandTrampoline;
  reg.notify = NotifyTrampoline;
  reg.identity_keys = keys.data();
  reg.identity_values = values.data();
  reg.identity_count = count;
  if (service->register_client(service->host, &reg) != 0) return -1;
  gService = service;
  return 0;
}

bool HostConnected() {
  return gService != nullptr;
}

#define VTR_HOST(call, fallback) (gService ? gService->call : fallback)
#define VTR_H gService->host

ObjectId F_ApiGetId(ObjectId docId, ObjectId objId, IntT prop) {
  return VTR_HOST(get_id(VTR_H, docId, objId, prop), 0);
}
void F_ApiSetId(ObjectId docId, ObjectId objId, IntT prop, ObjectId value) {
  if (gService) gService->set_id(VTR_H, docId, objId, prop, value);
}
IntT F_ApiGetInt(ObjectId docId, ObjectId objId, IntT prop) {
  return VTR_HOST(get_int(VTR_H, docId, objId, prop), 0);
}
void F_ApiSetInt(ObjectId docId, ObjectId objId, IntT prop, IntT value) {
  if (gService) gService->set_int(VTR_H, docId, objId, prop, value);
}
MetricT F_ApiGetMetric(ObjectId docId, ObjectId objId, IntT prop) {
  return VTR_HOST(get_metric(VTR_H, docId, objId, prop), 0);
}
std::string F_ApiGetString(ObjectId docId, ObjectId objId, IntT prop) {
  std::string out;
  if (gService) gService->get_string(VTR_H, docId, objId, prop, AppendToString, &out);
  return out;
}
void F_ApiSetString(ObjectId docId, ObjectId objId, IntT prop, const std::string& value) {
  if (gService) gService->set_string(VTR_H, docId, objId, prop, value.c_str());
}
PropList F_ApiGetProps(ObjectId docId, ObjectId objId) {
  PropList out;
  if (gService) {
    gService->get_props(VTR_H, docId, objId, AppendToPropList, &out);
    CountRecord(kRecordPropList, +1);
  }
  return out;
}
void F_ApiSetProps(ObjectId docId, ObjectId objId, const PropList& props) {
  if (!gService) return;
  AbiProps abi(props.val);
  gService->set_props(VTR_H, docId, objId, abi.data(), abi.size());
}
TextRange F_ApiGetTextRange(ObjectId docId, ObjectId objId, IntT prop) {
  return VTR_HOST(get_text_range(VTR_H, docId, objId, prop), (TextRange{{0, 0}, {0, 0}}));
}
void F_ApiSetTextRange(ObjectId docId, ObjectId objId, IntT prop, const TextRange& range) {
  if (gService) gService->set_text_range(VTR_H, docId, objId, prop, &range);
}
TextLoc F_ApiGetTextLoc(ObjectId docId, ObjectId objId, IntT prop) {
  return VTR_HOST(get_text_loc(VTR_H, docId, objId, prop), (TextLoc{0, 0}));
}

ObjectId F_ApiGetNamedObject(ObjectId docId, IntT objType, const std::string& name) {
  return VTR_HOST(get_named_object(VTR_H, docId, objType, name.c_str()), 0);
}
ObjectId F_ApiNewNamedObject(ObjectId docId, IntT objType, const std::string& name) {
  return VTR_HOST(new_named_object(VTR_H, docId, objType, name.c_str()), 0);
}
ObjectId F_ApiNewSeriesObject(ObjectId docId, IntT objType, ObjectId prevId) {
  return VTR_HOST(new_series_object(VTR_H, docId, objType, prevId), 0);
}
ObjectId F_ApiNewAnchoredObject(ObjectId docId, IntT objType, const TextLoc& loc) {
  return VTR_HOST(new_anchored_object(VTR_H, docId, objType, &loc), 0);
}
IntT F_ApiDelete(ObjectId docId, ObjectId objId) {
  return VTR_HOST(delete_object(VTR_H, docId, objId), 0);
}

TextItems F_ApiGetText(ObjectId docId, ObjectId objId, IntT flags) {
  TextItems out;
  if (gService) {
    gService->get_text(VTR_H, docId, objId, flags, AppendToItems, &out);
    CountRecord(kRecordTextItems, +1);
  }
  return out;
}
TextItems F_ApiGetTextForRange(ObjectId docId, const TextRange& range, IntT flags) {
  TextItems out;
  if (gService) {
    gService->get_text_for_range(VTR_H, docId, &range, flags, AppendToItems, &out);
    CountRecord(kRecordTextItems, +1);
  }
  return out;
}
TextLoc F_ApiAddText(ObjectId docId, const TextLoc& loc, const std::string& text) {
  return VTR_HOST(add_text(VTR_H, docId, &loc, text.c_str()), (TextLoc{0, 0}));
}
IntT F_ApiDeleteText(ObjectId docId, const TextRange& range) {
  return VTR_HOST(delete_text(VTR_H, docId, &range), 0);
}
PropVal F_ApiGetTextPropVal(ObjectId docId, const TextLoc& loc, IntT prop) {
  PropVal out;
  if (gService) {
    gService->get_text_prop_val(VTR_H, docId, &loc, prop, StoreProp, &out);
    CountRecord(kRecordPropVal, +1);
  }
  return out;
}
void F_ApiSetTextPropVal(ObjectId docId, const TextRange& range, const PropVal& value) {
  if (!gService) return;
  std::vector<PropVal> one{value};
  AbiProps abi(one);
  gService->set_text_prop_val(VTR_H, docId, &range, abi.data());
}
void F_ApiSetTextProps(ObjectId docId, const TextRange& range, const PropList& props) {
  if (!gService) return;
  AbiProps abi(props.val);
  gService->set_text_props(VTR_H, docId, &range, abi.data(), abi.size());
}

ObjectId F_ApiOpen(const std::string& path, const PropList& openScript, PropList* returned) {
  if (!gService) return 0;
  AbiProps abi(openScript.val);
  PropList ignored;
  PropList* sink = returned ? returned : &ignored;
  ObjectId doc =
      gService->open(VTR_H, path.c_str(), abi.data(), abi.size(), AppendToPropList, sink);
  CountRecord(kRecordPropList, +1);
  if (!returned) F_ApiDeallocatePropVals(&ignored);
  return doc;
}
IntT F_ApiClose(ObjectId docId, IntT flags) {
  return VTR_HOST(close(VTR_H, docId, flags), 0);
}
ObjectId F_ApiSimpleSave(ObjectId docId, const std::string& path, IntT interactive) {
  return VTR_HOST(simple_save(VTR_H, docId, path.c_str(), interactive), 0);
}
IntT F_ApiRedisplay(ObjectId docId) {
  return VTR_HOST(redisplay(VTR_H, docId), 0);
}

IntT F_ApiPushClipboard() {
  return VTR_HOST(push_clipboard(VTR_H), 0);
}
IntT F_ApiPopClipboard() {
  return VTR_HOST(pop_clipboard(VTR_H), 0);
}
IntT F_ApiCopy(ObjectId docId, IntT flags) {
  return VTR_HOST(copy(VTR_H, docId, flags), 0);
}
IntT F_ApiPaste(ObjectId docId, IntT flags) {
  return VTR_HOST(paste(VTR_H, docId, flags), 0);
}
IntT F_ApiFcodes(IntT count, const IntT* codes) {
  return VTR_HOST(fcodes(VTR_H, count, codes), 0);
}

ObjectId F_ApiDefineMenu(const std::string& tag, const std::string& label) {
  return VTR_HOST(define_menu(VTR_H, tag.c_str(), label.c_str()), 0);
}
ObjectId F_ApiDefineAndAddMenu(ObjectId toMenu, const std::string& tag, const std::string& label) {
  return VTR_HOST(define_and_add_menu(VTR_H, toMenu, tag.c_str(), label.c_str()), 0);
}
ObjectId F_ApiDefineAndAddCommand(IntT command, ObjectId toMenu, const std::string& tag,
                                  const std::string& label, const std::string& shortcut) {
  return VTR_HOST(
      define_and_add_command(VTR_H, command, toMenu, tag.c_str(), label.c_str(), shortcut.c_str()),
      0);
}
IntT F_ApiAddCommandToMenu(ObjectId toMenu, ObjectId command) {
  return VTR_HOST(add_command_to_menu(VTR_H, toMenu, command), 0);
}
IntT F_ApiAddMenuToMenu(ObjectId toMenu, ObjectId menu) {
  return VTR_HOST(add_menu_to_menu(VTR_H, toMenu, menu), 0);
}
IntT F_ApiNotification(IntT notification, IntT state) {
  return VTR_HOST(notification(VTR_H, notification, state), 0);
}

IntT F_ApiAlert(const std::string& message, IntT type) {
  return VTR_HOST(alert(VTR_H, message.c_str(), type), -1);
}
IntT F_ApiPromptString(std::string* answer, const std::string& message,
                       const std::string& defaultAnswer) {
  if (!gService) return -1;
  std::string out;
  IntT result =
      gService->prompt_string(VTR_H, AppendToString, &out, message.c_str(), defaultAnswer.c_str());
  if (answer) *answer = result == 0 ? out : std::string();
  return result;
}
IntT F_ApiScrollBox(IntT* chosen, const std::string& title, const StrList& items,
                    IntT defaultItem) {
  if (!gService) return -1;
  std::vector<const char*> ptrs;
  for (const std::string& s : items.val) ptrs.push_back(s.c_str());
  IntT index = -1;
  IntT result =
      gService->scroll_box(VTR_H, &index, title.c_str(), ptrs.empty() ? nullptr : ptrs.data(),
                           static_cast<uint32_t>(ptrs.size()), defaultItem);
  if (chosen) *chosen = index;
  return result;
}

PropList F_ApiAllocatePropVals(IntT count) {
  PropList list;
  if (count > 0) list.val.resize(static_cast<std::size_t>(count));
  CountRecord(kRecordPropList, +1);
  return list;
}
void F_ApiDeallocatePropVals(PropList* list) {
  if (!list) return;
  list->val.clear();
  CountRecord(kRecordPropList, -1);
}
void F_ApiDeallocatePropVal(PropVal* value) {
  if (!value) return;
  *value = PropVal{};
  CountRecord(kRecordPropVal, -1);
}
void F_ApiDeallocateTextItems(TextItems* items) {
  if (!items) return;
  items->val.clear();
  CountRecord(kRecordTextItems, -1);
}

void HostSetUnicodeMode(bool on) {
  if (gService) gService->set_unicode_mode(VTR_H, on ? 1 : 0);
}
void HostPrepareTextConversion() {
  if (gService) gService->prepare_text_conversion(VTR_H);
}
void HostConsolePrint(const std::string& text) {
  if (gService) gService->console_print(VTR_H, text.c_str());
}
