#include "tonwerk/formats/utf8.h"

namespace tonwerk {

std::u32string Utf8Dekodieren(std::string_view utf8) {
    std::u32string aus;
    aus.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int folge = 0;
        char32_t z = 0;
        char32_t minimum = 0;
        if (b < 0x80) {
            aus.push_back(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            folge = 1, z = b & 0x1F, minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            folge = 2, z = b & 0x0F, minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            folge = 3, z = b & 0x07, minimum = 0x10000;
        } else {
            aus.push_back(kUtf8Ersatz);
            ++i;
            continue;
        }
        bool gut = i + static_cast<std::size_t>(folge) < utf8.size();
        for (int k = 1; gut && k <= folge; ++k) {
            const auto f = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((f & 0xC0) != 0x80) {
                gut = false;
            } else {
                z = (z << 6) | (f & 0x3F);
            }
        }
        if (gut && z >= minimum && z <= 0x10FFFF && !(z >= 0xD800 && z <= 0xDFFF)) {
            aus.push_back(z);
            i += static_cast<std::size_t>(folge) + 1;
        } else {
            aus.push_back(kUtf8Ersatz);
            ++i;
        }
    }
    return aus;
}

void Utf8Anhaengen(std::string& aus, char32_t z) {
    if (z < 0x80) {
        aus.push_back(static_cast<char>(z));
    } else if (z < 0x800) {
        aus.push_back(static_cast<char>(0xC0 | (z >> 6)));
        aus.push_back(static_cast<char>(0x80 | (z & 0x3F)));
    } else if (z < 0x10000) {
        aus.push_back(static_cast<char>(0xE0 | (z >> 12)));
        aus.push_back(static_cast<char>(0x80 | ((z >> 6) & 0x3F)));
        aus.push_back(static_cast<char>(0x80 | (z & 0x3F)));
    } else {
        aus.push_back(static_cast<char>(0xF0 | (z >> 18)));
        aus.push_back(static_cast<char>(0x80 | ((z >> 12) & 0x3F)));
        aus.push_back(static_cast<char>(0x80 | ((z >> 6) & 0x3F)));
        aus.push_back(static_cast<char>(0x80 | (z & 0x3F)));
    }
}

}  // namespace tonwerk
