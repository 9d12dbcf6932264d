// Reading, writing and calling the control's members by name, as a dispatch
// interface would. Values arrive as Long or text and are checked against the
// member's type; a value that does not fit is an error, not a silent wrap.
#include <functional>
#include <limits>
#include <map>
#include <stdexcept>

#include "tonwerk/core/funkwandler.h"
#include "tonwerk/core/mitglieder.h"

namespace tonwerk {

namespace {

[[noreturn]] void unbekannt(const std::string& name) {
    throw std::invalid_argument("Unbekanntes Mitglied: " + name);
}

Long alsLong(const std::string& name, const Wert& w) {
    if (const Long* v = std::get_if<Long>(&w)) return *v;
    throw std::invalid_argument(name + ": Zahl erwartet");
}

Integer alsInteger(const std::string& name, const Wert& w) {
    const Long v = alsLong(name, w);
    if (v < std::numeric_limits<Integer>::min() || v > std::numeric_limits<Integer>::max())
        throw std::out_of_range(name + ": Wert " + std::to_string(v) + " liegt außerhalb von -32768 bis 32767");
    return static_cast<Integer>(v);
}

std::string alsText(const std::string& name, const Wert& w) {
    if (const std::string* v = std::get_if<std::string>(&w)) return *v;
    throw std::invalid_argument(name + ": Text erwartet");
}

struct Eigenschaft {
    std::function<Wert(const Funkwandler&)> lesen;
    std::function<void(Funkwandler&, const std::string&, const Wert&)> schreiben;
};

#define TW_LONG(N) {#N, {[](const Funkwandler& f) -> Wert { return f.N(); }, \
                         [](Funkwandler& f, const std::string& n, const Wert& w) { f.N(alsLong(n, w)); }}}
#define TW_INT(N) {#N, {[](const Funkwandler& f) -> Wert { return Long{f.N()}; }, \
                        [](Funkwandler& f, const std::string& n, const Wert& w) { f.N(alsInteger(n, w)); }}}
#define TW_TEXT(N) {#N, {[](const Funkwandler& f) -> Wert { return f.N(); }, \
                         [](Funkwandler& f, const std::string& n, const Wert& w) { f.N(alsText(n, w)); }}}

const std::map<std::string, Eigenschaft, std::less<>>& eigenschaften() {
    static const std::map<std::string, Eigenschaft, std::less<>> kTabelle = {
        TW_LONG(SoundCard), TW_LONG(Samplerates), TW_LONG(RecordPufferSize), TW_LONG(SoundStatus),
        TW_INT(PocBaudRates), TW_INT(PocPraambels), TW_TEXT(PocSyncWord), TW_TEXT(PocIdleWord),
        TW_INT(FMScrcCheck), TW_INT(FMSVorlaufMin), TW_INT(FMSVorlaufMax), TW_LONG(FMSOrtLaenge),
        TW_INT(FMSKurztextTRBOS), TW_LONG(ZVEI70msMin), TW_LONG(ZVEI70msMax), TW_LONG(ZVEIPrueflaenge),
        TW_LONG(ZVEIFehlerMax), TW_LONG(ZVEIDiffMax), TW_INT(SampleFehlerRate), TW_INT(DecLinksFMS),
        TW_INT(DecLinksZVEI), TW_INT(DecLinksPOC), TW_INT(DecLinksTonruf), TW_INT(DecRechtsFMS),
        TW_INT(DecRechtsZVEI), TW_INT(DecRechtsPOC), TW_INT(DecRechtsTonruf), TW_INT(FunkAnschluss),
        TW_INT(Ausgangspegel), TW_INT(PocAusgangspegel), TW_INT(PocPhaseUmkehren), TW_LONG(PocSendPreambellaenge),
        TW_LONG(FMSSendeVorlauf),
    };
    return kTabelle;
}

#undef TW_LONG
#undef TW_INT
#undef TW_TEXT

void anzahlPruefen(const std::string& name, const std::vector<Wert>& a, std::size_t n) {
    if (a.size() != n)
        throw std::invalid_argument(name + ": " + std::to_string(n) + " Argumente erwartet, " +
                                    std::to_string(a.size()) + " erhalten");
}

}  // namespace

Wert Funkwandler::lesen(const std::string& name) const {
    auto it = eigenschaften().find(name);
    if (it == eigenschaften().end()) unbekannt(name);
    return it->second.lesen(*this);
}

void Funkwandler::schreiben(const std::string& name, const Wert& wert) {
    auto it = eigenschaften().find(name);
    if (it == eigenschaften().end()) unbekannt(name);
    it->second.schreiben(*this, name, wert);
}

Wert Funkwandler::aufrufen(const std::string& name, std::vector<Wert>& a) {
    if (name == "SoundStart") return anzahlPruefen(name, a, 0), SoundStart();
    if (name == "Soundstop") return anzahlPruefen(name, a, 0), Soundstop();
    if (name == "GetSoundKartenCount") return anzahlPruefen(name, a, 0), GetSoundKartenCount();
    if (name == "GetSoundkarteInfo") {
        anzahlPruefen(name, a, 3);
        std::string sname;
        Long sformat = 0;
        const Long r = GetSoundkarteInfo(alsLong(name, a[0]), sname, sformat);
        // A failed call leaves the caller's outputs as they were.
        if (r == 0) {
            a[1] = sname;
            a[2] = sformat;
        }
        return r;
    }
    if (name == "FunkAufzeichnen")
        return anzahlPruefen(name, a, 2), FunkAufzeichnen(alsLong(name, a[0]), alsText(name, a[1]));
    if (name == "FunkSenden") return anzahlPruefen(name, a, 1), FunkSenden(alsLong(name, a[0]));
    if (name == "FunkEmpfangen") return anzahlPruefen(name, a, 1), FunkEmpfangen(alsLong(name, a[0]));
    if (name == "FMSSenden")
        return anzahlPruefen(name, a, 8),
               FMSSenden(alsText(name, a[0]), alsInteger(name, a[1]), alsInteger(name, a[2]), alsInteger(name, a[3]),
                         alsInteger(name, a[4]), alsText(name, a[5]), alsInteger(name, a[6]), alsLong(name, a[7]));
    if (name == "ZVEISenden")
        return anzahlPruefen(name, a, 5), ZVEISenden(alsText(name, a[0]), alsInteger(name, a[1]), alsLong(name, a[2]),
                                                     alsInteger(name, a[3]), alsLong(name, a[4]));
    if (name == "POCSenden")
        return anzahlPruefen(name, a, 6), POCSenden(alsLong(name, a[0]), alsLong(name, a[1]), alsLong(name, a[2]),
                                                    alsText(name, a[3]), alsInteger(name, a[4]), alsLong(name, a[5]));
    if (name == "TonrufSenden")
        return anzahlPruefen(name, a, 3),
               TonrufSenden(alsLong(name, a[0]), alsInteger(name, a[1]), alsLong(name, a[2]));
    unbekannt(name);
}

}  // namespace tonwerk
