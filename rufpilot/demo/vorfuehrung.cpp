#include "rufpilot/demo/vorfuehrung.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/logbuch.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/demo/simulierte_welt.h"
#include "rufpilot/demo/telefonseite.h"
#include "rufpilot/dispatch/anrufzeile.h"
#include "rufpilot/betrieb/echtzeit_schleife.h"

namespace rufpilot {

namespace {

namespace fs = std::filesystem;

constexpr const char* kMsns = "4711;4712;4713;4714;4715;4716;4717;4718;4719;";
constexpr std::int64_t kJeAnrufMs = 40000;  // a call, its call-back ringing out, and quiet

// What one call must do, and what it did.
struct Ergebnis {
    int telegramme = 0;
    std::string quittung = "-";  // last cell of the call row, "-" without a row
    int rueckrufe = 0;           // call-backs dialled
    bool meldung = false;        // the call's characteristic message line appeared
    bool beantwortet = false;    // the call was let ring on at the other phones
    bool operator==(const Ergebnis&) const = default;
};

struct Anruf {
    std::string titel;
    std::string anruferStruct;  // octets 3, 3a and digits of the Calling party number
    std::string msn;
    Leitstelle::Verhalten leitstelle;
    std::string meldung;         // must appear among the message lines
    bool meldungVorZeile;        // ... before the call row
    bool auflegen;               // the caller hangs up while the status is sent
    Ergebnis erwartet;
    std::string meldungOhneIsdn = {};  // when the call monitor and SIP word it otherwise
};

std::vector<Anruf> anrufe() {
    using V = Leitstelle::Verhalten;
    return {
        {"Bekannter Anrufer ohne 0, MSN für Status 2", std::string("\x21\x80", 2) + "1711234567", "4712", V::Quittieren,
         "Quittung für 6A1B2345\tvon Leitstelle", true, false, {1, "ja", 1, true, true}},
        {"Leitstelle schweigt", std::string("\x21\x80", 2) + "0301234567", "4713", V::Schweigen,
         "keine Quittung1 von Lst", true, false, {2, "nein", 0, true, true}},
        {"Unbekannter Anrufer", std::string("\x21\x80", 2) + "0401111111", "4712", V::Quittieren,
         "Gesamtergebnis: Eingehende Rufnummer oder MSN NICHT erkannt", false, false, {0, "-", 0, true, true}},
        {"Unterdrückte Rufnummer", std::string("\x21\x20", 2), "4712", V::Quittieren, "Eingang: ISDN Hidden\t ruft: 4712",
         false, false, {0, "-", 0, true, true}, "Eingang: Unbekannt\t ruft: 4712"},
        {"Anrufer legt beim Senden auf", std::string("\x21\x80", 2) + "0221555123", "4714", V::Quittieren,
         "Rufbehandlung: \tAnrufer hat aufgelegt", true, true, {1, "ja", 1, true, true}},
        {"Quittung für ein anderes Fahrzeug", std::string("\x21\x80", 2) + "0891234567", "4715",
         V::AnderesFahrzeug, "keine Quittung von Lst", true, false, {2, "nein", 0, true, true}},
    };
}

fs::path neuesVerzeichnis() {
    std::string muster = (fs::temp_directory_path() / "rufpilot-demo-XXXXXX").string();
    if (!mkdtemp(muster.data())) throw std::runtime_error("kein temporäres Verzeichnis: " + muster);
    return muster;
}

void dateienAnlegenIntern(const fs::path& verzeichnis) {
    Einstellungen e;
    e.comPort = 1;
    e.fmsVorlaufMs = 200;
    e.msnListe = kMsns;
    einstellungenSchreiben(verzeichnis / "server.ini", e);
    nummernSchreiben(verzeichnis / "fms_telefon_leitung.dat", {{"6A1B2345", "01711234567", "DTR"},
                                                              {"6A1B2346", "0301234567", "RTS"},
                                                              {"6A1B2347", "0221555123", "DTR"},
                                                              {"6A1B2348", "0891234567", "RTS"}});
}

bool enthaelt(const std::vector<std::string>& zeilen, const std::string& text) {
    return std::any_of(zeilen.begin(), zeilen.end(),
                       [&](const std::string& z) { return z.find(text) != std::string::npos; });
}

Ergebnis anrufSpielen(SimulierteWelt& w, const Anruf& a, Telefonseite& seite, bool ohneIsdn) {
    const std::size_t auftraegeVorher = w.mitschrift.auftraege().size();
    const int telegrammeVorher = w.ausgabe.sendungen();
    const std::size_t zeilenVorher = w.ui.zeilen(Liste::Anrufe).size();
    std::vector<std::string> meldungen;  // in the order written
    std::size_t meldungenBeiZeile = SIZE_MAX;

    w.leitstelle.verhalten = a.leitstelle;
    seite.anrufen(w, a.anruferStruct, a.msn, a.auflegen);
    // Follow the lists as they grow: the message list may be emptied at its limit.
    std::size_t bekannt = w.ui.zeilen(Liste::Meldungen).size();
    for (std::int64_t t = 0; t < kJeAnrufMs; t += 100) {
        w.zeit.laufen(100);
        const auto& m = w.ui.zeilen(Liste::Meldungen);
        if (m.size() < bekannt) bekannt = 0;
        for (std::size_t i = m.size() - bekannt; i-- > 0;) meldungen.push_back(m[i].substr(m[i].find('\t') + 1));
        bekannt = m.size();
        if (meldungenBeiZeile == SIZE_MAX && w.ui.zeilen(Liste::Anrufe).size() > zeilenVorher)
            meldungenBeiZeile = meldungen.size();
    }

    Ergebnis e;
    e.telegramme = w.ausgabe.sendungen() - telegrammeVorher;
    if (w.ui.zeilen(Liste::Anrufe).size() > zeilenVorher) {
        const auto zeile = anrufZeileLesen(w.ui.zeilen(Liste::Anrufe).front());
        e.quittung = !zeile ? "unlesbar" : zeile->quittiert ? "ja" : "nein";
    }
    using Art = MitschreibendeQuelle::Auftrag::Art;
    const auto& auftraege = w.mitschrift.auftraege();
    for (std::size_t i = auftraegeVorher; i < auftraege.size(); ++i) {
        if (auftraege[i].art == Art::Waehlen) ++e.rueckrufe;
        if (auftraege[i].art == Art::Weiterklingeln && w.mitschrift.letzterEingang() != 0 &&
            auftraege[i].id == w.mitschrift.letzterEingang())
            e.beantwortet = true;
    }
    const std::vector<std::string> vorZeile(meldungen.begin(),
                                            meldungen.begin() + static_cast<std::ptrdiff_t>(
                                                                    std::min(meldungenBeiZeile, meldungen.size())));
    const std::string& meldung = ohneIsdn && !a.meldungOhneIsdn.empty() ? a.meldungOhneIsdn : a.meldung;
    e.meldung = enthaelt(a.meldungVorZeile ? vorZeile : meldungen, meldung);
    return e;
}

// `text` cut or filled with blanks to `breite` characters (UTF-8 aware).
std::string spalte(const std::string& text, std::size_t breite) {
    std::string aus;
    std::size_t zeichen = 0;
    for (std::size_t i = 0; i < text.size() && zeichen < breite; ++zeichen) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        aus.append(text, i, n);
        i += n;
    }
    return aus + std::string(breite - zeichen, ' ');
}

std::string beschreiben(const Ergebnis& e) {
    return std::to_string(e.telegramme) + " Tlg., Quitt " + e.quittung + ", " + std::to_string(e.rueckrufe) +
           " Rückruf" + (e.rueckrufe == 1 ? "" : "e") + (e.meldung ? ", Meldung" : ", Meldung fehlt") +
           (e.beantwortet ? "" : ", unbeantwortet");
}

}  // namespace

