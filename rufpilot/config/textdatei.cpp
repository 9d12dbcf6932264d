#include "rufpilot/config/textdatei.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace rufpilot {

namespace {

struct Schliesser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using Datei = std::unique_ptr<std::FILE, Schliesser>;

[[noreturn]] void fehler(int nummer, const std::string& was, const std::filesystem::path& datei) {
    throw std::system_error(nummer ? nummer : EIO, std::generic_category(), was + " " + datei.string());
}

std::optional<std::string> lesen(const std::filesystem::path& datei, std::size_t hoechstens, bool vomEnde) {
    // Only regular files: a directory or a device under the name counts as missing.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(datei, ec)) return std::nullopt;
    Datei f(std::fopen(datei.c_str(), "rb"));
    if (!f) return std::nullopt;
    if (vomEnde && std::fseek(f.get(), 0, SEEK_END) == 0) {
        const long groesse = std::ftell(f.get());
        if (groesse > 0 && static_cast<unsigned long>(groesse) > hoechstens) {
            std::fseek(f.get(), groesse - static_cast<long>(hoechstens), SEEK_SET);
        } else {
            std::fseek(f.get(), 0, SEEK_SET);
        }
    }
    std::string inhalt(hoechstens, '\0');
    std::size_t gelesen = 0;
    while (gelesen < hoechstens) {
        const std::size_t n = std::fread(inhalt.data() + gelesen, 1, hoechstens - gelesen, f.get());
        if (n == 0) break;
        gelesen += n;
    }
    if (std::ferror(f.get())) return std::nullopt;
    inhalt.resize(gelesen);
    return inhalt;
}

void schreiben(const std::filesystem::path& datei, std::string_view inhalt, const char* modus) {
    errno = 0;
    Datei f(std::fopen(datei.c_str(), modus));
    if (!f) fehler(errno, "Datei kann nicht geöffnet werden:", datei);
    if (!inhalt.empty() && std::fwrite(inhalt.data(), 1, inhalt.size(), f.get()) != inhalt.size()) {
        fehler(errno, "Datei kann nicht geschrieben werden:", datei);
    }
    std::FILE* roh = f.release();
    // Buffered data reaches the disk only here; a full disk shows up on close.
    if (std::fclose(roh) != 0) fehler(errno, "Datei kann nicht geschrieben werden:", datei);
}

}  // namespace

std::optional<std::string> dateiAnfangLesen(const std::filesystem::path& datei, std::size_t hoechstens) {
    return lesen(datei, hoechstens, false);
}

std::optional<std::string> dateiEndeLesen(const std::filesystem::path& datei, std::size_t hoechstens) {
    return lesen(datei, hoechstens, true);
}

void dateiErsetzen(const std::filesystem::path& datei, std::string_view inhalt) {
    std::filesystem::path neu = datei;
    neu += ".neu";
    std::error_code ec;
    try {
        schreiben(neu, inhalt, "wb");
    } catch (const std::system_error& e) {
        std::filesystem::remove(neu, ec);
        throw std::system_error(e.code(), "Datei kann nicht geschrieben werden: " + datei.string());
    }
    std::filesystem::rename(neu, datei, ec);
    if (ec) {
        std::error_code egal;
        std::filesystem::remove(neu, egal);
        throw std::system_error(ec, "Datei kann nicht geschrieben werden: " + datei.string());
    }
}

void zeileAnhaengen(const std::filesystem::path& datei, std::string_view zeile) {
    const auto letztes = dateiEndeLesen(datei, 1);
    std::string inhalt = letztes && !letztes->empty() && letztes->back() != '\n' && letztes->back() != '\r' ? "\r\n" : "";
    inhalt += zeile;
    inhalt += "\r\n";
    schreiben(datei, inhalt, "ab");
}

}  // namespace rufpilot
