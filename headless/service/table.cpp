// The service table handed to a client: every entry filled, each forwarding
// to the host operation with the client it belongs to.
#include "service/ops.h"

namespace headless::detail {

VtrHostService MakeService(ClientState* client) {
  VtrHostService s{};
  s.magic = VTR_SERVICE_MAGIC;
  s.abi_version = VTR_SERVICE_ABI_VERSION;
  s.size = sizeof(VtrHostService);
  s.host = client;

  s.register_client = [](void* h, const VtrClientRegistration* reg) {
    return RegisterClient(Client(h), reg);
  };

  s.get_id = [](void* h, ObjectId d, ObjectId o, int32_t p) { return GetId(Client(h), d, o, p); };
  s.set_id = [](void* h, ObjectId d, ObjectId o, int32_t p, ObjectId v) {
    SetId(Client(h), d, o, p, v);
  };
  s.get_int = [](void* h, ObjectId d, ObjectId o, int32_t p) { return GetInt(Client(h), d, o, p); };
  s.set_int = [](void* h, ObjectId d, ObjectId o, int32_t p, int32_t v) {
    SetInt(Client(h), d, o, p, v);
  };
  s.get_metric = [](void* h, ObjectId d, ObjectId o, int32_t p) {
    return GetMetric(Client(h), d, o, p);
  };
  s.get_string = [](void* h, ObjectId d, ObjectId o, int32_t p, VtrStringSink sink, void* ctx) {
    GetString(Client(h), d, o, p, sink, ctx);
  };
  s.set_string = [](void* h, ObjectId d, ObjectId o, int32_t p, const char* v) {
    SetString(Client(h), d, o, p, v);
  };
  s.get_props = [](void* h, ObjectId d, ObjectId o, VtrPropSink sink, void* ctx) {
    GetProps(Client(h), d, o, sink, ctx);
  };
  s.set_props = [](void* h, ObjectId d, ObjectId o, const VtrAbiPropVal* v, uint32_t n) {
    SetProps(Client(h), d, o, v, n);
  };
  s.get_text_range = [](void* h, ObjectId d, ObjectId o, int32_t p) {
    return GetTextRange(Client(h), d, o, p);
  };
  s.set_text_range = [](void* h, ObjectId d, ObjectId o, int32_t p, const TextRange* r) {
    SetTextRange(Client(h), d, o, p, r);
  };
  s.get_text_loc = [](void* h, ObjectId d, ObjectId o, int32_t p) {
    return GetTextLoc(Client(h), d, o, p);
  };

  s.get_named_object = [](void* h, ObjectId d, int32_t t, const char* n) {
    return GetNamedObject(Client(h), d, t, n);
  };
  s.new_named_object = [](void* h, ObjectId d, int32_t t, const char* n) {
    return NewNamedObject(Client(h), d, t, n);
  };
  s.new_series_object = [](void* h, ObjectId d, int32_t t, ObjectId prev) {
    return NewSeriesObject(Client(h), d, t, prev);
  };
  s.new_anchored_object = [](void* h, ObjectId d, int32_t t, const TextLoc* loc) {
    return NewAnchoredObject(Client(h), d, t, loc);
  };
  s.delete_object = [](void* h, ObjectId d, ObjectId o) { return DeleteObject(Client(h), d, o); };

  s.get_text = [](void* h, ObjectId d, ObjectId o, int32_t f, VtrTextItemSink sink, void* ctx) {
    GetText(Client(h), d, o, f, sink, ctx);
  };
  s.get_text_for_range = [](void* h, ObjectId d, const TextRange* r, int32_t f,
                            VtrTextItemSink sink,
                            void* ctx) { GetTextForRange(Client(h), d, r, f, sink, ctx); };
  s.add_text = [](void* h, ObjectId d, const TextLoc* loc, const char* t) {
    return AddText(Client(h), d, loc, t);
  };
  s.delete_text = [](void* h, ObjectId d, const TextRange* r) {
    return DeleteText(Client(h), d, r);
  };
  s.get_text_prop_val = [](void* h, ObjectId d, const TextLoc* loc, int32_t p, VtrPropSink sink,
                           void* ctx) { GetTextPropVal(Client(h), d, loc, p, sink, ctx); };
  s.set_text_prop_val = [](void* h, ObjectId d, const TextRange* r, const VtrAbiPropVal* v) {
    SetTextPropVal(Client(h), d, r, v);
  };
  s.set_text_props = [](void* h, ObjectId d, const TextRange* r, const VtrAbiPropVal* v,
                        uint32_t n) { SetTextProps(Client(h), d, r, v, n); };

  s.open = [](void* h, const char* path, const VtrAbiPropVal* script, uint32_t n,
              VtrPropSink returned,
              void* ctx) { return Open(Client(h), path, script, n, returned, ctx); };
  s.close = [](void* h, ObjectId d, int32_t flags) { return Close(Client(h), d, flags); };
  s.simple_save = [](void* h, ObjectId d, const char* path, int32_t interactive) {
    return SimpleSave(Client(h), d, path, interactive);
  };
  s.redisplay = [](void* h, ObjectId d) { return Redisplay(Client(h), d); };

  s.push_clipboard = [](void* h) { return PushClipboard(Client(h)); };
  s.pop_clipboard = [](void* h) { return PopClipboard(Client(h)); };
  s.copy = [](void* h, ObjectId d, int32_t f) { return Copy(Client(h), d, f); };
  s.paste = [](void* h, ObjectId d, int32_t f) { return Paste(Client(h), d, f); };
  s.fcodes = [](void* h, int32_t n, const int32_t* codes) { return Fcodes(Client(h), n, codes); };

  s.define_menu = [](void* h, const char* tag, const char* label) {
    return DefineMenu(Client(h), tag, label);
  };
  s.define_and_add_menu = [](void* h, ObjectId to, const char* tag, const char* label) {
    return DefineAndAddMenu(Client(h), to, tag, label);
  };
  s.define_and_add_command = [](void* h, int32_t cmd, ObjectId to, const char* tag,
                                const char* label, const char* shortcut) {
    return DefineAndAddCommand(Client(h), cmd, to, tag, label, shortcut);
  };
  s.add_command_to_menu = [](void* h, ObjectId to, ObjectId cmd) {
    return AddCommandToMenu(Client(h), to, cmd);
  };
  s.add_menu_to_menu = [](void* h, ObjectId to, ObjectId menu) {
    return AddMenuToMenu(Client(h), to, menu);
  };
  s.notification = [](void* h, int32_t n, int32_t state) {
    return Notification(Client(h), n, state);
  };

  s.alert = [](void* h, const char* msg, int32_t type) { return Alert(Client(h), msg, type); };
  s.prompt_string = [](void* h, VtrStringSink sink, void* ctx, const char* msg, const char* def) {
    return PromptString(Client(h), sink, ctx, msg, def);
  };
  s.scroll_box = [](void* h, int32_t* chosen, const char* title, const char* const* items,
                    uint32_t n,
                    int32_t def) { return ScrollBox(Client(h), chosen, title, items, n, def); };

  s.record_count = [](void* h, int32_t kind, int32_t delta) {
    RecordCount(Client(h), kind, delta);
  };
  s.set_unicode_mode = [](void* h, int32_t on) { SetUnicodeMode(Client(h), on); };
  s.prepare_text_conversion = [](void* h) { PrepareTextConversion(Client(h)); };
  s.console_print = [](void* h, const char* text) { ConsolePrint(Client(h), text); };
  return s;
}

}  // namespace headless::detail
