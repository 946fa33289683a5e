// vorelix-cli's JSON documents: nlohmann/json objects that keep their fields in the order they are
// added; texts from a demo go out twice, as hex and decoded.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "demo/edit/TextRule.h"

namespace vorelix::cli {

using Json = nlohmann::ordered_json;

std::string Hex(std::string_view bytes);

// `<key>_hex` with the bytes in lower-case hex, then `<key>` as the text rule shows them.
void PutDemoText(Json& object, std::string_view key, std::string_view bytes, const demo::TextRule& rule);

// The document on one line, as vorelix-cli prints it.
std::string JsonText(const Json& document);

}  // namespace vorelix::cli
