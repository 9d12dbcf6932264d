// The record written by the line observer (target leitungsbeobachter, file in
// $LEITUNGSBEOBACHTER_LOG): one entry per state of a pty's DTR and RTS lines,
// the first one per descriptor being its state when first seen (both raised).
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <string>
#include <vector>

namespace rufpilot::test {

struct Leitungszustand {
    std::int64_t zeitUs = 0;  // CLOCK_MONOTONIC, comparable across processes
    int fd = -1;
    bool dtr = false;
    bool rts = false;

    bool operator==(const Leitungszustand&) const = default;
};

// The entries in file order; lines that do not parse are skipped, a missing
// file gives none.
inline std::vector<Leitungszustand> leitungsprotokollLesen(const std::filesystem::path& datei) {
    std::vector<Leitungszustand> eintraege;
    std::ifstream f(datei);
    std::string zeile;
    while (std::getline(f, zeile)) {
        Leitungszustand z;
        int dtr = -1, rts = -1;
        char rest = 0;
        long long us = 0;
        if (std::sscanf(zeile.c_str(), "%lld fd=%d dtr=%d rts=%d %c", &us, &z.fd, &dtr, &rts, &rest) == 4 &&
            (dtr == 0 || dtr == 1) && (rts == 0 || rts == 1)) {
            z.zeitUs = us;
            z.dtr = dtr == 1;
            z.rts = rts == 1;
            eintraege.push_back(z);
        }
    }
    return eintraege;
}

// The (dtr, rts) states alone, for comparing sequences without times: "10" = DTR up, RTS down.
inline std::vector<std::string> leitungsfolge(const std::vector<Leitungszustand>& eintraege) {
    std::vector<std::string> folge;
    for (const auto& z : eintraege) folge.push_back(std::string(z.dtr ? "1" : "0") + (z.rts ? "1" : "0"));
    return folge;
}

}  // namespace rufpilot::test
