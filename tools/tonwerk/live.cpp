// tonwerk devices: lists the sound input devices.
// tonwerk listen: decodes a live sound card until interrupted.
#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "abbruchsignale.h"
#include "alarm/alarm_optionen.h"
#include "befehle.h"
#include "einstellungsdatei.h"
#include "empfangs_optionen.h"
#include "ereignis_ausgabe.h"
#include "live_kontrolle.h"
#include "live_schleife.h"
#include "systemfehler.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/alsa_eingang.h"
#include "zweite_rate.h"

namespace tonwerk::werkzeug {

// The capture rates of a format mask in words; the control records 8-bit
// stereo, so that is what counts.
std::string formateInWorten(std::int32_t maske) {
    std::string raten;
    const int kRaten[] = {11025, 22050, 44100};
    for (int r = 0; r < 3; ++r)
        if (maske & (0x2 << (4 * r))) raten += (raten.empty() ? "" : ", ") + std::to_string(kRaten[r]);
    return raten.empty() ? "keine nutzbare Abtastrate (8 Bit Stereo)" : raten + " Hz (8 Bit Stereo)";
}

namespace {

void geraeteAuflisten() {
    AlsaEingang eingang;
    const std::int32_t anzahl = eingang.geraeteAnzahl();
    int gezeigt = 0;
    for (std::int32_t i = 0; i < anzahl; ++i) {
        std::string name;
        std::int32_t formate = 0;
        const std::int32_t fehler = eingang.geraeteInfo(i, name, formate);
        // The default device is what listen and record use, so it is always
        // shown; others that do not open for capture are playback devices.
        if (fehler != 0 && i != 0) continue;
        std::cout << i << "  " << eingang.pcmName(i) << "  "
                  << (fehler != 0 ? "nicht zu öffnen: " + systemFehlerText(fehler) : formateInWorten(formate) + "  " + name)
                  << '\n';
        ++gezeigt;
    }
    if (gezeigt == 0) std::cerr << "Keine Soundkarte zur Aufnahme gefunden\n";
}

struct ListenOptionen {
    Long karte = 0;
    int rate = 11025;
    EmpfangsOptionen empfang;
    AlarmOptionen alarm;
    std::string einstellungen;  // --config
};

void zuhoeren(const ListenOptionen& o) {
    LiveKontrolle live(o.karte, o.rate, o.empfang.setzen);
    Funkwandler& fw = live.fw;
    if (o.empfang.baud) fw.PocBaudRates(pocBaudRates(o.empfang.baud));

    const auto beginn = std::chrono::steady_clock::now();
    EreignisAusgabe aus(std::cout, o.empfang.json, o.empfang.pegel, [beginn] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn).count();
    });
    const auto weiche = alarmWeicheBauen(o.alarm, std::cerr);
    weiche->anschliessen(aus);
    aus.pocBaud = pocBaud(fw.PocBaudRates());
    std::unique_ptr<ZweiteRate> zweite;
    if (!o.empfang.baud) {
        zweite = std::make_unique<ZweiteRate>(o.rate, o.empfang.setzen, aus.pocBaud == 512 ? 1200 : 512, aus, false);
        live.eingang.abzweig = [&zweite](const std::uint8_t* d, std::size_t n) { zweite->decoder().einspeisen(d, n); };
    }
    fw.setListener(&aus);
    // Held to the end, so that a second Ctrl+C while the card settles does not
    // cut the stop short.
    Abbruchsignale signale;
    if (const Long start = fw.SoundStart(); start != 0) {
        fw.setListener(nullptr);
        live.eingang.abzweig = nullptr;
        fw.Soundstop();
        throw std::runtime_error(startFehler(o.karte, live.eingang.pcmName(o.karte), start));
    }
    std::cerr << "Decodiere " << live.eingang.pcmName(o.karte) << " mit " << o.rate << " Hz, POCSAG mit "
              << (zweite ? "512 und 1200" : std::to_string(aus.pocBaud)) << " Bit/s (Strg+C beendet)\n";
    liveSchleife(live.timer1, live.timer2, [&weiche] {
        weiche->bedienen();
        return false;
    });
    fw.setListener(nullptr);
    live.eingang.abzweig = nullptr;
    anhaltenMitHinweis(fw);
    if (zweite) zweite->decoder().beenden();
    weiche->abschliessen(2.0, std::cerr);
}

}  // namespace

void devicesBefehl(CLI::App& app) {
    CLI::App* cmd = app.add_subcommand(
        "devices", "Soundkarten zur Aufnahme auflisten: Nummer (für --card), ALSA-Name, nutzbare Abtastraten, Name");
    cmd->callback(geraeteAuflisten);
}

void listenBefehl(CLI::App& app) {
    auto o = std::make_shared<ListenOptionen>();
    CLI::App* cmd = app.add_subcommand("listen", "Live von einer Soundkarte decodieren, bis Strg+C");
    cmd->footer(kZeitBedeutungLive);
    cmd->add_option("--card", o->karte, "Nummer der Soundkarte (siehe tonwerk devices)")->capture_default_str();
    cmd->add_option("--rate", o->rate, "Abtastrate: 11025, 22050 oder 44100 Hz")->capture_default_str();
    empfangsOptionen(cmd, o->empfang);
    alarmOptionenAnmelden(cmd, o->alarm);
    einstellungsdateiAnmelden(cmd, o->einstellungen);
    cmd->callback([o, cmd] {
        einstellungenAnwenden(cmd, o->einstellungen, std::cerr);
        filterUebernehmen(o->empfang);
        zuhoeren(*o);
    });
}

}  // namespace tonwerk::werkzeug
