// A private ALSA configuration for tests without a sound card: capture reads a
// raw file through the `file` plugin, playback writes one, both over `null`.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace tonwerk::test {

class AlsaTestumgebung {
public:
    AlsaTestumgebung() {
        verzeichnis_ = std::filesystem::temp_directory_path() /
                       ("tonwerk-alsa-" + std::to_string(::getpid()) + "-" + std::to_string(zaehler()++));
        std::filesystem::create_directories(verzeichnis_);
        const char* alt = std::getenv("ALSA_CONFIG_PATH");
        if (alt) alterPfad_ = alt;
        hatteAlten_ = alt != nullptr;
        std::ofstream(eingabe(), std::ios::binary);  // present even when a test writes nothing
        std::ofstream konf(verzeichnis_ / "asound.conf");
        konf << "pcm.nullgeraet { type null }\n"
             << "pcm.tonwerk_ein {\n  type file\n  slave.pcm \"nullgeraet\"\n  file \"/dev/null\"\n"
             << "  infile \"" << eingabe().string() << "\"\n  format \"raw\"\n"
             << "  hint { show on description \"Tonwerk Testeingang\" }\n}\n"
             << "pcm.tonwerk_aus {\n  type file\n  slave.pcm \"nullgeraet\"\n"
             << "  file \"" << ausgabe().string() << "\"\n  format \"raw\"\n"
             << "  hint { show on description \"Tonwerk Testausgang\" }\n}\n"
             << "pcm.default pcm.tonwerk_ein\n";
        konf.close();
        ::setenv("ALSA_CONFIG_PATH", (verzeichnis_ / "asound.conf").c_str(), 1);
    }
    ~AlsaTestumgebung() {
        if (hatteAlten_)
            ::setenv("ALSA_CONFIG_PATH", alterPfad_.c_str(), 1);
        else
            ::unsetenv("ALSA_CONFIG_PATH");
        std::error_code ec;
        std::filesystem::remove_all(verzeichnis_, ec);
    }

    std::filesystem::path eingabe() const { return verzeichnis_ / "eingabe.raw"; }
    std::filesystem::path ausgabe() const { return verzeichnis_ / "ausgabe.raw"; }
    const std::filesystem::path& verzeichnis() const { return verzeichnis_; }

    void schreibeEingabe(const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(eingabe(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::uint8_t> leseAusgabe() const {
        std::ifstream f(ausgabe(), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }

private:
    static int& zaehler() {
        static int n = 0;
        return n;
    }
    std::filesystem::path verzeichnis_;
    std::string alterPfad_;
    bool hatteAlten_ = false;
};

}  // namespace tonwerk::test
