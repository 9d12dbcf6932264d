#include "demo_sendungen.h"

#include <cmath>
#include <functional>
#include <stdexcept>

#include "eigenes_verzeichnis.h"
#include "tonwerk/core/bestueckung.h"
#include "tonwerk/formats/fms_telegramm.h"
#include "tonwerk/platform/aufnehmende_ausgabe.h"
#include "tonwerk/transmit/fms_senden.h"
#include "tonwerk/transmit/sendedatei.h"
#include "tonwerk/transmit/tongenerator.h"
#include "tonwerk/transmit/wav_kopf.h"

namespace tonwerk::werkzeug {

namespace {

std::string ohneEnde(std::string text, std::string_view fuellung) {
    while (!fuellung.empty() && text.size() >= fuellung.size() &&
           text.compare(text.size() - fuellung.size(), fuellung.size(), fuellung) == 0)
        text.resize(text.size() - fuellung.size());
    return text;
}

// A control whose sound output keeps each transmit file instead of playing it.
class Sender {
public:
    Sender() { fw.Sendeverzeichnis(verzeichnis_.pfad()); }

    // The samples of the transmit file written by `senden`, header stripped.
    std::vector<std::uint8_t> proben(const std::function<Long(Funkwandler&)>& senden) {
        if (senden(fw) != 0) throw std::runtime_error("Demo: Senden fehlgeschlagen");
        const std::vector<std::uint8_t>& datei = ausgabe_.gespielt.back();
        if (datei.size() < kWavKopfGroesse) throw std::runtime_error("Demo: Sendedatei ohne Kopf");
        return {datei.begin() + static_cast<std::ptrdiff_t>(kWavKopfGroesse), datei.end()};
    }

    // A vehicle's status 10 followed by a follow-up block of eight digits: not a
    // send method of the control, so built from the format functions and written
    // through the same FFSK generator and transmit file as FMSSenden.
    std::vector<std::uint8_t> folgetelegramm(const std::string& kennung, const std::string& ziffern) {
        return proben([&](Funkwandler& f) {
            const Einstellungen& e = f.einstellungen();
            Tongenerator g(e.Ausgangspegel);
            g.setzeGenau(e.GenaueFrequenzen != 0);
            g.SchreibeFfskBits(FmsTelegrammBits(kennung, 10, 0, 0, 0, "", e.FMSKurztextTRBOS) + FolgeBlock(ziffern));
            SendedateiSenden(e, kSendedatei, g.Proben(), ausgabe_, FmsVorlaufProben(e.FMSSendeVorlauf));
            return Long{0};
        });
    }

private:
    EigenesVerzeichnis verzeichnis_;
    Bestueckung<SimulierterEingang, AufnehmendeAusgabe> plattform_;
    AufnehmendeAusgabe& ausgabe_ = plattform_.ausgabe;

public:
    Funkwandler& fw = plattform_.fw;
};

FmsTlgType fmsErwartet(const std::string& kennung, Integer status, Integer richtung, Integer tki) {
    FmsTlgType t;
    t.Kennung = kennung;
    t.Status = status;
    t.Richtung = richtung;
    t.tki = tki;
    return t;
}

const char* tonrufName(Long tonruf) {
    switch (tonruf) {
        case 0: return "Tonruf I kurz";
        case 1: return "Tonruf I lang";
        case 2: return "Tonruf II kurz";
        case 3: return "Tonruf II lang";
        default: return "Tonruf ?";
    }
}

class Aufbau {
public:
    explicit Aufbau(int baud) : baud_(baud) {}

    void fms(int kanal, const std::string& kennung, Integer status, Integer richtung, Integer tki,
             const std::string& text = "") {
        FmsTlgType t = fmsErwartet(kennung, status, richtung, tki);
        std::string inhalt = kennung + " Status " + std::to_string(status) + " Richtung " + std::to_string(richtung) +
                             " TKI " + std::to_string(tki);
        if (!text.empty()) {
            t.iskurztext = Wahr;
            t.Text = text;
            inhalt += " Text \"" + text + "\"";
        }
        hinzu(kanal, text.empty() ? "FMS" : "FMS mit Kurztext", inhalt, EmpfangsSchluessel(t), 1,
              sender_.proben([&](Funkwandler& fw) { return fw.FMSSenden(kennung, richtung, status, tki, 0, text, 0, 0); }));
    }

    // `ziffern` in the form that carries a status and a two-digit number:
    // status digit, two decimal digits, "00000".
    void folgetelegramm(int kanal, const std::string& kennung, const std::string& ziffern) {
        FmsTlgType t = fmsErwartet(kennung, static_cast<Integer>(std::stoi(ziffern.substr(0, 1), nullptr, 16)), 0, 0);
        t.folgenr = static_cast<Integer>(std::stoi(ziffern.substr(1, 2)));
        t.Text = ziffern.substr(1, 2);
        t.isfolgetelegramm = 1;
        hinzu(kanal, "FMS-Folgetelegramm", kennung + " Status 10 Richtung 0, Folgetelegramm " + ziffern,
              EmpfangsSchluessel(t), 1, sender_.folgetelegramm(kennung, ziffern));
    }

