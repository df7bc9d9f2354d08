// A client's registration, its record accounting, text conversion state and
// console output.
#include "service/ops.h"

namespace headless::detail {

int32_t RegisterClient(ClientState& c, const VtrClientRegistration* reg) {
  if (!reg || reg->size < sizeof(VtrClientRegistration)) return -1;
  c.initialize = reg->initialize;
  c.command = reg->command;
  c.notify = reg->notify;
  c.info.identity.clear();
  for (uint32_t i = 0; i < reg->identity_count; ++i) {
    const char* key = reg->identity_keys ? reg->identity_keys[i] : nullptr;
    const char* value = reg->identity_values ? reg->identity_values[i] : nullptr;
    if (key) c.info.identity.emplace_back(key, value ? value : "");
  }
  c.info.connected = true;
  return 0;
}

void RecordCount(ClientState& c, int32_t kind, int32_t delta) {
  c.host->records[kind] += delta;
}

void SetUnicodeMode(ClientState& c, int32_t on) {
  c.host->unicode = on != 0;
}

void PrepareTextConversion(ClientState& c) {
  ++c.host->conversionPreparations;
}

void ConsolePrint(ClientState& c, const char* text) {
  if (!text) return;
  c.host->noteText(text);
  c.host->console += text;
  if (c.host->user) c.host->user->console(text);
}

}  // namespace headless::detail
