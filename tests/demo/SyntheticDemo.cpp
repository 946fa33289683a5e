// Building synthetic demos for tests.
#include "SyntheticDemo.h"

#include <algorithm>
#include <stdexcept>

namespace vorelix::test {

std::string MakeDemo(std::size_t length, std::string_view map, std::string_view mod) {
    std::string demo(std::max<std::size_t>(length, 406), '\0');
    PutAt(demo, 0, "HLDEMO");
    PutAt(demo, 16, map);
    PutAt(demo, 276, mod);
    demo.resize(length);
    return demo;
}

void PutAt(std::string& demo, std::size_t offset, std::string_view bytes) {
    if (offset + bytes.size() > demo.size()) throw std::out_of_range("PutAt beyond the demo");
    std::copy(bytes.begin(), bytes.end(), demo.begin() + static_cast<std::ptrdiff_t>(offset));
}

std::string WithPieces(std::string demo, const Pieces& pieces) {
    for (const auto& [offset, bytes] : pieces) PutAt(demo, offset, bytes);
    return demo;
}

std::string MakeDemo(std::size_t length, const Pieces& pieces) {
    return WithPieces(MakeDemo(length), pieces);
}

std::string MakeRandomDemo(std::mt19937_64& random, std::size_t length) {
    std::string demo = MakeDemo(length);
    const auto roll = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (std::size_t i = 404; i < demo.size(); ++i) {
        const std::size_t kind = roll(100);
        demo[i] = static_cast<char>(kind < 45 ? 0 : kind < 70 ? roll(8) : roll(256));
    }
    const char* names[] = {"Ann", "Bob", "", "NOPLAYERS", "\xc0\xed\xff", "player with blanks"};
    const char* texts[] = {"hi all", "", "gg\nwp", "\xcf\xf0\xe8\xe2\xe5\xf2"};
    for (std::size_t k = 0; demo.size() > 500 && k <= demo.size() / 700; ++k) {
        const std::size_t at = 404 + roll(demo.size() - 464);
        const std::string name = names[roll(6)];
        const std::string text = texts[roll(4)];
        const std::string pieces[] = {
            "\\name\\" + name + (roll(2) ? '\\' : '\0'), "\x02" + name + " :   " + text + "\n",
            "\x17\x1D\x01" + std::string(1, roll(2) ? '\0' : '\x99') + std::string(20, '\x05') + text + '\0',
            "HLTV Proxy:"};
        const std::string& piece = pieces[roll(4)];
        if (at + piece.size() <= demo.size()) PutAt(demo, at, piece);
    }
    return demo;
}

}  // namespace vorelix::test