    void zvei(int kanal, const std::string& nummer, bool doppelt) {
        ZVEIType z;
        z.ZVEINr = nummer;
        hinzu(kanal, "ZVEI", nummer + (doppelt ? " doppelt" : ""), EmpfangsSchluessel(z), doppelt ? 2 : 1,
              sender_.proben([&](Funkwandler& fw) { return fw.ZVEISenden(nummer, doppelt ? Wahr : Falsch, 0, 0, 0); }));
    }

    void pocsag(int kanal, Long ric, Long funktion, const std::string& text) {
        POCType p;
        p.RIC = ric;
        p.Funktion = funktion >= 1 && funktion <= 3 ? funktion + 1 : 1;
        p.Text = text;
        hinzu(kanal, "POCSAG " + std::to_string(baud_),
              "RIC " + std::to_string(ric) + " Funktion " + std::to_string(funktion) + " \"" + text + "\"",
              EmpfangsSchluessel(p), 1, sender_.proben([&](Funkwandler& fw) {
                  return fw.POCSenden(baud_ == 512 ? 0 : 1, ric, funktion, text, 0, 0);
              }));
    }

    void tonruf(int kanal, Long nummer) {
        TonrufType t;
        t.tonruf = nummer;
        hinzu(kanal, "Tonruf", tonrufName(nummer), EmpfangsSchluessel(t), 1,
              sender_.proben([&](Funkwandler& fw) { return fw.TonrufSenden(nummer, 0, 0); }));
    }

    std::vector<DemoSendung> ergebnis() { return std::move(sendungen_); }

private:
    void hinzu(int kanal, std::string art, std::string inhalt, std::string erwartet, int anzahl,
               std::vector<std::uint8_t> proben) {
        sendungen_.push_back({kanal, std::move(art), std::move(inhalt), std::move(erwartet), anzahl, std::move(proben)});
    }

    int baud_;
    Sender sender_;
    std::vector<DemoSendung> sendungen_;
};

}  // namespace

std::vector<DemoSendung> demoSendungen(int baud) {
    if (baud != 512 && baud != 1200) throw std::invalid_argument("POCSAG-Baudrate 512 oder 1200");
    Aufbau a(baud);
    // Left channel.
    a.fms(0, "6A1B2345", 3, 0, 0);
    a.zvei(0, "11234", false);
    a.pocsag(0, 1234567, 3, "Probealarm Übung");
    a.tonruf(0, 0);
    a.fms(0, "6A1B2345", 10, 1, 3, "Einsatz: Brand, Grüße");
    a.zvei(0, "22335", true);
    a.folgetelegramm(0, "6A1B2346", "51200000");
    a.tonruf(0, 3);
    // Right channel, other contents in another order.
    a.tonruf(1, 1);
    a.fms(1, "9B2C0815", 10, 1, 3, "Bitte Lage melden");
    a.zvei(1, "22335", false);
    a.folgetelegramm(1, "9B2C0816", "21000000");
    a.pocsag(1, 8, 0, "Einsatz 4711");
    a.zvei(1, "11234", true);
    a.fms(1, "9B2C0815", 4, 0, 0);
    a.tonruf(1, 2);
    return a.ergebnis();
}

std::string EmpfangsSchluessel(const FmsTlgType& t) {
    std::string s = "FMS " + t.Kennung + " Status " + std::to_string(t.Status) + " Richtung " +
                    std::to_string(t.Richtung) + " TKI " + std::to_string(t.tki) + " Baustufe " +
                    std::to_string(t.Baustufe);
    // The filling characters of a short text come back as spaces.
    if (t.iskurztext) s += " Kurztext \"" + ohneEnde(t.Text, " ") + "\"";
    if (t.isfolgetelegramm) s += " Folge " + std::to_string(t.isfolgetelegramm) + " \"" + t.Text + "\"";
    return s;
}

std::string EmpfangsSchluessel(const ZVEIType& z) { return "ZVEI " + z.ZVEINr; }

std::string EmpfangsSchluessel(const POCType& p) {
    // The last message codeword is padded with zero bits, read as NUL characters.
    return "POCSAG RIC " + std::to_string(p.RIC) + " Funktion " + std::to_string(p.Funktion) + " \"" +
           ohneEnde(p.Text, "[NULL]") + "\"";
}

std::string EmpfangsSchluessel(const TonrufType& t) {
    return std::string(tonrufName(t.tonruf)) + " (" + std::to_string(t.tonruf) + ")";
}

std::string EmpfangsArt(const FmsTlgType& t) {
    if (t.isfolgetelegramm) return "FMS-Folgetelegramm";
    return t.iskurztext ? "FMS mit Kurztext" : "FMS";
}

}  // namespace tonwerk::werkzeug
