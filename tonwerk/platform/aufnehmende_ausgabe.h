// A sound output for tests and file-only sending: instead of playing, it keeps the
// bytes of every file it was given, in order.
#pragma once

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "tonwerk/platform/sound_ausgabe.h"

namespace tonwerk {

class AufnehmendeAusgabe : public SoundAusgabe {
public:
    void abspielen(const std::filesystem::path& wavDatei) override {
        std::ifstream datei(wavDatei, std::ios::binary);
        if (!datei) throw std::system_error(errno ? errno : ENOENT, std::generic_category(), wavDatei.string());
        gespielt.emplace_back(std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>());
        pfade.push_back(wavDatei);
    }

    std::vector<std::vector<std::uint8_t>> gespielt;  // whole files, header included
    std::vector<std::filesystem::path> pfade;
};

}  // namespace tonwerk
