// The recordings under tests/data: audio read by the tool's reader, as the
// capture sees it, and the expected events from each recording's JSON.
#pragma once

#include <cstdint>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "audioquelle.h"

namespace tonwerk::test {

struct WavAufnahme {
    int rate = 0;
    std::vector<std::uint8_t> rahmen;  // 8-bit stereo; a mono file fills the left channel
};

// Throws std::runtime_error when the file cannot be read.
inline WavAufnahme wavLesen(const std::string& pfad) {
    const auto quelle = werkzeug::dateiOeffnen(pfad);
    WavAufnahme a;
    a.rate = quelle->abtastrate();
    std::vector<std::int16_t> proben;
    while (const std::size_t n = quelle->lesen(proben, 16384))
        werkzeug::nachAchtBitStereo(proben.data(), n, quelle->kanaele(), a.rahmen);
    return a;
}

inline std::string testdatei(const std::string& name) { return std::string(TONWERK_TESTDATA) + "/" + name; }

// A recording by name without extension ("fms_11025_snr40").
inline WavAufnahme aufnahme(const std::string& name) { return wavLesen(testdatei(name + ".wav")); }

// The events a recording holds, in order, as its JSON lists them.
inline nlohmann::json erwarteteEreignisse(const std::string& name) {
    std::ifstream datei(testdatei(name + ".json"));
    if (!datei) throw std::runtime_error(name + ".json fehlt");
    return nlohmann::json::parse(datei).at("files").at(0).at("events");
}

// The events of one kind ("FMS", "ZVEI", "POCSAG", "TONRUF").
inline std::vector<nlohmann::json> erwarteteEreignisse(const std::string& name, const std::string& art) {
    std::vector<nlohmann::json> auswahl;
    for (const auto& ereignis : erwarteteEreignisse(name))
        if (ereignis.at("kind") == art) auswahl.push_back(ereignis);
    return auswahl;
}

}  // namespace tonwerk::test
