// The dispatch core on simulated time: a recording window, a real control
// whose sound input is fed from a simulated radio channel, the gateway's
// serial port in memory, a dialler that only records and a temporary log
// directory.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "rufpilot/simulation/funkstrecke.h"
#include "rufpilot/dispatch/rufvermittlung.h"
#include "rufpilot/simulation/simulierte_zeit.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/aufnehmende_ausgabe.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_anschluss.h"
#include "tonwerk/platform/simulierter_eingang.h"

namespace rufpilot::test {

namespace fs = std::filesystem;

// Keeps what the core shows: the lists as the window holds them (top row
// first), every message ever written (oldest first), lamps, indicators and
// each change of the countdown with its simulated time.
class AufzeichnendeOberflaeche : public Oberflaeche {
public:
    explicit AufzeichnendeOberflaeche(const SimulierteZeit& zeit) : zeit_(zeit) {}

    struct Countdown {
        bool sichtbar;
        std::string text;
        std::int64_t ms;
    };

    void zeileEinfuegen(Liste liste, const std::string& zeile) override {
        auto& l = listen[liste];
        l.insert(l.begin(), zeile);
        if (liste == Liste::Meldungen) meldungen.push_back(zeile.substr(zeile.find('\t') + 1));
    }
    void listeLeeren(Liste liste) override {
        listen[liste].clear();
        ++geleert[liste];
    }
    void aeltesteEntfernen(Liste liste) override {
        if (!listen[liste].empty()) listen[liste].pop_back();
        ++entfernt[liste];
    }
    void pegel(const std::string& links, const std::string& rechts) override { pegelL = links, pegelR = rechts; }
    void countdown(bool sichtbar, const std::string& text) override {
        countdowns.push_back({sichtbar, text, zeit_.monotonMs()});
    }
    void lampe(Lampe l, Farbe f) override { lampen[l] = f; }
    void leitung(int port, int leitung, bool hoch) override { anzeigen[{port, leitung}] = hoch; }

    // Messages written from index `ab` on.
    std::vector<std::string> meldungenAb(std::size_t ab) const {
        return {meldungen.begin() + static_cast<std::ptrdiff_t>(ab), meldungen.end()};
    }
    bool gemeldet(const std::string& text) const {
        for (const auto& m : meldungen)
            if (m == text) return true;
        return false;
    }

    std::map<Liste, std::vector<std::string>> listen;
    std::map<Liste, int> geleert;
    std::map<Liste, int> entfernt;  // oldest rows dropped
    std::vector<std::string> meldungen;
    std::string pegelL, pegelR;
    std::vector<Countdown> countdowns;
    std::map<Lampe, Farbe> lampen;
    std::map<std::pair<int, int>, bool> anzeigen;  // (port, line 1 = DTR / 2 = RTS) -> high

private:
    const SimulierteZeit& zeit_;
};

// The gateway control's sound output: playing blocks for the file's length
// in simulated time (no timer runs meanwhile). It keeps the files played and
// when; it can fail like a missing device.
class ZeitnehmendeAusgabe : public tonwerk::SoundAusgabe {
public:
    explicit ZeitnehmendeAusgabe(SimulierteZeit& zeit) : zeit_(zeit) {}

    struct Sendung {
        std::vector<std::uint8_t> datei;
        std::int64_t anfangMs, endeMs;
    };

    void abspielen(const fs::path& wav) override {
        if (defekt) throw std::system_error(ENODEV, std::generic_category(), "keine Tonausgabe");
        std::ifstream d(wav, std::ios::binary);
        Sendung s{{std::istreambuf_iterator<char>(d), std::istreambuf_iterator<char>()}, zeit_.monotonMs(), 0};
        const auto proben = static_cast<std::int64_t>(s.datei.size()) - 44;
        zeit_.vorruecken(proben * 1000 / 11025);
        s.endeMs = zeit_.monotonMs();
        gesendet.push_back(std::move(s));
        if (nachDemSenden) nachDemSenden(gesendet.size() - 1, gesendet.back().endeMs);
    }

