// The binary interface between the host application and a client library.
//
// The host hands a client its service object (a table of C function pointers)
// when it calls the client's only export, F_ApiClientInit. Every host operation
// the client makes goes through that table; the client registers its callbacks
// and identity strings back through it.
//
// Only C types cross this boundary. Data the host returns is delivered through
// sink callbacks into memory the client owns, so no allocation ever crosses
// the boundary and the two sides may use different runtimes. Strings are
// NUL-terminated UTF-8.
#ifndef VELTRANO_HOST_SERVICE_ABI_H
#define VELTRANO_HOST_SERVICE_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VTR_SERVICE_MAGIC 0x56545248u /* "VTRH" */
#define VTR_SERVICE_ABI_VERSION 1u

typedef uint32_t ObjectId;

/* A position in text: a paragraph (or other text object) and an offset. */
typedef struct TextLoc {
  ObjectId obj;
  int32_t offset;
} TextLoc;

typedef struct TextRange {
  TextLoc beg;
  TextLoc end;
} TextRange;

/* One property value as it crosses the boundary. Only the members that the
   value type uses are meaningful; the others are zero. */
typedef struct VtrAbiPropVal {
  int32_t prop;
  int32_t type;
  int32_t ival; /* integer, metric and id values */
  const char* sval;
  const ObjectId* ids;
  uint32_t ids_len;
  const char* const* strs;
  uint32_t strs_len;
  TextLoc loc;
  TextRange range;
} VtrAbiPropVal;

typedef void (*VtrStringSink)(void* ctx, const char* data, uint32_t len);
typedef void (*VtrTextItemSink)(void* ctx, int32_t offset, int32_t type, const char* text,
                                uint32_t len, ObjectId obj);
typedef void (*VtrPropSink)(void* ctx, const VtrAbiPropVal* value);

/* What a client registers: its three callbacks and its identity strings. */
typedef struct VtrClientRegistration {
  uint32_t size; /* sizeof(VtrClientRegistration) */
  void (*initialize)(int32_t init_code);
  void (*command)(int32_t command);
  void (*notify)(int32_t notification, ObjectId doc, const char* text, int32_t iparm);
  const char* const* identity_keys;
  const char* const* identity_values;
  uint32_t identity_count;
} VtrClientRegistration;

