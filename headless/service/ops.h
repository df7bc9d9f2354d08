// The host operations behind the service table, one function per entry.
#ifndef VELTRANO_HEADLESS_SERVICE_OPS_H
#define VELTRANO_HEADLESS_SERVICE_OPS_H

#include "service/common.h"

namespace headless::detail {

int32_t RegisterClient(ClientState& c, const VtrClientRegistration* reg);

// Properties
ObjectId GetId(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop);
void SetId(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop, ObjectId value);
int32_t GetInt(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop);
void SetInt(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop, int32_t value);
int32_t GetMetric(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop);
void GetString(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop, VtrStringSink sink,
               void* ctx);
void SetString(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop, const char* value);
void GetProps(ClientState& c, ObjectId doc, ObjectId obj, VtrPropSink sink, void* ctx);
void SetProps(ClientState& c, ObjectId doc, ObjectId obj, const VtrAbiPropVal* vals,
              uint32_t count);
TextRange GetTextRange(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop);
void SetTextRange(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop, const TextRange* range);
TextLoc GetTextLoc(ClientState& c, ObjectId doc, ObjectId obj, int32_t prop);

// Objects
ObjectId GetNamedObject(ClientState& c, ObjectId doc, int32_t type, const char* name);
ObjectId NewNamedObject(ClientState& c, ObjectId doc, int32_t type, const char* name);
ObjectId NewSeriesObject(ClientState& c, ObjectId doc, int32_t type, ObjectId prev);
ObjectId NewAnchoredObject(ClientState& c, ObjectId doc, int32_t type, const TextLoc* loc);
int32_t DeleteObject(ClientState& c, ObjectId doc, ObjectId obj);

// Text
void GetText(ClientState& c, ObjectId doc, ObjectId obj, int32_t flags, VtrTextItemSink sink,
             void* ctx);
void GetTextForRange(ClientState& c, ObjectId doc, const TextRange* range, int32_t flags,
                     VtrTextItemSink sink, void* ctx);
TextLoc AddText(ClientState& c, ObjectId doc, const TextLoc* loc, const char* text);
int32_t DeleteText(ClientState& c, ObjectId doc, const TextRange* range);
void GetTextPropVal(ClientState& c, ObjectId doc, const TextLoc* loc, int32_t prop,
                    VtrPropSink sink, void* ctx);
void SetTextPropVal(ClientState& c, ObjectId doc, const TextRange* range,
                    const VtrAbiPropVal* value);
void SetTextProps(ClientState& c, ObjectId doc, const TextRange* range, const VtrAbiPropVal* vals,
                  uint32_t count);

// Documents
ObjectId Open(ClientState& c, const char* path, const VtrAbiPropVal* script, uint32_t count,
              VtrPropSink returned, void* ctx);
int32_t Close(ClientState& c, ObjectId doc, int32_t flags);
ObjectId SimpleSave(ClientState& c, ObjectId doc, const char* path, int32_t interactive);
int32_t Redisplay(ClientState& c, ObjectId doc);

// Clipboard and function codes
int32_t PushClipboard(ClientState& c);
int32_t PopClipboard(ClientState& c);
int32_t Copy(ClientState& c, ObjectId doc, int32_t flags);
int32_t Paste(ClientState& c, ObjectId doc, int32_t flags);
int32_t Fcodes(ClientState& c, int32_t count, const int32_t* codes);

// Menus and notifications
ObjectId DefineMenu(ClientState& c, const char* tag, const char* label);
ObjectId DefineAndAddMenu(ClientState& c, ObjectId toMenu, const char* tag, const char* label);
ObjectId DefineAndAddCommand(ClientState& c, int32_t command, ObjectId toMenu, const char* tag,
                             const char* label, const char* shortcut);
int32_t AddCommandToMenu(ClientState& c, ObjectId toMenu, ObjectId command);
int32_t AddMenuToMenu(ClientState& c, ObjectId toMenu, ObjectId menu);
int32_t Notification(ClientState& c, int32_t notification, int32_t state);

// Dialogs
int32_t Alert(ClientState& c, const char* message, int32_t type);
int32_t PromptString(ClientState& c, VtrStringSink answer, void* ctx, const char* message,
                     const char* defaultAnswer);
int32_t ScrollBox(ClientState& c, int32_t* chosen, const char* title, const char* const* items,
                  uint32_t count, int32_t defaultItem);

// Records, text conversion and console
void RecordCount(ClientState& c, int32_t kind, int32_t delta);
void SetUnicodeMode(ClientState& c, int32_t on);
void PrepareTextConversion(ClientState& c);
void ConsolePrint(ClientState& c, const char* text);

}  // namespace headless::detail

#endif
