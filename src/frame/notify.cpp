// F_ApiNotify: client messages (notification 13) set the target overrides or
// run commands by name.
#include <optional>
#include <string>
#include <string_view>

#include "frame/commands.h"
#include "frame/dispatch.h"
#include "frame/post_generate.h"
#include "host/api.h"
#include "host/client.h"

namespace frame {
namespace {

// The number after the first blank of `message`: leading and trailing blanks
// removed, an optional sign, then the leading digits (0 when there are
// none). None when the message has no blank.
std::optional<long long> AssignedNumber(std::string_view message) {
  std::size_t blank = message.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  std::string_view rest = message.substr(blank);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  long long value = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > 0xFFFFFFFFLL) value = 0xFFFFFFFFLL;  // no handle is larger
  }
  return negative ? -value : value;
}

void HandleClientMessage(std::string_view message) {
  if (message.starts_with("SetDocId")) {
    if (auto n = AssignedNumber(message)) documentOverride = static_cast<ObjectId>(*n);
  }
  if (message.starts_with("SetBookId")) {
    if (auto n = AssignedNumber(message)) bookOverride = static_cast<ObjectId>(*n);
  }
  if (std::optional<CommandId> command = CommandForMessage(message)) F_ApiCommand(*command);
}

}  // namespace
}  // namespace frame

void F_ApiNotify(int32_t notification, ObjectId /*doc*/, const char* text, int32_t /*iparm*/) {
  if (notification == host::kNotifyClientMessage) {
    frame::HandleClientMessage(text ? text : "");
  } else if (notification == host::kNotifyPostGenerate) {
    frame::ProcessGeneratedIndexes();
  }
}
