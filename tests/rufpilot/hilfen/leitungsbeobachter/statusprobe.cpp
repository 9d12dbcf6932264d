// Sends FMS statuses through the gateway's real dispatch core, on real time,
// with COM1 mapped to the pty named on the command line. Next to the line
// observer's entries it appends its own to the same file, one line each,
// stamped on the observer's clock (CLOCK_MONOTONIC):
//   <microseconds> portgeprueft          both lines put to rest
//   <microseconds> senden <line>         StatusSenden called (perhaps inside another)
//   <microseconds> tonanfang / tonende   a transmission starts / has played
//   <microseconds> tonfehler             the sound output failed
//   <microseconds> quittung              the control centre's answer arrives
//   <microseconds> ergebnis <0|1>        StatusSenden returned
//   <microseconds> fertig                before the port closes
// Run under the line observer; without it a pty refuses.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "rufpilot/dispatch/rufvermittlung.h"
#include "rufpilot/betrieb/echtzeit_schleife.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_eingang.h"
#include "tonwerk/platform/termios_anschluss.h"

namespace {

namespace fs = std::filesystem;

class Protokoll {
public:
    explicit Protokoll(const fs::path& datei)
        : fd_(::open(datei.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644)) {
        if (fd_ < 0) throw std::system_error(errno, std::generic_category(), datei.string());
    }
    ~Protokoll() { ::close(fd_); }
    Protokoll(const Protokoll&) = delete;
    Protokoll& operator=(const Protokoll&) = delete;

    void schreiben(const std::string& ereignis) {
        timespec t{};
        ::clock_gettime(CLOCK_MONOTONIC, &t);
        const long long us = static_cast<long long>(t.tv_sec) * 1000000LL + t.tv_nsec / 1000;
        const std::string zeile = std::to_string(us) + " " + ereignis + "\n";
        // One write per line: the observer appends to the same file.
        if (::write(fd_, zeile.data(), zeile.size()) != static_cast<ssize_t>(zeile.size()))
            throw std::system_error(errno, std::generic_category(), "Protokoll");
    }

private:
    int fd_;
};

// Plays a file by blocking for its length, as a sound card would; or fails
// like a missing device. Calls `gespielt` after each transmission.
class ZeitnehmendeAusgabe : public tonwerk::SoundAusgabe {
public:
    ZeitnehmendeAusgabe(Protokoll& protokoll, bool defekt) : protokoll_(protokoll), defekt_(defekt) {}

    void abspielen(const fs::path& wav) override {
        if (defekt_) {
            protokoll_.schreiben("tonfehler");
            throw std::system_error(ENODEV, std::generic_category(), "keine Tonausgabe");
        }
        const auto dauer = spieldauer(wav);
        protokoll_.schreiben("tonanfang");
        std::this_thread::sleep_for(dauer);
        protokoll_.schreiben("tonende");
        if (gespielt) gespielt();
    }

    std::function<void()> gespielt;

private:
    // Data bytes over the header's byte rate.
    static std::chrono::microseconds spieldauer(const fs::path& wav) {
        std::ifstream d(wav, std::ios::binary);
        unsigned char kopf[44] = {};
        if (!d.read(reinterpret_cast<char*>(kopf), sizeof kopf))
            throw std::system_error(EIO, std::generic_category(), wav.string());
        const auto bytesProSekunde = static_cast<long long>(kopf[28] | kopf[29] << 8 | kopf[30] << 16 |
                                                             static_cast<unsigned>(kopf[31]) << 24);
        const auto daten = static_cast<long long>(fs::file_size(wav)) - 44;
        if (bytesProSekunde <= 0 || daten < 0) throw std::system_error(EIO, std::generic_category(), wav.string());
        return std::chrono::microseconds(daten * 1000000LL / bytesProSekunde);
    }

