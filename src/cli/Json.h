// A small JSON writer for vorelix-cli's --json output; demo texts go out as hex and decoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "demo/CodePage.h"

namespace vorelix::cli {

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view utf8);
    JsonWriter& Number(std::int64_t value);
    JsonWriter& Unsigned(std::uint64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    // `<key>_hex` with the bytes in lower-case hex, then `<key>` decoded for display.
    JsonWriter& DemoText(std::string_view key, std::string_view bytes, demo::CodePage codePage);

    const std::string& Text() const { return text_; }

  private:
    void Separate();
    std::string text_;
    bool needComma_ = false;
};

std::string Hex(std::string_view bytes);

}  // namespace vorelix::cli
