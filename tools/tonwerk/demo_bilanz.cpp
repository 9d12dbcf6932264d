#include "demo_bilanz.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <utility>

#include "datei_decoder.h"
#include "eigenschaften_setzen.h"
#include "ereignis_ausgabe.h"
#include "zweite_rate.h"

namespace tonwerk::werkzeug {

namespace {

// Counts the messages and passes every event on to the printer.
class EmpfangsZaehler : public FunkwandlerListener {
public:
    explicit EmpfangsZaehler(FunkwandlerListener* weiter) : weiter_(weiter) {}
    std::vector<Empfang> empfangen;

    void Signalstaerke(SignalstaerkeType& w) override {
        if (weiter_) weiter_->Signalstaerke(w);
    }
    void FMSDecodierung(FmsTlgType& w) override {
        if (weiter_) weiter_->FMSDecodierung(w);
        empfangen.push_back({w.Kanal, EmpfangsArt(w), EmpfangsSchluessel(w)});
    }
    void ZVEIDecodierung(ZVEIType& w) override {
        if (weiter_) weiter_->ZVEIDecodierung(w);
        empfangen.push_back({w.Kanal, "ZVEI", EmpfangsSchluessel(w)});
    }
    void POCDecodierung(POCType& w) override {
        if (weiter_) weiter_->POCDecodierung(w);
        empfangen.push_back({w.Kanal, "POCSAG", EmpfangsSchluessel(w)});
    }
    void PufferUeberlauf(Long& w) override {
        if (weiter_) weiter_->PufferUeberlauf(w);
        empfangen.push_back({0, "PufferUeberlauf", "PufferUeberlauf " + std::to_string(w)});
    }
    void WaveRecordEnd(Long& w) override {
        if (weiter_) weiter_->WaveRecordEnd(w);
    }
    void TonrufDecodierung(Long& w) override {
        if (weiter_) weiter_->TonrufDecodierung(w);
    }
    void TonrufDecodierungA(TonrufType& w) override {
        if (weiter_) weiter_->TonrufDecodierungA(w);
        empfangen.push_back({w.Kanal, "Tonruf", EmpfangsSchluessel(w)});
    }

private:
    FunkwandlerListener* weiter_;
};

const char* kanalName(int kanal) { return kanal == 0 ? "links" : "rechts"; }

// Width of a UTF-8 text in characters, for the table's columns.
std::size_t breite(const std::string& s) {
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string ergebnis(const BilanzZeile& z) {
    if (z.gesendet == 0) return "unerwartet";
    if (z.empfangen == z.gesendet) return "ok";
    if (z.empfangen == 0) return "FEHLT";
    return z.empfangen > z.gesendet ? "ZU OFT" : "ZU SELTEN";
}

}  // namespace

std::vector<std::string> demoEmpfaengerEinstellungen(int abtastrate, int baud) {
    std::vector<std::string> setzen = {baud == 1200 ? "PocBaudRates=1" : "PocBaudRates=0"};
    if (abtastrate >= 44100) setzen.emplace_back("ZVEIDiffMax=2");
    return setzen;
}

std::vector<Empfang> demoDecodieren(AudioQuelle& quelle, const std::vector<std::string>& setzen, std::ostream* aus,
                                    bool json) {
    DateiDecoder decoder(quelle.abtastrate());
    eigenschaftenSetzen(decoder.kontrolle(), setzen);
    std::unique_ptr<EreignisAusgabe> drucker;
    if (aus) drucker = std::make_unique<EreignisAusgabe>(*aus, json, false, [&decoder] { return decoder.zeit(); });
    if (drucker) drucker->pocBaud = pocBaud(decoder.kontrolle().PocBaudRates());
    EmpfangsZaehler zaehler(drucker.get());
    decoder.kontrolle().setListener(&zaehler);
    decoder.starten();
    einspeisenBisEnde(quelle, decoder);
    decoder.kontrolle().setListener(nullptr);
    return std::move(zaehler.empfangen);
}

std::vector<BilanzZeile> bilanzieren(const std::vector<DemoSendung>& sendungen, const std::vector<Empfang>& empfangen) {
    std::map<std::pair<int, std::string>, int> gezaehlt;
    for (const Empfang& e : empfangen) ++gezaehlt[{e.kanal, e.schluessel}];
    std::vector<BilanzZeile> bilanz;
    for (const DemoSendung& s : sendungen) {
        // Two transmissions with one content on a channel would share their
        // receptions; the demo sends none, and the first one takes them all.
        auto it = gezaehlt.find({s.kanal, s.erwartet});
        const int n = it == gezaehlt.end() ? 0 : std::exchange(it->second, 0);
        bilanz.push_back({s.kanal, s.art, s.inhalt, s.anzahl, n});
    }
    for (const Empfang& e : empfangen) {
        int& rest = gezaehlt[{e.kanal, e.schluessel}];
        if (rest > 0) bilanz.push_back({e.kanal, e.art, e.schluessel, 0, std::exchange(rest, 0)});
    }
    return bilanz;
}

bool bilanzStimmt(const std::vector<BilanzZeile>& bilanz) {
    return std::all_of(bilanz.begin(), bilanz.end(),
                       [](const BilanzZeile& z) { return z.gesendet > 0 && z.empfangen == z.gesendet; });
}

void bilanzAusgeben(std::ostream& aus, const std::vector<BilanzZeile>& bilanz, bool json) {
    if (json) {
        nlohmann::ordered_json zeilen = nlohmann::ordered_json::array();
        for (const BilanzZeile& z : bilanz)
            zeilen.push_back({{"Kanal", z.kanal},
                              {"Art", z.art},
                              {"Inhalt", z.inhalt},
                              {"gesendet", z.gesendet},
                              {"empfangen", z.empfangen},
                              {"Ergebnis", ergebnis(z)}});
        nlohmann::ordered_json j;
        j["event"] = "Bilanz";
        j["ok"] = bilanzStimmt(bilanz);
        j["zeilen"] = std::move(zeilen);
        aus << j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
        return;
    }
    const std::vector<std::string> titel = {"Kanal", "Art", "Inhalt", "gesendet", "empfangen", "Ergebnis"};
    std::vector<std::vector<std::string>> zellen;
    for (const BilanzZeile& z : bilanz)
        zellen.push_back({kanalName(z.kanal), z.art, z.inhalt, std::to_string(z.gesendet), std::to_string(z.empfangen),
                          ergebnis(z)});
    std::vector<std::size_t> spalte(titel.size());
    for (std::size_t i = 0; i < titel.size(); ++i) {
        spalte[i] = breite(titel[i]);
        for (const auto& zeile : zellen) spalte[i] = std::max(spalte[i], breite(zeile[i]));
    }
    const auto zeileAusgeben = [&](const std::vector<std::string>& z) {
        for (std::size_t i = 0; i < z.size(); ++i) {
            const bool zahl = i == 3 || i == 4;
            const std::string fuellung(spalte[i] - breite(z[i]), ' ');
            aus << (i ? "  " : "") << (zahl ? fuellung + z[i] : i + 1 < z.size() ? z[i] + fuellung : z[i]);
        }
        aus << '\n';
    };
    aus << '\n';
    zeileAusgeben(titel);
    std::size_t gesamt = 2 * (titel.size() - 1);
    for (std::size_t b : spalte) gesamt += b;
    aus << std::string(gesamt, '-') << '\n';
    for (const auto& z : zellen) zeileAusgeben(z);
    const auto gesendet = std::count_if(bilanz.begin(), bilanz.end(), [](const BilanzZeile& z) { return z.gesendet > 0; });
    if (bilanzStimmt(bilanz))
        aus << "\nAlles empfangen: " << gesendet << " Sendungen, jede so oft wie gesendet, nichts anderes.\n";
    else
        aus << "\nNICHT alles wie gesendet empfangen.\n";
    aus.flush();
}

}  // namespace tonwerk::werkzeug
