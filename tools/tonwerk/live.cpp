// tonwerk devices: lists the sound input devices.
// tonwerk listen: decodes a live sound card until interrupted.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "befehle.h"
#include "eigenschaften_setzen.h"
#include "ereignis_ausgabe.h"
#include "live_kontrolle.h"
#include "live_schleife.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/alsa_eingang.h"
#include "tonwerk/platform/ohne_hardware.h"

namespace tonwerk::werkzeug {

namespace {

void geraeteAuflisten() {
    AlsaEingang eingang;
    const std::int32_t anzahl = eingang.geraeteAnzahl();
    for (std::int32_t i = 0; i < anzahl; ++i) {
        std::string name;
        std::int32_t formate = 0;
        if (eingang.geraeteInfo(i, name, formate) != 0) continue;
        char maske[16];
        std::snprintf(maske, sizeof maske, "0x%03X", static_cast<unsigned>(formate));
        std::cout << i << "  " << eingang.pcmName(i) << "  " << maske << "  " << name << '\n';
    }
    if (anzahl == 0) std::cerr << "Keine Soundkarte zur Aufnahme gefunden\n";
}

struct ListenOptionen {
    Long geraet = 0;
    int rate = 11025;
    bool json = false;
    bool pegel = false;
    std::vector<std::string> setzen;
    bool filter = false;  // --filter: Empfangsfilter=True before the --set values
};

void zuhoeren(const ListenOptionen& o) {
    LiveKontrolle live(o.geraet, o.rate, o.setzen);
    Funkwandler& fw = live.fw;

    const auto beginn = std::chrono::steady_clock::now();
    EreignisAusgabe aus(std::cout, o.json, o.pegel, [beginn] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn).count();
    });
    fw.setListener(&aus);
    if (const Long start = fw.SoundStart(); start != 0) {
        fw.setListener(nullptr);
        fw.Soundstop();
        throw std::runtime_error("Soundkarte " + std::to_string(o.geraet) + " startet nicht (Fehler " +
                                 std::to_string(start) + ")");
    }
    std::cerr << "Decodiere " << live.eingang.pcmName(o.geraet) << " mit " << o.rate << " Hz (Strg+C beendet)\n";
    liveSchleife(live.timer1, live.timer2, [] { return false; });
    fw.setListener(nullptr);
    std::cerr << "Beende ...\n";
    fw.Soundstop();
}

}  // namespace

void devicesBefehl(CLI::App& app) {
    CLI::App* cmd = app.add_subcommand("devices", "Soundkarten zur Aufnahme auflisten (Nummer, ALSA-Name, Formate, Name)");
    cmd->callback(geraeteAuflisten);
}

void listenBefehl(CLI::App& app) {
    auto o = std::make_shared<ListenOptionen>();
    CLI::App* cmd = app.add_subcommand("listen", "Live von einer Soundkarte decodieren, bis Strg+C");
    cmd->add_option("--device", o->geraet, "Nummer der Soundkarte (siehe tonwerk devices), Standard 0");
    cmd->add_option("--rate", o->rate, "Abtastrate: 11025, 22050 oder 44100 Hz");
    cmd->add_flag("--json", o->json, "Ein JSON-Objekt je Ereignis und Zeile");
    cmd->add_flag("--levels", o->pegel, "Auch Signalstaerke je Puffer ausgeben");
    cmd->add_option("--set", o->setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
    cmd->add_flag("--filter", o->filter, "Empfangsfilter einschalten (Kurzform von --set Empfangsfilter=True)");
    cmd->callback([o] {
        if (o->filter) o->setzen.insert(o->setzen.begin(), "Empfangsfilter=True");
        zuhoeren(*o);
    });
}

}  // namespace tonwerk::werkzeug