    Protokoll& protokoll_;
    bool defekt_;
};

class StilleOberflaeche : public rufpilot::Oberflaeche {
public:
    void zeileEinfuegen(rufpilot::Liste, const std::string&) override {}
    void listeLeeren(rufpilot::Liste) override {}
    void aeltesteEntfernen(rufpilot::Liste) override {}
    void pegel(const std::string&, const std::string&) override {}
    void countdown(bool, const std::string&) override {}
    void lampe(rufpilot::Lampe, rufpilot::Farbe) override {}
    void leitung(int, int, bool) override {}
};

struct KeinWaehler : rufpilot::Waehler {
    void waehlen(const std::string&, const std::string&) override {}
};

struct Aufruf {
    int leitung = 0;
    bool quittiert = false;  // the control centre answers the first telegram
};

// A send, and perhaps a second one started inside it (a call handled in its
// waits): at 'v' during the lead time, at '1' or '2' in the wait after the
// first or second telegram.
struct Sendung {
    Aufruf aussen;
    std::optional<Aufruf> innen;
    char punkt = 0;
};

bool aufrufLesen(const std::string& text, Aufruf& a) {
    if (text.empty() || text.size() > 2 || text[0] < '0' || text[0] > '2') return false;
    if (text.size() == 2 && text[1] != 'q') return false;
    a.leitung = text[0] - '0';
    a.quittiert = text.size() == 2;
    return true;
}

// "1", "2q", or "1/2q@v": line 1, with a send on line 2 (answered) during its lead time.
bool sendungLesen(const std::string& text, Sendung& s) {
    const auto schraeg = text.find('/');
    if (schraeg == std::string::npos) return aufrufLesen(text, s.aussen);
    const auto at = text.find('@', schraeg);
    if (at == std::string::npos || at + 2 != text.size()) return false;
    s.punkt = text[at + 1];
    if (s.punkt != 'v' && s.punkt != '1' && s.punkt != '2') return false;
    s.innen.emplace();
    return aufrufLesen(text.substr(0, schraeg), s.aussen) &&
           aufrufLesen(text.substr(schraeg + 1, at - schraeg - 1), *s.innen);
}

int laufen(const fs::path& pty, const fs::path& protokollDatei, int pegelumkehr, bool defekt,
           const std::vector<Sendung>& sendungen) {
    constexpr const char* kKennung = "6A1B2345";
    Protokoll protokoll(protokollDatei);
    rufpilot::EchtzeitSchleife schleife;
    StilleOberflaeche oberflaeche;
    tonwerk::SimulierterEingang eingang;  // nothing is received
    ZeitnehmendeAusgabe ausgabe(protokoll, defekt);
    tonwerk::KeinAnschluss steuerungsAnschluss;  // the control's own keying stays unused
    tonwerk::SchrittUhr uhr;
    tonwerk::Funkwandler fw(
        tonwerk::Plattform{eingang, ausgabe, steuerungsAnschluss, schleife.timer(), schleife.timer(), uhr});
    fw.Sendeverzeichnis(protokollDatei.parent_path());
    tonwerk::TermiosAnschluss anschluss;
    anschluss.geraetSetzen(1, pty);
    KeinWaehler waehler;
    rufpilot::Einstellungen einstellungen;
    einstellungen.comPort = 1;
    einstellungen.pegelumkehr = pegelumkehr;
    einstellungen.fmsVorlaufMs = 150;
    const rufpilot::Nummerntabelle nummern;
    rufpilot::Rufvermittlung v(
        rufpilot::Vermittlungsteile{oberflaeche, schleife, fw, anschluss, waehler, einstellungen, nummern, {}, {}});

    // The control centre's answer reaches the core the way a decoded
    // telegram does: from the event loop, while the core waits for it. So
    // does a second call.
    tonwerk::SchleifenZeitgeber& antwort = schleife.timer();
    tonwerk::SchleifenZeitgeber& zweiterRuf = schleife.timer();
    // The sends in progress, innermost last, with the telegrams each has played.
    struct Laufend {
        Aufruf aufruf;
        int toene = 0;
        std::optional<Aufruf> innen;
        char punkt = 0;
    };
    std::vector<Laufend> stapel;
    std::function<void(const Aufruf&, const std::optional<Aufruf>&, char)> senden;
    auto innenStarten = [&](const Aufruf& innen) {
        zweiterRuf.aktivieren(50, [&, innen] {
            zweiterRuf.deaktivieren();
            senden(innen, std::nullopt, 0);
        });
    };
    ausgabe.gespielt = [&] {
        if (stapel.empty()) return;
        Laufend& l = stapel.back();
        ++l.toene;
        if (l.aufruf.quittiert && l.toene == 1) {
            antwort.aktivieren(100, [&] {
                antwort.deaktivieren();
                protokoll.schreiben("quittung");
                tonwerk::FmsTlgType r;
                r.Kennung = kKennung;
                r.Richtung = 1;
                r.Status = 15;
                v.FMSDecodierung(r);
            });
        }
        if (l.innen && l.punkt == '0' + l.toene) innenStarten(*l.innen);
    };
    senden = [&](const Aufruf& a, const std::optional<Aufruf>& innen, char punkt) {
        stapel.push_back(Laufend{a, 0, innen, punkt});
        // Within the lead time (150 ms): the second call comes 50 ms after the first.
        if (innen && punkt == 'v') innenStarten(*innen);
        protokoll.schreiben("senden " + std::to_string(a.leitung));
        const bool quittiert = v.StatusSenden(kKennung, 3, 0, 0, a.leitung);
        protokoll.schreiben(std::string("ergebnis ") + (quittiert ? "1" : "0"));
        stapel.pop_back();
    };

    v.leitungen().PortPruefen();
    if (!anschluss.offen()) {
        std::fprintf(stderr, "%s lässt sich nicht öffnen\n", pty.c_str());
        return 1;
    }
    protokoll.schreiben("portgeprueft");
    for (const Sendung& s : sendungen) senden(s.aussen, s.innen, s.punkt);
    protokoll.schreiben("fertig");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Sendung> sendungen;
    bool gut = argc >= 6 && (std::string(argv[3]) == "0" || std::string(argv[3]) == "1") &&
               (std::string(argv[4]) == "spielt" || std::string(argv[4]) == "defekt");
    for (int i = 5; gut && i < argc; ++i) gut = sendungLesen(argv[i], sendungen.emplace_back());
    if (!gut) {
        std::fprintf(stderr,
                     "Aufruf: %s PTY PROTOKOLL PEGELUMKEHR(0|1) spielt|defekt SENDUNG...\n"
                     "  SENDUNG: Leitung (1 = DTR, 2 = RTS), mit q quittiert die Leitstelle (\"2q\"),\n"
                     "           mit /SENDUNG@v|1|2 eine zweite im Vorlauf oder nach dem 1./2. Telegramm (\"1/2q@1\")\n",
                     argv[0]);
        return 2;
    }
    try {
        return laufen(argv[1], argv[2], argv[3][0] - '0', std::string(argv[4]) == "defekt", sendungen);
    } catch (const std::exception& fehler) {
        std::fprintf(stderr, "%s\n", fehler.what());
        return 1;
    }
}
