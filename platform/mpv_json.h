// The little JSON the media player's IPC socket speaks: requests written as
// one line each, and the replies and events read back, one line each. Only
// the top level of a message is kept; nested values are checked and skipped.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tamiral {

// A JSON text for a UTF-8 string: quotes, backslashes and control
// characters escaped.
std::string jsonString(std::string_view text);
std::string jsonNumber(double value);

// {"command":[arguments…],"request_id":id} and a line end; the arguments are
// JSON texts already (jsonString, jsonNumber, "true").
std::string mpvRequest(std::initializer_list<std::string> arguments, int64_t requestId);

// A scalar value; null, or anything nested, is monostate.
using JsonScalar = std::variant<std::monostate, bool, double, std::string>;

struct MpvMessage {
  std::optional<int64_t> requestId;  // replies
  std::string error;                 // replies: "success" when it worked
  JsonScalar data;                   // replies
  std::string event;                 // events: "file-loaded", "end-file" …
  std::string reason;                // end-file: "eof", "error" …
};

// Nothing when the line is not one JSON object (or nests too deeply).
std::optional<MpvMessage> parseMpvMessage(std::string_view line);

}  // namespace tamiral