typedef struct VtrHostService {
  uint32_t magic;       /* VTR_SERVICE_MAGIC */
  uint32_t abi_version; /* VTR_SERVICE_ABI_VERSION */
  uint32_t size;        /* sizeof(VtrHostService) as the host was built */
  void* host;           /* passed back as the first argument of every call */

  int32_t (*register_client)(void* host, const VtrClientRegistration* reg);

  /* Properties */
  ObjectId (*get_id)(void* host, ObjectId doc, ObjectId obj, int32_t prop);
  void (*set_id)(void* host, ObjectId doc, ObjectId obj, int32_t prop, ObjectId value);
  int32_t (*get_int)(void* host, ObjectId doc, ObjectId obj, int32_t prop);
  void (*set_int)(void* host, ObjectId doc, ObjectId obj, int32_t prop, int32_t value);
  int32_t (*get_metric)(void* host, ObjectId doc, ObjectId obj, int32_t prop);
  void (*get_string)(void* host, ObjectId doc, ObjectId obj, int32_t prop, VtrStringSink sink,
                     void* ctx);
  void (*set_string)(void* host, ObjectId doc, ObjectId obj, int32_t prop, const char* value);
  void (*get_props)(void* host, ObjectId doc, ObjectId obj, VtrPropSink sink, void* ctx);
  void (*set_props)(void* host, ObjectId doc, ObjectId obj, const VtrAbiPropVal* vals,
                    uint32_t count);
  TextRange (*get_text_range)(void* host, ObjectId doc, ObjectId obj, int32_t prop);
  void (*set_text_range)(void* host, ObjectId doc, ObjectId obj, int32_t prop,
                         const TextRange* range);
  TextLoc (*get_text_loc)(void* host, ObjectId doc, ObjectId obj, int32_t prop);

  /* Objects */
  ObjectId (*get_named_object)(void* host, ObjectId doc, int32_t type, const char* name);
  ObjectId (*new_named_object)(void* host, ObjectId doc, int32_t type, const char* name);
  ObjectId (*new_series_object)(void* host, ObjectId doc, int32_t type, ObjectId prev);
  ObjectId (*new_anchored_object)(void* host, ObjectId doc, int32_t type, const TextLoc* loc);
  int32_t (*delete_object)(void* host, ObjectId doc, ObjectId obj);

  /* Text */
  void (*get_text)(void* host, ObjectId doc, ObjectId obj, int32_t flags, VtrTextItemSink sink,
                   void* ctx);
  void (*get_text_for_range)(void* host, ObjectId doc, const TextRange* range, int32_t flags,
                             VtrTextItemSink sink, void* ctx);
  TextLoc (*add_text)(void* host, ObjectId doc, const TextLoc* loc, const char* text);
  int32_t (*delete_text)(void* host, ObjectId doc, const TextRange* range);
  void (*get_text_prop_val)(void* host, ObjectId doc, const TextLoc* loc, int32_t prop,
                            VtrPropSink sink, void* ctx);
  void (*set_text_prop_val)(void* host, ObjectId doc, const TextRange* range,
                            const VtrAbiPropVal* value);
  void (*set_text_props)(void* host, ObjectId doc, const TextRange* range,
                         const VtrAbiPropVal* vals, uint32_t count);

  /* Documents */
  ObjectId (*open)(void* host, const char* path, const VtrAbiPropVal* script, uint32_t count,
                   VtrPropSink returned, void* ctx);
  int32_t (*close)(void* host, ObjectId doc, int32_t flags);
  ObjectId (*simple_save)(void* host, ObjectId doc, const char* path, int32_t interactive);
  int32_t (*redisplay)(void* host, ObjectId doc);

  /* Clipboard and function codes */
  int32_t (*push_clipboard)(void* host);
  int32_t (*pop_clipboard)(void* host);
  int32_t (*copy)(void* host, ObjectId doc, int32_t flags);
  int32_t (*paste)(void* host, ObjectId doc, int32_t flags);
  int32_t (*fcodes)(void* host, int32_t count, const int32_t* codes);

  /* Menus and notifications */
  ObjectId (*define_menu)(void* host, const char* tag, const char* label);
  ObjectId (*define_and_add_menu)(void* host, ObjectId to_menu, const char* tag, const char* label);
  ObjectId (*define_and_add_command)(void* host, int32_t command, ObjectId to_menu, const char* tag,
                                     const char* label, const char* shortcut);
  int32_t (*add_command_to_menu)(void* host, ObjectId to_menu, ObjectId command);
  int32_t (*add_menu_to_menu)(void* host, ObjectId to_menu, ObjectId menu);
  int32_t (*notification)(void* host, int32_t notification, int32_t state);

  /* Dialogs. prompt_string and scroll_box return 0 for OK, nonzero for Cancel;
     alert returns 0 for OK and -1 for Cancel. */
  int32_t (*alert)(void* host, const char* message, int32_t type);
  int32_t (*prompt_string)(void* host, VtrStringSink answer, void* ctx, const char* message,
                           const char* default_answer);
  int32_t (*scroll_box)(void* host, int32_t* chosen, const char* title, const char* const* items,
                        uint32_t count, int32_t default_item);

  /* Host records: the client reports each record it allocates (+1) and
     releases (-1), so the host can account for them. kind: 1 property list,
     2 property value, 3 text items, 4 string list. */
  void (*record_count)(void* host, int32_t kind, int32_t delta);

  /* Text conversion and console */
  void (*set_unicode_mode)(void* host, int32_t on);
  void (*prepare_text_conversion)(void* host);
  void (*console_print)(void* host, const char* text);
} VtrHostService;

/* The client's only export. Returns 0 when connected, -1 otherwise. */
typedef int32_t (*VtrClientInitFn)(const VtrHostService* service);

#ifdef __cplusplus
}
#endif

#endif