    bool defekt = false;
    std::vector<Sendung> gesendet;
    // Called with the index of the transmission and its end.
    std::function<void(std::size_t, std::int64_t)> nachDemSenden;

private:
    SimulierteZeit& zeit_;
};

struct AufzeichnenderWaehler : Waehler {
    struct Anruf {
        std::string nummer, msn;
        std::int64_t ms;
    };
    explicit AufzeichnenderWaehler(const SimulierteZeit& zeit) : zeit_(zeit) {}
    void waehlen(const std::string& nummer, const std::string& msn) override {
        if (defekt) throw std::runtime_error("CAPI nicht bereit");
        anrufe.push_back({nummer, msn, zeit_.monotonMs()});
    }
    bool defekt = false;
    std::vector<Anruf> anrufe;

private:
    const SimulierteZeit& zeit_;
};

// The day's log as the program writes it: one line per call, CR LF.
inline void testLogSchreiben(const fs::path& verzeichnis, const Ortszeit& t, const std::string& zeile) {
    const fs::path datei = verzeichnis / (std::to_string(t.jahr) + "-" + std::to_string(t.monat) + "-" +
                                          std::to_string(t.tag) + ".txt");
    std::ofstream aus(datei, std::ios::binary | std::ios::app);
    if (!aus) throw std::runtime_error(datei.string() + " nicht beschreibbar");
    aus << zeile << "\r\n";
}

// An FMS telegram as the control sends it (without lead-in), 11025 Hz mono.
inline std::vector<std::uint8_t> fmsTelegramm(const std::string& kennung, tonwerk::Integer richtung,
                                              tonwerk::Integer status, const fs::path& arbeitsverzeichnis) {
    tonwerk::SimulierterEingang eingang;
    tonwerk::AufnehmendeAusgabe ausgabe;
    tonwerk::KeinAnschluss anschluss;
    tonwerk::HandZeitgeber t1, t2;
    tonwerk::SchrittUhr uhr;
    tonwerk::Funkwandler leitstelle{tonwerk::Plattform{eingang, ausgabe, anschluss, t1, t2, uhr}};
    leitstelle.Sendeverzeichnis(arbeitsverzeichnis);
    leitstelle.FMSSendeVorlauf(0);
    leitstelle.FMSSenden(kennung, richtung, status, 0, 0, "", 0, 0);
    const auto& datei = ausgabe.gespielt.at(0);
    return {datei.begin() + 44, datei.end()};
}

struct Vermittlungsumgebung {
    // 1103 frames, 100 ms: a telegram is decoded at most about 160 ms after
    // it ended on air.
    static constexpr int kPufferFrames = 1103;

    SimulierteZeit zeit;
    AufzeichnendeOberflaeche ui{zeit};
    tonwerk::SimulierterEingang eingang;
    ZeitnehmendeAusgabe ausgabe{zeit};
    tonwerk::KeinAnschluss kontrollAnschluss;  // the control's own keying stays unused
    tonwerk::SimulierterAnschluss anschluss;   // the gateway's port
    tonwerk::SchrittUhr uhr;
    fs::path verzeichnis = neuesVerzeichnis();
    fs::path logs = verzeichnis / "Logs";
    tonwerk::Funkwandler fw{tonwerk::Plattform{eingang, ausgabe, kontrollAnschluss, zeit.timer(), zeit.timer(), uhr}};
    // The radio into the control's left input: exact silence between telegrams.
    Funkempfaenger luft{zeit, eingang, fw};
    AufzeichnenderWaehler waehler{zeit};
    Einstellungen einstellungen = standardEinstellungen();
    Nummerntabelle nummern{{"6A1B2345", "01701234567", "DTR"},
                           {"6A1B9999", "0301234", "RTS"},
                           {"12345678", "0221555", "XYZ"}};
    Rufvermittlung v{Vermittlungsteile{ui, zeit, fw, anschluss, waehler, einstellungen, nummern, logs,
                                       testLogSchreiben}};

    explicit Vermittlungsumgebung(Ortszeit start = {2026, 12, 8, 10, 0, 0, 0}) : zeit(start) {
        fs::create_directories(logs);
        fw.Sendeverzeichnis(verzeichnis);
        fw.RecordPufferSize(kPufferFrames);
        fw.DecLinksFMS(tonwerk::Wahr);
        fw.DecRechtsFMS(tonwerk::Falsch);
        fw.SoundStart();
        v.leitungen().PortPruefen();
        v.MsnListeLaden();
    }
    ~Vermittlungsumgebung() {
        fw.setListener(nullptr);
        std::error_code egal;
        fs::remove_all(verzeichnis, egal);
    }

    static Einstellungen standardEinstellungen() {
        Einstellungen e;
        e.comPort = 1;
        e.fmsVorlaufMs = 0;
        e.msnListe = "111;222;333;;;;;;;";
        return e;
    }

    // The control centre answers transmission `sendung` (0 = the first) with
    // a telegram for `kennung` whose audio ends `nachMs` after that
    // transmission ended.
    void leitstelleAntwortet(std::size_t sendung, const std::string& kennung, std::int64_t nachMs,
                             tonwerk::Integer status = 15) {
        antworten_[sendung] = fmsTelegramm(kennung, 1, status, verzeichnis / "leitstelle");
        ausgabe.nachDemSenden = [this, nachMs](std::size_t i, std::int64_t endeMs) {
            const auto a = antworten_.find(i);
            if (a != antworten_.end()) luft.aufLuft(endeMs + nachMs - static_cast<std::int64_t>(a->second.size()) * 1000 / 11025,
                                                   a->second);
        };
    }

    std::vector<std::string> logZeilen() const {
        const Ortszeit t = zeit.jetzt();
        std::ifstream d(logs / (std::to_string(t.jahr) + "-" + std::to_string(t.monat) + "-" +
                                std::to_string(t.tag) + ".txt"),
                        std::ios::binary);
        std::vector<std::string> zeilen;
        for (std::string z; std::getline(d, z);) zeilen.push_back(z);
        return zeilen;
    }

private:
    static fs::path neuesVerzeichnis() {
        static int zaehler = 0;
        fs::path p = fs::temp_directory_path() /
                     ("rufpilot_vermittlung_" + std::to_string(::getpid()) + "_" + std::to_string(zaehler++));
        fs::create_directories(p / "leitstelle");
        return p;
    }

    std::map<std::size_t, std::vector<std::uint8_t>> antworten_;
};

}  // namespace rufpilot::test
