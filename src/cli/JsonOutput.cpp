// Hex fields and the one-line form of vorelix-cli's JSON documents.
#include "cli/JsonOutput.h"

namespace vorelix::cli {

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
    return out;
}

void PutDemoText(Json& object, std::string_view key, std::string_view bytes, const demo::TextRule& rule) {
    object[std::string(key) + "_hex"] = Hex(bytes);
    object[std::string(key)] = demo::ShownText(bytes, rule);
}

std::string JsonText(const Json& document) {
    // A path from the system may hold bytes that are not UTF-8: they become U+FFFD rather than
    // making the whole document invalid.
    const std::string dumped = document.dump(-1, ' ', false, Json::error_handler_t::replace);
    // Control characters keep the \u00XX form vorelix-cli has always written, since scripts may
    // compare the bytes: nlohmann/json writes \b and \f short and DEL as it is. In its output every
    // backslash starts an escape, so the byte after one says which.
    std::string text;
    text.reserve(dumped.size());
    for (std::size_t i = 0; i < dumped.size(); ++i) {
        if (dumped[i] == '\x7f') {
            text += "\\u007f";
        } else if (dumped[i] == '\\' && i + 1 < dumped.size()) {
            const char escaped = dumped[++i];
            text += escaped == 'b' ? "\\u0008" : escaped == 'f' ? "\\u000c" : std::string{'\\', escaped};
        } else {
            text += dumped[i];
        }
    }
    return text;
}

}  // namespace vorelix::cli
