#include "tonwerk/core/mitglieder.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "tonwerk/core/funkwandler.h"

namespace tonwerk {

namespace {

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

// Integer and Boolean travel as Long.
Wert alsWert(const std::string& v) { return v; }
Wert alsWert(Long v) { return v; }

template <class T>
T ausWert(const std::string& name, const Wert& w) {
    if constexpr (std::is_same_v<T, std::string>) {
        return alsText(name, w);
    } else if constexpr (std::is_same_v<T, Integer>) {
        return alsInteger(name, w);
    } else {
        static_assert(std::is_same_v<T, Long>);
        return alsLong(name, w);
    }
}

// The parameter list names one parameter per comma, none when empty.
void anzahlPruefen(const std::string& name, const std::vector<Wert>& a, std::string_view parameter) {
    const auto n = parameter.empty() ? 0 : 1 + static_cast<std::size_t>(std::count(parameter.begin(), parameter.end(), ','));
    if (a.size() != n)
        throw std::invalid_argument(name + ": " + std::to_string(n) + " Argumente erwartet, " +
                                    std::to_string(a.size()) + " erhalten");
}

std::string zeilen(std::initializer_list<const char*> z) {
    std::string text;
    for (const char* zeile : z) {
        if (!text.empty()) text += "\r\n";
        text += zeile;
    }
    return text;
}

std::string intern(const char* standard) { return zeilen({"Interner Wert", ("Standard=" + std::string(standard)).c_str()}); }

std::string kanalSchalter(bool links, const char* signal) {
    const std::string seite = links ? "linken" : "rechten";
    const std::string satz = std::string(signal) == "Tonrufe" || std::string(signal) == "Zusatztöne"
                                 ? "Gibt an, ob auf dem " + seite + " Kanal " + signal + " decodiert werden."
                                 : "Gibt an, ob auf dem " + seite + " Kanal " + signal + " decodiert wird.";
    return zeilen({satz.c_str(), "False = Nein", "True = Ja (default)"});
}

Mitglied eig(const char* name, Zugriff z, const char* typ, const char* standard, std::string hilfe,
             Wert (*lesen)(const Funkwandler&), void (*schreiben)(Funkwandler&, const Wert&)) {
    return {name,
            Art::Eigenschaft,
            z,
            typ,
            "",
            standard,
            std::move(hilfe),
            z == Zugriff::Schreiben ? nullptr : lesen,
            z == Zugriff::Lesen ? nullptr : schreiben,
            nullptr};
}
Mitglied meth(const char* name, const char* typ, const char* parameter, std::string hilfe,
              Wert (*aufrufen)(Funkwandler&, std::vector<Wert>&)) {
    return {name, Art::Methode, Zugriff::Beides, typ, parameter, "", std::move(hilfe), nullptr, nullptr, aufrufen};
}
Mitglied ereignis(const char* name, const char* parameter, std::string hilfe) {
    return {name, Art::Ereignis, Zugriff::Beides, "", parameter, "", std::move(hilfe), nullptr, nullptr, nullptr};
}

// A property's getter and setter by name; the value's type follows the getter's.
#define TW_EIG(N, Z, TYP, STANDARD, HILFE)                                                          \
    eig(#N, Z, TYP, STANDARD, HILFE, [](const Funkwandler& f) { return alsWert(f.N()); },        \
        [](Funkwandler& f, const Wert& w) {                                                      \
            f.N(ausWert<std::decay_t<decltype(std::declval<const Funkwandler&>().N())>>(#N, w)); \
        })

// A method by name: its arguments are counted against the parameter list and
// converted to the parameters' types by the call given.
#define TW_METH(N, TYP, PARAMETER, HILFE, ...)                    \
    meth(#N, TYP, PARAMETER, HILFE, [](Funkwandler& f, std::vector<Wert>& a) -> Wert { \
        [[maybe_unused]] const std::string name = #N;             \
        anzahlPruefen(name, a, PARAMETER);                        \
        __VA_ARGS__                                               \
    })

std::vector<Mitglied> tabelle() {
    constexpr Zugriff L = Zugriff::Lesen, S = Zugriff::Schreiben, B = Zugriff::Beides;
    const std::string crc = zeilen({"Gibt an, ob bei FMS-Decodierung die CRC-Checksumme überprüft wird. Bei einer "
                                    "fehlerhaften CRC-Checksumme wird das Telegramm dann verworfen.",
                                    "False = Nein", "True = Ja (default)"});
    const std::string trbos = zeilen({"Legt fest, ob die Kurztextübertragung der Leitstelle TR-BOS konform sein muss.",
                                      "Werte:", "True=Baustufe muss 0 und TKI muss 3 sein",
                                      "False: Baustufe und TKI werden nicht berücksichtigt (Default)"});
    return {
        TW_EIG(FMScrcCheck, L, "Boolean", "True", crc),
        TW_EIG(FMSVorlaufMax, L, "Integer", "19", intern("19")),
        TW_EIG(FMSVorlaufMin, L, "Integer", "7", intern("7")),
        TW_METH(ZVEISenden, "Long",
             "rufnummer As String, DoppeltSenden As Boolean, ZusatzTon As Long, Funkkanal As Integer, "
             "FunkHalten As Long",
             "Sendet eine ZVEI 5-Tonfolge",
            return f.ZVEISenden(alsText(name, a[0]), alsInteger(name, a[1]), alsLong(name, a[2]),
                                alsInteger(name, a[3]), alsLong(name, a[4]));),
        TW_METH(FMSSenden, "Long",
             "Kennung As String, Richtung As Integer, Status As Integer, tki As Integer, Baustufe As Integer, "
             "Text As String, Funkkanal As Integer, FunkHalten As Long",
             "Sendet ein FMS-Telegramm",
            return f.FMSSenden(alsText(name, a[0]), alsInteger(name, a[1]), alsInteger(name, a[2]),
                               alsInteger(name, a[3]), alsInteger(name, a[4]), alsText(name, a[5]),
                               alsInteger(name, a[6]), alsLong(name, a[7]));),
        TW_METH(FunkAufzeichnen, "Long", "ZeitLaenge As Long, DateiName As String",
             "Der Funk wird hiermit als Wave-Datei für die Zeitlänge in Sekunden aufgezeichnet",
            return f.FunkAufzeichnen(alsLong(name, a[0]), alsText(name, a[1]));),
        TW_METH(SoundStart, "Long", "", zeilen({"Startet die Decodierung.", "Rückgabewert = 0 wenn alles OK"}),
            return f.SoundStart();),
        TW_METH(Soundstop, "Long", "", zeilen({"Beendet die Decodierung.", "Rückgabewert = 0 wenn alles OK"}),
            return f.Soundstop();),
        TW_EIG(ZVEIPrueflaenge, L, "Long", "40", intern("40")),
        TW_METH(GetSoundKartenCount, "Variant", "", "Gibt die Anzahl der im System vorhandenen Soundkarten zurück",
            return f.GetSoundKartenCount();),
        TW_METH(GetSoundkarteInfo, "Long", "SCard As Long, SName As String, SFormat As Long",
             "Gibt Informationen zur übergebenen Soundkarte zurück",
            std::string sname;
            Long sformat = 0;
            const Long r = f.GetSoundkarteInfo(alsLong(name, a[0]), sname, sformat);
            // A failed call leaves the caller's outputs as they were.
            if (r == 0) {
                a[1] = sname;
                a[2] = sformat;
            }
            return r;),
        TW_EIG(SoundCard, B, "Long", "0",
            zeilen({"Wählt die aktive Soundkarte aus oder gibt die aktive Soundkarte zurück",
                    "Wertebereich: 0 bis GetSoundKartenCount -1"})),
        TW_EIG(Samplerates, B, "Long", "0",
            zeilen({"Samplerate der Soundkarte", "0 = 11.025 khz (Default)", "1 = 22.050 khz", "2 = 44.100 khz"})),
        TW_EIG(PocBaudRates, B, "Integer", "0",
            zeilen({"Baudrate der POCSAG-Decodierung", "0 = 512 Baud (Default)", "1 = 1200 Baud"})),
        TW_EIG(SoundStatus, B, "Long", "0",
            zeilen({"Gibt des Status der Soundkarte zurück.", "0 = Decodierung nicht gestartet",
                    "1 = Decodierung im Startmodus", "2 = Decodierung läuft", "3 = Decodierung wird beendet",
                    "4 = OCX wrd initialisiert"})),
        TW_EIG(PocPraambels, B, "Integer", "500",
            zeilen({"Länge der Präambel bei der POCSAG-Decodierung.", "Standardwert = 500"})),
        TW_EIG(ZVEI70msMin, B, "Long", "73", intern("73")),
        TW_EIG(ZVEI70msMax, B, "Long", "80", intern("80")),
        TW_EIG(ZVEIPrueflaenge, S, "Long", "40", intern("40")),
        TW_EIG(ZVEIFehlerMax, B, "Long", "2", intern("2")),
        TW_EIG(ZVEIDiffMax, B, "Long", "1", intern("1")),
        TW_EIG(SampleFehlerRate, B, "Integer", "1", intern("1")),
        TW_EIG(FMScrcCheck, S, "Boolean", "True", crc),
        TW_EIG(FMSOrtLaenge, B, "Long", "4", intern("4")),
        TW_EIG(FMSVorlaufMin, S, "Integer", "7", intern("7")),
        TW_EIG(FMSVorlaufMax, S, "Integer", "19", intern("19")),
        TW_EIG(DecLinksFMS, B, "Boolean", "True", kanalSchalter(true, "FMS")),
        TW_EIG(DecLinksZVEI, B, "Boolean", "True", kanalSchalter(true, "ZVEI")),
        TW_EIG(DecLinksPOC, B, "Boolean", "True", kanalSchalter(true, "POCSAG")),
        TW_EIG(DecRechtsFMS, B, "Boolean", "True", kanalSchalter(false, "FMS")),
        TW_EIG(DecRechtsZVEI, B, "Boolean", "True", kanalSchalter(false, "ZVEI")),
        TW_EIG(DecRechtsPOC, B, "Boolean", "True", kanalSchalter(false, "POCSAG")),
        TW_EIG(PocSyncWord, B, "String", "01111100110100100001010111011000",
            "Synchronisationswort bei der POCSAG-Decodierung"),
        TW_EIG(PocIdleWord, B, "String", "01111010100010011100000110010111", "Idle-Wort bei der POCSAG-Decodierung"),
        TW_EIG(FMSKurztextTRBOS, L, "Boolean", "False", trbos),
        TW_METH(FunkEmpfangen, "Long", "Leitung As Long",
             zeilen({"Schaltet die übergebene Leitung an der seriellen Schnittstelle (FunkAnschluss) auf Lo-Pegel.",
                     "Werte für Leitung:", "1=DTR-Leitung", "2=RTS-Leitung", "Rückgabewert:", "0=alles OK",
                     "1=Fehler aufgetreten"}),
            return f.FunkEmpfangen(alsLong(name, a[0]));),
        TW_METH(FunkSenden, "Long", "Leitung As Long",
             zeilen({"Schaltet die übergebene Leitung an der seriellen Schnittstelle (FunkAnschluss) auf Hi-Pegel.",
                     "Werte für Leitung:", "1=DTR-Leitung", "2=RTS-Leitung", "Rückgabewert:", "0=alles OK",
                     "1=Anschluss nicht vorhanden"}),
            return f.FunkSenden(alsLong(name, a[0]));),
        TW_METH(POCSenden, "Long",
             "Baud As Long, RIC As Long, Funktion As Long, Text As String, Funkkanal As Integer, FunkHalten As Long",
             zeilen({"Sendet eine POCSAG-Meldung.", "Baud=0 (512 Baud), 1 (1200 Baud)",
                     "RIC = die RIC-Nummer des Empfängers", "Funktion=die Werte der Funktionbits (0 bis 3)",
                     "Text=der Text (max. 255 Zeichen)"}),
            return f.POCSenden(alsLong(name, a[0]), alsLong(name, a[1]), alsLong(name, a[2]), alsText(name, a[3]),
                               alsInteger(name, a[4]), alsLong(name, a[5]));),
        TW_EIG(FunkAnschluss, B, "Integer", "1",
            zeilen({"Legt oder gibt die Serielle Schnittstelle  für den Anschluss des Funkgerätes fest.", "1 = Com1",
                    "2 = Com2", "3 = Com3", "4 = Com4"})),
        TW_METH(TonrufSenden, "Long", "tonruf As Long, Funkkanal As Integer, FunkHalten As Long",
             zeilen({"Sendet einen Tonruf", "Werte für Tonruf:", "0=Tonruf I - kurz (1750 Hz, Dauer 1 Sec)",
                     "1=Tonruf I - lang (1750 Hz, Dauer 4 Sec)", "2=Tonruf II - kurz (2135 Hz, Dauer 1 Sec)",
                     "3=Tonruf II - lang (2135 Hz, Dauer 4 Sec)"}),
            return f.TonrufSenden(alsLong(name, a[0]), alsInteger(name, a[1]), alsLong(name, a[2]));),
        TW_EIG(Ausgangspegel, B, "Integer", "60",
            zeilen({"Setzt oder gibt den Ausgangspegel für FMS- und ZVEI-Aussendungen zurück.",
                    "Wertebereich: 0 bis 127"})),
        TW_EIG(PocAusgangspegel, B, "Integer", "60",
            zeilen({"Setzt oder gibt den Ausgangspegel für POCAG-Aussendungen zurück.", "Wertebereich: 0 bis 127"})),
        TW_EIG(PocPhaseUmkehren, B, "Boolean", "False",
            zeilen({"Legt die Phasenlage für logisch 0 und 1 bei POCSAG-Aussendung fest.",
                    "False = logisch 0 Mittenfrequenz +4Khz, logisch 1 Mittenfrequenz -4Khz (Standard)",
                    "True = genau anders herum"})),
        TW_EIG(PocSendPreambellaenge, B, "Long", "576", ""),
        TW_EIG(DecLinksTonruf, B, "Boolean", "True", kanalSchalter(true, "Tonrufe")),
        TW_EIG(DecRechtsTonruf, B, "Boolean", "True", kanalSchalter(false, "Tonrufe")),
        TW_EIG(FMSKurztextTRBOS, S, "Boolean", "False", trbos),
        TW_EIG(FMSSendeVorlauf, B, "Long", "200",
            zeilen({"Legt oder gibt die Länge des Sendevorlaufs in ms beim Senden von FMS-Telegrammen fest.",
                    "Standardwert=200"})),
        // Our own.
        TW_EIG(GenaueFrequenzen, B, "Boolean", "False",
            zeilen({"Legt fest, ob FMS-Telegramme, ZVEI-Folgen und Tonrufe mit genauen Frequenzen und "
                    "POCSAG-Meldungen mit genauem Bittakt gesendet werden.",
                    "False = Phasenschritte in ganzen Grad, einzelne Töne bis 1 % daneben, POCSAG-Läufe einzeln "
                    "gerundet (Standard)",
                    "True = jeder Ton genau auf seiner Frequenz, jedes POCSAG-Bit an seinem genauen Platz"})),
        TW_EIG(Empfangsfilter, B, "Boolean", "False",
            zeilen({"Legt fest, ob jeder Decoder das Signal für seine Signalart aufbereitet erhält (Bandbegrenzung, "
                    "Tonerkennung, Gleichanteil- und Flankenauswertung). Hält deutlich mehr Rauschen, Gleichspannung "
                    "und Wechselspannungskopplung stand.",
                    "False = Nein, die Decoder lesen das Signal unverändert (default)", "True = Ja"})),
        TW_EIG(PocFehlerkorrektur, B, "Boolean", "True",
            zeilen({"Gibt an, ob bei POCSAG-Decodierung jedes Codewort anhand seiner BCH-Prüfbits und seines "
                    "Paritätsbits geprüft wird und bis zu zwei falsche Bits korrigiert werden. Ein nicht "
                    "korrigierbares Adresswort löst keine Meldung aus.",
                    "False = Nein, die Codewörter werden ungeprüft gelesen", "True = Ja (default)"})),
        TW_EIG(DecLinksZusatzton, B, "Boolean", "True", kanalSchalter(true, "Zusatztöne")),
        TW_EIG(DecRechtsZusatzton, B, "Boolean", "True", kanalSchalter(false, "Zusatztöne")),
        TW_EIG(RecordPufferSize, B, "Long", "5512", ""),
        ereignis("Signalstaerke", "wert As SignalstaerkeType",
                 zeilen({"Tritt ein, wenn ein Puffer mit Daten der Soundkarte gefüllt ist und gibt den "
                         "Durchschnittspegel des Puffers zurück",
                         "Wertebereich = 0 - 128", "0 = -80 dB", "128 = 0 dB"})),
        ereignis("FMSDecodierung", "wert As FmsTlgType", "Tritt ein, wenn ein FMS-Telegramm erkannt wurde"),
        ereignis("ZVEIDecodierung", "wert As ZVEIType", "Tritt ein, wenn eine ZVEI-Alarmierung erkannt wurde"),
        ereignis("POCDecodierung", "wert As POCType", "Tritt ein, wenn eine POCSAG-Meldung erkannt wurde"),
        ereignis("PufferUeberlauf", "wert As Long",
                 zeilen({"Tritt ein, wenn ein Pufferüberlauf eingetreten ist.",
                         "Wert enthält die Anzahl der Pufferüberläufe"})),
        ereignis("WaveRecordEnd", "wert As Long", "Tritt ein, wenn die Funkaufzeichnung beendet ist."),
        ereignis("TonrufDecodierung", "wert As Long", ""),
        ereignis("TonrufDecodierungA", "wert As TonrufType", ""),
        ereignis("ZusatztonDecodierung", "wert As ZusatztonType",
                 zeilen({"Tritt ein, wenn ein Zusatzton einer ZVEI-Alarmierung erkannt wurde",
                         "Zusatzton = 1 (Weckton 2600 Hz) bis 6 (Doppeltöne mit 675 Hz, wie bei ZVEISenden)"})),
    };
}

}  // namespace

const std::vector<Mitglied>& mitglieder() {
    static const std::vector<Mitglied> kTabelle = tabelle();
    return kTabelle;
}

const Mitglied* findeMitglied(std::string_view name) {
    for (const Mitglied& m : mitglieder())
        if (m.name == name) return &m;
    return nullptr;
}

}  // namespace tonwerk