void vorfuehrungsdateienAnlegen(const fs::path& verzeichnis) { dateienAnlegenIntern(verzeichnis); }

bool Vorfuehrungsbilanz::alleOk() const {
    return logGleich && std::all_of(anrufe.begin(), anrufe.end(), [](const Anrufbilanz& a) { return a.ok; });
}

Vorfuehrungsbilanz vorfuehrungSpielen(const fs::path& verzeichnis, std::ostream& aus, Ortszeit start,
                                      const Vorfuehrungshaken& haken) {
    dateienAnlegenIntern(verzeichnis);
    const std::unique_ptr<Telefonseite> seite = telefonseiteFuer(haken.quelle);
    if (haken.quelle != Quellenart::Capi) aus << "Anrufquelle: " << seite->beschreibung() << '\n';
    SimulierteWelt w(verzeichnis, aus, start, haken.fenster, seite->quellenbau());
    w.anwendung.starten();
    seite->verbunden(w);
    if (haken.gestartet) haken.gestartet(w);
    w.zeit.laufen(3000);

    Vorfuehrungsbilanz bilanz;
    for (const Anruf& a : anrufe()) {
        if (bilanz.anrufe.size() >= haken.hoechstensAnrufe) break;
        aus << "\n=== " << a.titel << " ===\n";
        const Ergebnis gesehen = anrufSpielen(w, a, *seite, haken.quelle != Quellenart::Capi);
        bilanz.anrufe.push_back({a.titel, beschreiben(a.erwartet), beschreiben(gesehen), gesehen == a.erwartet});
    }
    if (haken.vorEnde) haken.vorEnde(w);
    seite->vorEnde(w);
    w.anwendung.beenden();

    // The day's log (both days', should the calls span midnight) holds
    // exactly the rows of the recognised calls, oldest first.
    std::vector<std::string> log;
    const Ortszeit ende = w.zeit.jetzt();
    std::vector<Ortszeit> tage{start};
    if (ende.tag != start.tag || ende.monat != start.monat || ende.jahr != start.jahr) tage.push_back(ende);
    for (const Ortszeit& tag : tage)
        for (std::string& z : logLesen(verzeichnis / "Logs" / logDateiname(tag.jahr, tag.monat, tag.tag)))
            log.push_back(std::move(z));
    std::vector<std::string> zeilen = w.ui.zeilen(Liste::Anrufe);
    std::reverse(zeilen.begin(), zeilen.end());
    bilanz.logGleich = log == zeilen;
    return bilanz;
}

