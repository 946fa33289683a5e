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

std::string MakeRandomDemo(std::mt19937_64& random, std::size_t length) {
    std::string demo = MakeDemo(length);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> percent(0, 99);
    for (std::size_t i = 404; i < demo.size(); ++i) {
        const int roll = percent(random);
        demo[i] = static_cast<char>(roll < 45 ? 0 : roll < 70 ? byte(random) % 8 : byte(random));
    }
    const char* names[] = {"Ann", "Bob", "", "NOPLAYERS", "\xc0\xed\xff", "name", "player with blanks"};
    const char* texts[] = {"hi all", "", "gg\nwp", "\xcf\xf0\xe8\xe2\xe5\xf2"};
    std::uniform_int_distribution<std::size_t> where(404, demo.size() > 500 ? demo.size() - 60 : 404);
    const std::size_t items = demo.size() / 700 + 1;
    for (std::size_t k = 0; k < items && demo.size() > 500; ++k) {
        const std::size_t at = where(random);
        std::string piece;
        switch (percent(random) % 4) {
            case 0:
                piece = std::string("\\name\\") + names[percent(random) % 7] +
                        (percent(random) % 2 ? "\\" : std::string(1, '\0'));
                break;
            case 1:
                piece = std::string("\x02") + names[percent(random) % 7] + " :   " +
                        texts[percent(random) % 4] + "\n";
                break;
            case 2:
                piece = std::string("\x17\x1D\x01") + (percent(random) % 2 ? '\x00' : '\x99') +
                        std::string(20, '\x05') + texts[percent(random) % 4] + std::string(1, '\0');
                break;
            default:
                piece = "HLTV Proxy:";
        }
        if (at + piece.size() <= demo.size()) PutAt(demo, at, piece);
    }
    return demo;
}

}  // namespace vorelix::test
