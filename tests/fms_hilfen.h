// Test helpers for FMS: run tables and audio of telegrams, and an FMS decoder
// fed as the capture feeds it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/decoders/fms_decoder.h"
#include "tonwerk/transmit/tongenerator.h"
#include "einspeiser.h"
#include "test_plattform.h"

namespace tonwerk::test {

// Ideal runs at 11025 Hz: a one bit is two long runs of 5, a zero three short runs of 3.
inline std::vector<Halbwelle> idealLaeufe(std::string_view bits) {
    std::vector<Halbwelle> l;
    std::int16_t pegel = 128;
    auto lauf = [&](std::int16_t n) {
        l.push_back({n, pegel});
        pegel = static_cast<std::int16_t>(128 - pegel);
    };
    for (char b : bits) {
        if (b == '1') {
            lauf(5), lauf(5);
        } else {
            lauf(3), lauf(3), lauf(3);
        }
    }
    return l;
}

// The bits after the Vorlauf as ideal runs, preceded by `vorlauf` long runs and
// followed by a run that ends the signal.
inline std::vector<Halbwelle> idealTelegramm(std::string_view bitsAbSync, int vorlauf = 24) {
    std::vector<Halbwelle> l(static_cast<std::size_t>(vorlauf), Halbwelle{5, 0});
    for (auto h : idealLaeufe(bitsAbSync)) l.push_back(h);
    l.push_back({100, 0});
    return l;
}

// FFSK audio at 11025 Hz.
inline std::vector<std::uint8_t> ffskAudio(std::string_view bits, Integer pegel = 60) {
    Tongenerator g(pegel);
    g.SchreibeFfskBits(bits);
    return {g.Proben().begin(), g.Proben().end()};
}

// 11025 Hz audio at `faktor` times the rate, linearly interpolated.
inline std::vector<std::uint8_t> hochtasten(std::span<const std::uint8_t> a, int faktor) {
    std::vector<std::uint8_t> aus;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int x0 = a[i];
        const int x1 = i + 1 < a.size() ? a[i + 1] : a[i];
        for (int k = 0; k < faktor; ++k) {
            aus.push_back(static_cast<std::uint8_t>((x0 * (faktor - k) + x1 * k + faktor / 2) / faktor));
        }
    }
    return aus;
}

// A short text as it comes back: at least 7 characters, then filled with
// spaces to 3 + 4n characters.
inline std::string gepolstert(std::string text) {
    std::size_t zeichen = 0;
    for (char c : text) zeichen += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    while (zeichen < 7 || (zeichen - 3) % 4 != 0) text += ' ', ++zeichen;
    return text;
}

// An FMS decoder behind the capture loop; a short last buffer is fed as it is.
struct FmsEmpfaenger : Empfaenger<FmsDecoder, FmsTlgType> {
    explicit FmsEmpfaenger(Long rate = 11025) : Empfaenger(einstellungenFuer(rate)) { einspeiser.auffuellen = false; }

    // Quiet input and a short swing that ends every open run.
    void abschliessen() {
        std::vector<std::uint8_t> s(2 * 400, 128);
        for (std::size_t i = 2 * 380; i < s.size(); ++i) s[i] = 0;
        zufuehren(s);
    }
};

}  // namespace tonwerk::test