int vorfuehren(const std::optional<fs::path>& vorgabe, std::ostream& aus, const Vorfuehrungshaken& haken) {
    const fs::path verzeichnis = vorgabe ? *vorgabe : neuesVerzeichnis();
    // A directory of our own goes when the demo ends, however it ends; one
    // given with --dir stays for a look at the files.
    struct Aufraeumen {
        fs::path pfad;
        ~Aufraeumen() {
            std::error_code ec;
            if (!pfad.empty()) fs::remove_all(pfad, ec);
        }
    } aufraeumen{vorgabe ? fs::path() : verzeichnis};
    fs::create_directories(verzeichnis);
    if (vorgabe && fs::exists(verzeichnis / "server.ini"))
        throw std::runtime_error(verzeichnis.string() +
                                 " enthält schon eine server.ini; die Vorführung braucht ein eigenes Verzeichnis");
    aus << "Rufpilot-Vorführung in " << verzeichnis.string() << " (simulierte Zeit)\n";
    const Vorfuehrungsbilanz bilanz = vorfuehrungSpielen(verzeichnis, aus, EchtzeitSchleife().jetzt(), haken);

    aus << '\n' << spalte("Anruf", 46) << spalte("erwartet", 52) << "gesehen\n";
    for (const Anrufbilanz& a : bilanz.anrufe)
        aus << spalte(a.titel, 45) << ' ' << spalte(a.erwartet, 52) << a.gesehen << (a.ok ? "  ok" : "  FEHLER")
            << '\n';
    aus << "Tagesprotokoll gleich der Anrufliste: " << (bilanz.logGleich ? "ja" : "NEIN") << '\n';
    aus << (bilanz.alleOk() ? "Alle Anrufe wie erwartet.\n" : "Nicht alle Anrufe wie erwartet.\n");
    return bilanz.alleOk() ? 0 : 1;
}

}  // namespace rufpilot
