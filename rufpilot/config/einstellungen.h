// Rufpilot's settings (server.ini) and number table (fms_telefon_leitung.dat)
// as held in memory. Texts are UTF-8 inside the program.
#pragma once

#include <string>
#include <vector>

namespace rufpilot {

struct Einstellungen {
    int comPort = 1;        // serial port for keying, 1..4 (COM1..COM4)
    int pegelumkehr = 0;    // 1 = keying lines inverted (keyed = low)
    int baustufe = 0;       // sent with every FMS telegram, 0..2
    int tki = 0;            // sent with every FMS telegram, 0..3
    int fmsVorlaufMs = 0;   // between keying and the telegram
    std::string msnListe;   // nine MSNs for status 1..9, each followed by ';'
    int soundkarte = 0;     // the control's SoundCard
    int abtastrate = 0;     // the control's Samplerates (0, 1, 2)

    bool operator==(const Einstellungen&) const = default;
};

// One caller the gateway knows: the vehicle it stands for and the line that
// keys the transmitter for it ("DTR" or "RTS").
struct Nummerneintrag {
    std::string kennung;
    std::string telefon;
    std::string leitung;

    bool operator==(const Nummerneintrag&) const = default;
};

using Nummerntabelle = std::vector<Nummerneintrag>;

}  // namespace rufpilot
