#include "tonwerk/core/mitglieder.h"

#include <initializer_list>

namespace tonwerk {

namespace {

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
    const std::string satz = std::string(signal) == "Tonrufe"
                                 ? "Gibt an, ob auf dem " + seite + " Kanal Tonrufe decodiert werden."
                                 : "Gibt an, ob auf dem " + seite + " Kanal " + signal + " decodiert wird.";
    return zeilen({satz.c_str(), "False = Nein", "True = Ja (default)"});
}

Mitglied eig(const char* name, Zugriff z, const char* typ, const char* standard, std::string hilfe) {
    return {name, Art::Eigenschaft, z, typ, "", standard, std::move(hilfe)};
}
Mitglied meth(const char* name, const char* typ, const char* parameter, std::string hilfe) {
    return {name, Art::Methode, Zugriff::Beides, typ, parameter, "", std::move(hilfe)};
}
Mitglied ereignis(const char* name, const char* parameter, std::string hilfe) {
    return {name, Art::Ereignis, Zugriff::Beides, "", parameter, "", std::move(hilfe)};
}

std::vector<Mitglied> tabelle() {
    constexpr Zugriff L = Zugriff::Lesen, S = Zugriff::Schreiben, B = Zugriff::Beides;
    const std::string crc = zeilen({"Gibt an, ob bei FMS-Decodierung die CRC-Checksumme überprüft wird. Bei einer "
                                    "fehlerhaften CRC-Checksumme wird das Telegramm dann verworfen.",
                                    "False = Nein", "True = Ja (default)"});
    const std::string trbos = zeilen({"Legt fest, ob die Kurztextübertragung der Leitstelle TR-BOS konform sein muss.",
                                      "Werte:", "True=Baustufe muss 0 und TKI muss 3 sein",
                                      "False: Baustufe und TKI werden nicht berücksichtigt (Default)"});
    return {
        eig("FMScrcCheck", L, "Boolean", "True", crc),
        eig("FMSVorlaufMax", L, "Integer", "19", intern("19")),
        eig("FMSVorlaufMin", L, "Integer", "7", intern("7")),
        meth("ZVEISenden", "Long",
             "rufnummer As String, DoppeltSenden As Boolean, ZusatzTon As Long, Funkkanal As Integer, "
             "FunkHalten As Long",
             "Sendet eine ZVEI 5-Tonfolge"),
        meth("FMSSenden", "Long",
             "Kennung As String, Richtung As Integer, Status As Integer, tki As Integer, Baustufe As Integer, "
             "Text As String, Funkkanal As Integer, FunkHalten As Long",
             "Sendet ein FMS-Telegramm"),
        meth("FunkAufzeichnen", "Long", "ZeitLaenge As Long, DateiName As String",
             "Der Funk wird hiermit als Wave-Datei für die Zeitlänge in Sekunden aufgezeichnet"),
        meth("SoundStart", "Long", "", zeilen({"Startet die Decodierung.", "Rückgabewert = 0 wenn alles OK"})),
        meth("Soundstop", "Long", "", zeilen({"Beendet die Decodierung.", "Rückgabewert = 0 wenn alles OK"})),
        eig("ZVEIPrueflaenge", L, "Long", "40", intern("40")),
        meth("GetSoundKartenCount", "Variant", "", "Gibt die Anzahl der im System vorhandenen Soundkarten zurück"),
        meth("GetSoundkarteInfo", "Long", "SCard As Long, SName As String, SFormat As Long",
             "Gibt Informationen zur übergebenen Soundkarte zurück"),
        eig("SoundCard", B, "Long", "0",
            zeilen({"Wählt die aktive Soundkarte aus oder gibt die aktive Soundkarte zurück",
                    "Wertebereich: 0 bis GetSoundKartenCount -1"})),
        eig("Samplerates", B, "Long", "0",
            zeilen({"Samplerate der Soundkarte", "0 = 11.025 khz (Default)", "1 = 22.050 khz", "2 = 44.100 khz"})),
        eig("PocBaudRates", B, "Integer", "0",
            zeilen({"Baudrate der POCSAG-Decodierung", "0 = 512 Baud (Default)", "1 = 1200 Baud"})),
        eig("SoundStatus", B, "Long", "0",
            zeilen({"Gibt des Status der Soundkarte zurück.", "0 = Decodierung nicht gestartet",
                    "1 = Decodierung im Startmodus", "2 = Decodierung läuft", "3 = Decodierung wird beendet",
                    "4 = OCX wrd initialisiert"})),
        eig("PocPraambels", B, "Integer", "500",
            zeilen({"Länge der Präambel bei der POCSAG-Decodierung.", "Standardwert = 500"})),
        eig("ZVEI70msMin", B, "Long", "73", intern("73")),
        eig("ZVEI70msMax", B, "Long", "80", intern("80")),
        eig("ZVEIPrueflaenge", S, "Long", "40", intern("40")),
        eig("ZVEIFehlerMax", B, "Long", "2", intern("2")),
        eig("ZVEIDiffMax", B, "Long", "1", intern("1")),
        eig("SampleFehlerRate", B, "Integer", "1", intern("1")),
        eig("FMScrcCheck", S, "Boolean", "True", crc),
        eig("FMSOrtLaenge", B, "Long", "4", intern("4")),
        eig("FMSVorlaufMin", S, "Integer", "7", intern("7")),
        eig("FMSVorlaufMax", S, "Integer", "19", intern("19")),
        eig("DecLinksFMS", B, "Boolean", "True", kanalSchalter(true, "FMS")),
        eig("DecLinksZVEI", B, "Boolean", "True", kanalSchalter(true, "ZVEI")),
        eig("DecLinksPOC", B, "Boolean", "True", kanalSchalter(true, "POCSAG")),
        eig("DecRechtsFMS", B, "Boolean", "True", kanalSchalter(false, "FMS")),
        eig("DecRechtsZVEI", B, "Boolean", "True", kanalSchalter(false, "ZVEI")),
        eig("DecRechtsPOC", B, "Boolean", "True", kanalSchalter(false, "POCSAG")),
        eig("PocSyncWord", B, "String", "01111100110100100001010111011000",
            "Synchronisationswort bei der POCSAG-Decodierung"),
        eig("PocIdleWord", B, "String", "01111010100010011100000110010111", "Idle-Wort bei der POCSAG-Decodierung"),
        eig("FMSKurztextTRBOS", L, "Boolean", "False", trbos),
        meth("FunkEmpfangen", "Long", "Leitung As Long",
             zeilen({"Schaltet die übergebene Leitung an der seriellen Schnittstelle (FunkAnschluss) auf Lo-Pegel.",
                     "Werte für Leitung:", "1=DTR-Leitung", "2=RTS-Leitung", "Rückgabewert:", "0=alles OK",
                     "1=Fehler aufgetreten"})),
        meth("FunkSenden", "Long", "Leitung As Long",
             zeilen({"Schaltet die übergebene Leitung an der seriellen Schnittstelle (FunkAnschluss) auf Hi-Pegel.",
                     "Werte für Leitung:", "1=DTR-Leitung", "2=RTS-Leitung", "Rückgabewert:", "0=alles OK",
                     "1=Anschluss nicht vorhanden"})),
        meth("POCSenden", "Long",
             "Baud As Long, RIC As Long, Funktion As Long, Text As String, Funkkanal As Integer, FunkHalten As Long",
             zeilen({"Sendet eine POCSAG-Meldung.", "Baud=0 (512 Baud), 1 (1200 Baud)",
                     "RIC = die RIC-Nummer des Empfängers", "Funktion=die Werte der Funktionbits (0 bis 3)",
                     "Text=der Text (max. 255 Zeichen)"})),
        eig("FunkAnschluss", B, "Integer", "1",
            zeilen({"Legt oder gibt die Serielle Schnittstelle  für den Anschluss des Funkgerätes fest.", "1 = Com1",
                    "2 = Com2", "3 = Com3", "4 = Com4"})),
        meth("TonrufSenden", "Long", "tonruf As Long, Funkkanal As Integer, FunkHalten As Long",
             zeilen({"Sendet einen Tonruf", "Werte für Tonruf:", "0=Tonruf I - kurz (1750 Hz, Dauer 1 Sec)",
                     "1=Tonruf I - lang (1750 Hz, Dauer 4 Sec)", "2=Tonruf II - kurz (2135 Hz, Dauer 1 Sec)",
                     "3=Tonruf II - lang (2135 Hz, Dauer 4 Sec)"})),
        eig("Ausgangspegel", B, "Integer", "60",
            zeilen({"Setzt oder gibt den Ausgangspegel für FMS- und ZVEI-Aussendungen zurück.",
                    "Wertebereich: 0 bis 127"})),
        eig("PocAusgangspegel", B, "Integer", "60",
            zeilen({"Setzt oder gibt den Ausgangspegel für POCAG-Aussendungen zurück.", "Wertebereich: 0 bis 127"})),
        eig("PocPhaseUmkehren", B, "Boolean", "False",
            zeilen({"Legt die Phasenlage für logisch 0 und 1 bei POCSAG-Aussendung fest.",
                    "False = logisch 0 Mittenfrequenz +4Khz, logisch 1 Mittenfrequenz -4Khz (Standard)",
                    "True = genau anders herum"})),
        eig("PocSendPreambellaenge", B, "Long", "576", ""),
        eig("DecLinksTonruf", B, "Boolean", "True", kanalSchalter(true, "Tonrufe")),
        eig("DecRechtsTonruf", B, "Boolean", "True", kanalSchalter(false, "Tonrufe")),
        eig("FMSKurztextTRBOS", S, "Boolean", "False", trbos),
        eig("FMSSendeVorlauf", B, "Long", "200",
            zeilen({"Legt oder gibt die Länge des Sendevorlaufs in ms beim Senden von FMS-Telegrammen fest.",
                    "Standardwert=200"})),
        eig("RecordPufferSize", B, "Long", "5512", ""),
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
