// The command line's machine-readable output. Documents keep their keys in
// the order a command adds them, so the output reads like the file records.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace plavesk {

using Json = nlohmann::ordered_json;

// One compact document and a newline. Texts are UTF-8 inside the program;
// should a byte sequence not be, it comes out as U+FFFD rather than failing
// the whole command.
inline std::string jsonLine(const Json& document) {
  return document.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace plavesk
