#include "pegelwaechter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tonwerk::werkzeug {

Pegelwaechter::Pegelwaechter(int abtastrate, int kanaele, double sekunden)
    : strecke_(static_cast<std::size_t>(std::max(1.0, sekunden * abtastrate))),
      kanaele_(std::max(1, kanaele)),
      abtastrate_(abtastrate),
      hoch_(static_cast<std::size_t>(kanaele_), std::numeric_limits<std::int32_t>::min()),
      tief_(static_cast<std::size_t>(kanaele_), std::numeric_limits<std::int32_t>::max()) {}

std::optional<std::string> Pegelwaechter::hoeren(const std::int16_t* samples, std::size_t frames) {
    std::optional<std::string> hinweis;
    for (std::size_t i = 0; i < frames; ++i) {
        for (std::size_t k = 0; k < static_cast<std::size_t>(kanaele_); ++k) {
            const std::int32_t s = samples[i * static_cast<std::size_t>(kanaele_) + k];
            hoch_[k] = std::max(hoch_[k], s);
            tief_[k] = std::min(tief_[k], s);
        }
        if (++frames_ == strecke_) {
            if (auto h = urteilen()) hinweis = h;
            erste_ = false;
        }
    }
    return hinweis;
}

std::optional<std::string> Pegelwaechter::ende() {
    if (frames_ == 0 || (!erste_ && static_cast<double>(frames_) < abtastrate_)) return std::nullopt;
    return urteilen();
}

std::optional<std::string> Pegelwaechter::urteilen() {
    // Half the swing, so that a DC offset does not count as level.
    const double sekunden = static_cast<double>(frames_) / abtastrate_;
    double spitze = 0;
    for (std::size_t k = 0; k < hoch_.size(); ++k) {
        if (hoch_[k] >= tief_[k]) spitze = std::max(spitze, (hoch_[k] - tief_[k]) / 2.0);
        hoch_[k] = std::numeric_limits<std::int32_t>::min();
        tief_[k] = std::numeric_limits<std::int32_t>::max();
    }
    frames_ = 0;
    if (gesagt_) return std::nullopt;
    const double dbfs = spitze > 0 ? 20.0 * std::log10(spitze / 32768.0) : -std::numeric_limits<double>::infinity();
    if (dbfs >= kGrenzeDbfs) return std::nullopt;
    gesagt_ = true;
    char text[200];
    if (spitze > 0) {
        std::snprintf(text, sizeof text,
                      "Eingangspegel zu niedrig (%.0f s lang Spitzen bei %.0f dBFS, unter %.0f dBFS wird nichts "
                      "decodiert): Pegel am Empfänger oder an der Soundkarte anheben",
                      sekunden, dbfs, kGrenzeDbfs);
    } else {
        std::snprintf(text, sizeof text, "Eingang stumm (%.0f s lang alle Abtastwerte gleich): nichts zu decodieren",
                      sekunden);
    }
    return std::string(text);
}

}  // namespace tonwerk::werkzeug
