#include "rufpilot/config/einstellungen_datei.h"

#include <array>
#include <cstdint>
#include <optional>

#include "rufpilot/config/textdatei.h"
#include "tonwerk/formats/cp1252.h"

namespace rufpilot {

namespace {

constexpr std::size_t kHoechstensBytes = 64 * 1024;
constexpr int kZeilen = 8;
constexpr int kMsnZeile = 6;

bool leer(char c) { return c == ' ' || c == '\t'; }
bool ziffer(char c) { return c >= '0' && c <= '9'; }

void zahlSchreiben(std::string& aus, int wert) {
    if (wert >= 0) aus += ' ';
    aus += std::to_string(wert);
    aus += "\r\n";
}

}  // namespace

// Digits beyond what could matter only mark the value as too big.
std::optional<int> fuehrendeZahl(std::string_view zeile) {
    std::size_t i = 0;
    while (i < zeile.size() && leer(zeile[i])) ++i;
    bool negativ = false;
    if (i < zeile.size() && (zeile[i] == '-' || zeile[i] == '+')) {
        negativ = zeile[i] == '-';
        ++i;
        while (i < zeile.size() && leer(zeile[i])) ++i;
    }
    std::int64_t ganz = 0;
    bool zuGross = false;
    for (; i < zeile.size() && ziffer(zeile[i]); ++i) {
        ganz = ganz * 10 + (zeile[i] - '0');
        if (ganz > 100000) zuGross = true, ganz = 100000;
    }
    // A fraction rounds to the nearest whole number, halves to even.
    if (i < zeile.size() && zeile[i] == '.') {
        ++i;
        const std::size_t anfang = i;
        while (i < zeile.size() && ziffer(zeile[i])) ++i;
        const std::string_view bruch = zeile.substr(anfang, i - anfang);
        if (!bruch.empty()) {
            const bool ueberHalb = bruch[0] > '5' ||
                                   (bruch[0] == '5' && bruch.find_first_not_of('0', 1) != std::string_view::npos);
            const bool genauHalb = bruch[0] == '5' && !ueberHalb;
            if (ueberHalb || (genauHalb && ganz % 2 == 1)) ++ganz;
        }
    }
    const std::int64_t wert = negativ ? -ganz : ganz;
    if (zuGross || wert < -32768 || wert > 32767) return std::nullopt;
    return static_cast<int>(wert);
}

Einstellungen einstellungenAusText(std::string_view inhalt) {
    Einstellungen e;
    const std::array<int*, kZeilen> zahlen = {&e.comPort, &e.pegelumkehr, &e.baustufe, &e.tki,
                                              &e.fmsVorlaufMs, nullptr, &e.soundkarte, &e.abtastrate};
    int nummer = 0;
    zeilenDurchgehen(inhalt, [&](std::string_view zeile) {
        ++nummer;
        if (nummer == kMsnZeile) {
            e.msnListe = tonwerk::Cp1252ZuUtf8(zeile);
        } else if (const auto wert = fuehrendeZahl(zeile)) {
            *zahlen[static_cast<std::size_t>(nummer - 1)] = *wert;
        }
        return nummer < kZeilen;
    });
    if (e.comPort == 0) e.comPort = 1;
    return e;
}

std::string einstellungenAlsText(const Einstellungen& e) {
    std::string aus;
    zahlSchreiben(aus, e.comPort);
    zahlSchreiben(aus, e.pegelumkehr);
    zahlSchreiben(aus, e.baustufe);
    zahlSchreiben(aus, e.tki);
    zahlSchreiben(aus, e.fmsVorlaufMs);
    for (char c : tonwerk::Utf8ZuCp1252(e.msnListe)) {
        if (c != '\r' && c != '\n') aus += c;
    }
    aus += "\r\n";
    zahlSchreiben(aus, e.soundkarte);
    zahlSchreiben(aus, e.abtastrate);
    return aus;
}

Einstellungen einstellungenLesen(const std::filesystem::path& datei) {
    const auto inhalt = dateiAnfangLesen(datei, kHoechstensBytes);
    return inhalt ? einstellungenAusText(*inhalt) : Einstellungen{};
}

void einstellungenSchreiben(const std::filesystem::path& datei, const Einstellungen& e) {
    dateiErsetzen(datei, einstellungenAlsText(e));
}

}  // namespace rufpilot
