#include "rauschmessung.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>
#include <random>
#include <span>
#include <stdexcept>
#include <vector>

#include "demo_sendungen.h"
#include "hochtasten.h"
#include "referenz/referenzsignal.h"
#include "stueckweise.h"
#include "test_plattform.h"
#include "tonwerk/core/mitglieder.h"
#include "tonwerk/transmit/fms_senden.h"
#include "tonwerk/transmit/poc_senden.h"
#include "tonwerk/transmit/tonruf_senden.h"
#include "tonwerk/transmit/zvei_senden.h"

namespace tonwerk::rauschmessung {

namespace {

// One transmission: its samples around the zero line at 11025 Hz, without the
// transmit file's silence before and after, and what a receiver should report.
struct Sendung {
    std::vector<double> ton;
    std::string schluessel;  // EmpfangsSchluessel of the event
    std::string adresse;     // RIC, Kennung or number; empty for tone calls
};

std::string adresseVon(const POCType& t) { return std::to_string(t.RIC); }
std::string adresseVon(const FmsTlgType& t) { return t.Kennung; }
std::string adresseVon(const ZVEIType& t) { return t.ZVEINr; }

bool istTonruf(Signalart a) { return a == Signalart::TonrufI || a == Signalart::TonrufII || a == Signalart::TonrufIILang; }

std::string zufallsText(std::mt19937& z, std::string_view zeichen, std::size_t laenge) {
    std::string s;
    for (std::size_t i = 0; i < laenge; ++i) s += zeichen[z() % zeichen.size()];
    return s;
}

// The generator's samples without the silence at either end.
std::vector<double> ohneStille(const Tongenerator& g) {
    const auto p = g.Proben();
    std::size_t von = 0, bis = p.size();
    while (von < bis && p[von] == 128) ++von;
    while (bis > von && p[bis - 1] == 128) --bis;
    std::vector<double> t(bis - von);
    for (std::size_t i = von; i < bis; ++i) t[i - von] = static_cast<double>(p[i]) - 128.0;
    return t;
}

Sendung zufallsSendung(Signalart art, std::mt19937& z, Tongenerator& g, const Einstellungen& e) {
    Sendung s;
    switch (art) {
        case Signalart::FMS: {
            FmsTlgType t;
            t.Kennung = zufallsText(z, "0123456789ABCDEF", 8);
            t.Richtung = static_cast<Integer>(z() % 2);
            t.Status = static_cast<Integer>(z() % 16);
            t.tki = static_cast<Integer>(z() % 4);
            t.Baustufe = static_cast<Integer>(z() % 2);
            FmsSendeAudio(g, e, t.Kennung, t.Richtung, t.Status, t.tki, t.Baustufe, "");
            s.schluessel = werkzeug::EmpfangsSchluessel(t);
            s.adresse = t.Kennung;
            break;
        }
        case Signalart::ZVEI: {
            ZVEIType t;
            t.ZVEINr = zufallsText(z, "0123456789", 5);
            ZveiSendeAudio(g, e, t.ZVEINr, Falsch, 0);
            s.schluessel = werkzeug::EmpfangsSchluessel(t);
            s.adresse = t.ZVEINr;
            break;
        }
        case Signalart::POC512:
        case Signalart::POC1200: {
            POCType t;
            t.RIC = static_cast<Long>(1 + z() % 2097151);
            const auto funktion = static_cast<Long>(z() % 4);
            t.Funktion = funktion + 1;
            t.Text = zufallsText(z, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,:-/", 4 + z() % 37);
            t.Text += zufallsText(z, "ABCXYZ0189", 1);  // a blank at the end is not told from padding
            const std::string text = t.Text;
            PocSendeAudio(g, e, PocSendeauftrag{art == Signalart::POC512 ? 0 : 1, t.RIC, funktion, text});
            s.schluessel = werkzeug::EmpfangsSchluessel(t);
            s.adresse = adresseVon(t);
            break;
        }
        case Signalart::TonrufI:
        case Signalart::TonrufII:
        case Signalart::TonrufIILang: {
            TonrufType t;
            t.tonruf = art == Signalart::TonrufI ? 0 : art == Signalart::TonrufII ? 2 : 3;
            TonrufSendeAudio(g, e, t.tonruf);
            s.schluessel = werkzeug::EmpfangsSchluessel(t);
            break;
        }
    }
    s.ton = ohneStille(g);
    return s;
}

// The audio depends on everything but the filter, so both settings hear the same.
std::uint32_t saatFuer(const Zelle& z) {
    std::seed_seq s{z.saat, static_cast<std::uint32_t>(z.art), static_cast<std::uint32_t>(z.rate),
                    static_cast<std::uint32_t>(std::lround(z.snrDb * 10))};
    std::uint32_t w = 0;
    s.generate(&w, &w + 1);
    return w;
}

struct Aufnahme {
    std::vector<double> x;            // around 0, 8-bit units, at the capture rate
    std::vector<std::string> schluessel;
    std::vector<std::string> adresse;  // of each message: RIC, Kennung or number
    std::vector<std::size_t> anfang;  // first frame of each message
};

// POCSAG of the reference generator at the transmit level (60 of 128), one message
// per transmission, exact bit clock; the same random contents as the transmitter's.
Aufnahme referenzAufnehmen(const Zelle& zelle, std::mt19937& z) {
    const double pegel = 20.0 * std::log10(60.0 / 128.0);
    referenz::Referenzsignal r(zelle.rate);
    r.stille(0.5);
    Aufnahme a;
    for (int i = 0; i < zelle.anzahl; ++i) {
        POCType t;
        t.RIC = static_cast<Long>(1 + z() % 2097151);
        const auto funktion = static_cast<Long>(z() % 4);
        t.Funktion = funktion + 1;
        t.Text = zufallsText(z, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,:-/", 4 + z() % 37);
        t.Text += zufallsText(z, "ABCXYZ0189", 1);
        const referenz::PocSendung s =
            referenz::pocSendung({{static_cast<std::uint32_t>(t.RIC), static_cast<int>(funktion), t.Text}});
        a.anfang.push_back(r.poc(s, zelle.art == Signalart::POC512 ? 512 : 1200, pegel).anfang);
        a.schluessel.push_back(werkzeug::EmpfangsSchluessel(t));
        a.adresse.push_back(adresseVon(t));
        r.stille(0.4 + 0.4 * static_cast<double>(z() % 1001) / 1000.0);
    }
    r.stille(1.0);
    r.rauschen(zelle.snrDb, z());
    a.x.resize(r.laenge());
    for (std::size_t i = 0; i < a.x.size(); ++i) a.x[i] = 128.0 * r.proben()[i];
    return a;
}

Aufnahme aufnehmen(const Zelle& zelle, std::mt19937& z) {
    Einstellungen e;
    e.GenaueFrequenzen = Wahr;
    Tongenerator g(e.Ausgangspegel);
    const int faktor = zelle.rate / 11025;
    Aufnahme a;
    a.x.assign(static_cast<std::size_t>(zelle.rate / 2), 0.0);
    double leistung = 0;
    std::size_t an = 0;
    for (int i = 0; i < zelle.anzahl; ++i) {
        const Sendung s = zufallsSendung(zelle.art, z, g, e);
        const std::vector<double> ton = test::sincHochtasten(std::span<const double>(s.ton), faktor);
        a.anfang.push_back(a.x.size());
        a.schluessel.push_back(s.schluessel);
        a.adresse.push_back(s.adresse);
        for (double v : ton) leistung += v * v;
        an += ton.size();
        a.x.insert(a.x.end(), ton.begin(), ton.end());
        const double pause = 0.4 + 0.4 * static_cast<double>(z() % 1001) / 1000.0;
        a.x.insert(a.x.end(), static_cast<std::size_t>(std::lround(pause * zelle.rate)), 0.0);
    }
    a.x.insert(a.x.end(), static_cast<std::size_t>(zelle.rate), 0.0);
    const double rauschLeistung = (an > 0 ? leistung / static_cast<double>(an) : 0.0) / std::pow(10.0, zelle.snrDb / 10);
    std::mt19937_64 rz(z());
    std::normal_distribution<double> rauschen(0.0, std::sqrt(rauschLeistung));
    for (double& v : a.x) v += rauschen(rz);
    return a;
}

// Sent messages matched to events by their key, each event used once. An event
// left over is a repeat when its key was sent, garbled when its address was, and
// invented otherwise.
Ergebnis nachSchluessel(const Aufnahme& a, const std::vector<std::pair<std::string, std::string>>& erhalten) {
    std::map<std::string, int> offen;
    std::map<std::string, std::string> adresse;
    for (const auto& [s, ad] : erhalten) {
        ++offen[s];
        adresse[s] = ad;
    }
    Ergebnis r;
    r.gesendet = static_cast<int>(a.schluessel.size());
    for (const std::string& s : a.schluessel) {
        auto it = offen.find(s);
        if (it != offen.end() && it->second > 0) {
            --it->second;
            ++r.richtig;
        }
    }
    const std::set<std::string> schluessel(a.schluessel.begin(), a.schluessel.end());
    const std::set<std::string> adressen(a.adresse.begin(), a.adresse.end());
    for (const auto& [s, n] : offen) {
        r.falsch += n;
        if (schluessel.count(s) != 0) continue;
        (adressen.count(adresse[s]) != 0 ? r.verstuemmelt : r.erfunden) += n;
    }
    return r;
}

}  // namespace

std::string name(Signalart art) {
    switch (art) {
        case Signalart::FMS: return "FMS";
        case Signalart::ZVEI: return "ZVEI";
        case Signalart::POC512: return "POCSAG 512";
        case Signalart::POC1200: return "POCSAG 1200";
        case Signalart::TonrufI: return "Tonruf I";
        case Signalart::TonrufII: return "Tonruf II";
        case Signalart::TonrufIILang: return "Tonruf II lang";
    }
    return "?";
}

bool empfangsfilterVorhanden() { return findeMitglied("Empfangsfilter") != nullptr; }

Ergebnis messen(const Zelle& zelle) {
    if (zelle.rate != 11025 && zelle.rate != 22050 && zelle.rate != 44100)
        throw std::invalid_argument("Rate " + std::to_string(zelle.rate) + ": 11025, 22050 oder 44100");
    std::mt19937 z(saatFuer(zelle));
    const bool poc = zelle.art == Signalart::POC512 || zelle.art == Signalart::POC1200;
    const Aufnahme a = zelle.referenz && poc ? referenzAufnehmen(zelle, z) : aufnehmen(zelle, z);

    test::TestKontrolle rx;
    rx.fw.Samplerates(zelle.rate == 22050 ? 1 : zelle.rate == 44100 ? 2 : 0);
    rx.fw.PocBaudRates(zelle.art == Signalart::POC1200 ? 1 : 0);
    rx.fw.DecRechtsFMS(Falsch);
    rx.fw.DecRechtsZVEI(Falsch);
    rx.fw.DecRechtsPOC(Falsch);
    rx.fw.DecRechtsTonruf(Falsch);
    if (zelle.empfangsfilter && empfangsfilterVorhanden()) rx.fw.schreiben("Empfangsfilter", Wert{Long{Wahr}});
    if (rx.fw.SoundStart() != 0) throw std::runtime_error("SoundStart fehlgeschlagen");

    std::vector<double> links(a.x.size());
    for (std::size_t i = 0; i < a.x.size(); ++i) links[i] = a.x[i] + 128.0;
    // The frame up to which the audio had been processed when each tone-call event came.
    const auto puffer = static_cast<std::size_t>(rx.fw.RecordPufferSize());
    std::vector<std::size_t> tonrufBis;
    std::size_t verarbeitet = 0;
    test::stueckweiseEinspeisen(rx, test::stereo(test::alsBytes(links), std::vector<std::uint8_t>{}), [&] {
        verarbeitet += puffer;
        tonrufBis.resize(rx.ereignisse.tonrufA.size(), verarbeitet);
    });

    const test::Mitschrift& m = rx.ereignisse;
    std::vector<std::pair<std::string, std::string>> erhalten;
    const auto nehmen = [&](const auto& ereignisse) {
        for (const auto& t : ereignisse) erhalten.emplace_back(werkzeug::EmpfangsSchluessel(t), adresseVon(t));
    };
    switch (zelle.art) {
        case Signalart::FMS: nehmen(m.fms); break;
        case Signalart::ZVEI: nehmen(m.zvei); break;
        case Signalart::POC512:
        case Signalart::POC1200: nehmen(m.poc); break;
        default: break;
    }
    if (!istTonruf(zelle.art)) {
        Ergebnis r = nachSchluessel(a, erhalten);
        if (poc) r.fremd = static_cast<int>(m.fms.size() + m.zvei.size());
        return r;
    }

    // A tone call is reported when it ends or, broken up, while it is on: an event
    // belongs to the last call that had begun 0.3 s before the buffer it came in
    // ended. With 0.4 s or more between calls and buffers of at most 0.5 s, the
    // report of a call's end cannot come that late into the next one.
    Ergebnis r;
    r.gesendet = zelle.anzahl;
    std::vector<int> passend(a.anfang.size(), 0), andere(a.anfang.size(), 0);
    const auto vorlauf = static_cast<std::size_t>(0.3 * zelle.rate);
    for (std::size_t i = 0; i < m.tonrufA.size(); ++i) {
        const auto nach = std::upper_bound(a.anfang.begin(), a.anfang.end(), tonrufBis[i],
                                           [&](std::size_t bis, std::size_t anfang) { return bis < anfang + vorlauf; });
        if (nach == a.anfang.begin()) {
            ++r.falsch;
            continue;
        }
        const auto k = static_cast<std::size_t>(nach - a.anfang.begin() - 1);
        ++(werkzeug::EmpfangsSchluessel(m.tonrufA[i]) == a.schluessel[k] ? passend[k] : andere[k]);
    }
    for (std::size_t k = 0; k < passend.size(); ++k) {
        if (passend[k] == 1 && andere[k] == 0) ++r.richtig;
        r.falsch += andere[k] + std::max(0, passend[k] - 1);
    }
    return r;
}

std::string alsText(const Ergebnis& e) {
    char zahl[16];
    if (e.richtig == 0) {
        std::snprintf(zahl, sizeof zahl, "0");
    } else {
        std::snprintf(zahl, sizeof zahl, "%.2f", e.anteil());
    }
    std::string s = zahl;
    if (e.falsch > 0) s += " (+" + std::to_string(e.falsch) + ")";
    return s;
}

std::string alsZaehlung(const Ergebnis& e) {
    std::string s = std::to_string(e.richtig) + "/" + std::to_string(e.verstuemmelt) + "/" + std::to_string(e.erfunden);
    if (e.fremd > 0) s += " +" + std::to_string(e.fremd) + " FMS/ZVEI";
    return s;
}

}  // namespace tonwerk::rauschmessung
