#include "rufpilot/dispatch/anwendung.h"

#include <cerrno>
#include <exception>
#include <string>
#include <system_error>

#include "rufpilot/config/datenverzeichnis.h"
#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/logbuch.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/config/nummern_pruefung.h"
#include "rufpilot/config/quellen_datei.h"
#include "rufpilot/config/textdatei.h"

namespace rufpilot {

namespace {
constexpr const char* kEinstellungsdatei = "server.ini";
// A fresh install's lead time. With none, the telegram starts as the line is
// keyed, and a transmitter needs some 100 to 200 ms to reach full power (a
// relay or the receiver's squelch longer still): the first bits, the
// telegram's preamble, would be lost. 200 ms is the dialog's value from the
// first day; a station tunes it to its radio.
constexpr int kVorlaufNeuinstallationMs = 200;
}  // namespace

Anwendung::Anwendung(Anwendungsteile teile)
    : t_(std::move(teile)),
      monitor_(
          t_.quelle, [this](const std::string& text) { vermittlung_.MeldungSchreiben(text); },
          [this](const std::string& anrufer, const std::string& msn) { vermittlung_.RufPruefen(anrufer, msn); },
          [this] { return t_.schleife.monotonMs(); }),
      vermittlung_(Vermittlungsteile{
          t_.oberflaeche, t_.schleife, t_.funkwandler, t_.anschluss, monitor_, einstellungen_, nummern_,
          t_.verzeichnis / "Logs",
          [](const std::filesystem::path& verzeichnis, const Ortszeit& zeit, const std::string& zeile) {
              logZeileAnhaengen(verzeichnis, zeit.jahr, zeit.monat, zeit.tag, zeile);
          }}) {}

Anwendung::~Anwendung() { t_.timer.deaktivieren(); }

void Anwendung::starten() {
    try {
        rufpilot::logverzeichnis(t_.verzeichnis);
    } catch (const std::exception& fehler) {
        vermittlung_.MeldungSchreiben(std::string("Logverzeichnis nicht anlegbar:\t") + fehler.what());
    }
    const std::filesystem::path ini = t_.verzeichnis / kEinstellungsdatei;
    std::error_code fehlt;
    const bool neu = !std::filesystem::exists(ini, fehlt);
    einstellungen_ = einstellungenLesen(ini);
    if (neu) einstellungen_.fmsVorlaufMs = kVorlaufNeuinstallationMs;
    if (einstellungen_.comPort == 0) einstellungen_.comPort = 1;
    vermittlung_.leitungen().PortPruefen();
    soundEinrichten();
    capiEinrichten();
    nummernLaden();
    t_.timer.aktivieren(1000, [this] { tick(); });
}

namespace {

// Why capture did not start, in German for the cases a station meets: the
// device's (negative) error number, or the control's own refusal.
std::string soundGrund(tonwerk::Long ergebnis) {
    switch (-ergebnis) {
        case ENOENT: return "nicht vorhanden";
        case ENODEV:
        case ENXIO: return "Gerät nicht vorhanden";
        case EBUSY: return "belegt (ein anderes Programm benutzt sie)";
        case EACCES:
        case EPERM: return "keine Berechtigung (Gruppe audio?)";
        case EINVAL: return "Aufnahmeformat wird nicht unterstützt";
        default: break;
    }
    if (ergebnis < 0) return std::generic_category().message(static_cast<int>(-ergebnis)) + " (" +
                             std::to_string(ergebnis) + ")";
    return "Fehler " + std::to_string(ergebnis);
}

}  // namespace

void Anwendung::soundEinrichten() {
    tonwerk::Funkwandler& fw = t_.funkwandler;
    fw.FMSKurztextTRBOS(tonwerk::Falsch);
    const tonwerk::Long anzahl = fw.GetSoundKartenCount();
    soundkarten_.clear();
    // The list always names ALSA's "default" and "null": only a device that
    // opens counts as a sound card.
    int oeffnen = 0;
    for (tonwerk::Long i = 0; i < anzahl; ++i) {
        std::string name;
        tonwerk::Long formate = 0;
        if (fw.GetSoundkarteInfo(i, name, formate) == 0) ++oeffnen;
        soundkarten_.push_back(name);
    }
    fw.Samplerates(static_cast<tonwerk::Long>(einstellungen_.abtastrate));
    fw.SoundCard(static_cast<tonwerk::Long>(einstellungen_.soundkarte));
    const tonwerk::Long start = fw.SoundStart();
    // Without capture no acknowledgement can be heard: every call would end
    // "nein" as if the control centre were silent, so the lamp must say so.
    soundBereit_ = oeffnen >= 1 && start == 0;
    ticksOhneSound_ = 0;
    t_.oberflaeche.lampe(Lampe::Soundkarte, soundBereit_ ? Farbe::Gruen : Farbe::Schwarz);
    if (!soundBereit_) {
        const std::string karte = "Karte " + std::to_string(einstellungen_.soundkarte) + ": " + soundGrund(start);
        vermittlung_.MeldungSchreiben("Soundkarte nicht gestartet:\t" +
                                      (oeffnen == 0 ? "keine Aufnahmequelle lässt sich öffnen (" + karte + ")" : karte));
    }
    fw.DecLinksFMS(tonwerk::Wahr);
    fw.DecRechtsFMS(tonwerk::Falsch);
}

void Anwendung::soundNachsehen() {
    if (soundBereit_ || ++ticksOhneSound_ < 10) return;
    ticksOhneSound_ = 0;
    // Soundstop blocks for seconds: never while a transmitter is keyed.
    if (vermittlung_.leitungen().getastet()) return;
    tonwerk::Funkwandler& fw = t_.funkwandler;
    fw.GetSoundKartenCount();  // the device list anew
    std::string name;
    tonwerk::Long formate = 0;
    if (fw.GetSoundkarteInfo(static_cast<tonwerk::Long>(einstellungen_.soundkarte), name, formate) != 0) return;
    vermittlung_.MeldungSchreiben("Soundkarte gefunden:\t" + name);
    fw.Soundstop();
    soundEinrichten();
    if (soundBereit_) vermittlung_.MeldungSchreiben("Soundkarte gestartet:\t" + name);
}

void Anwendung::capiEinrichten() {
    // Titles first: without a source the lists still show what they hold
    // (messages saying why there is none, decoded telegrams).
    t_.oberflaeche.listenEinrichten();
    std::string gesucht;
    if (!monitor_.vorhanden(gesucht)) {
        vermittlung_.MeldungSchreiben("Capi nicht vorhanden\t" + gesucht);
        capiBereit_ = false;
        return;
    }
    if (!vermittlung_.MsnListeLaden()) return;
    const Ortszeit heute = t_.schleife.jetzt();
    for (const std::string& zeile :
         logLesen(logverzeichnis() / logDateiname(heute.jahr, heute.monat, heute.tag)))
        vermittlung_.anrufZeileLaden(zeile);
    // A registration the driver refused is no running monitor: the lamp stays red.
    if (!monitor_.CapiStart()) return;
    vermittlung_.MeldungSchreiben("Capi gestartet");
    capiBereit_ = true;
}

void Anwendung::nummernLaden() {
    // One byte over the reader's limit tells a file that was cut.
    const auto inhalt = dateiAnfangLesen(nummerndatei(), kNummernHoechstensBytes + 4);
    if (!inhalt) return;
    Nummernpruefung p = nummernPruefen(*inhalt, nummerndatei().filename().string());
    for (const std::string& hinweis : p.hinweise) vermittlung_.MeldungSchreiben(hinweis);
    nummern_ = std::move(p.tabelle);
}

void Anwendung::einstellungenNeuLaden() {
    vermittlung_.MsnListeLaden();
    nummernLaden();
    vermittlung_.leitungen().PortPruefen();
}

void Anwendung::tick() {
    monitor_.CapiAbfrage();
    soundNachsehen();
    t_.oberflaeche.lampe(Lampe::Capi, capiBereit_ && monitor_.verbunden() ? Farbe::Gruen : Farbe::Rot);
    const int port = einstellungen_.comPort;
    if (port >= 1 && port <= 4)
        t_.oberflaeche.lampe(static_cast<Lampe>(static_cast<int>(Lampe::Port1) + port - 1),
                             t_.anschluss.offen() ? Farbe::Gruen : Farbe::Gelb);
}

void Anwendung::beenden(const std::function<void(Abschaltschritt)>& nachSchritt) {
    if (beendet_) return;
    beendet_ = true;
    const auto gemacht = [&](Abschaltschritt s) {
        if (nachSchritt) nachSchritt(s);
    };
    t_.timer.deaktivieren();
    gemacht(Abschaltschritt::TimerAngehalten);
    t_.anschluss.schliessen();
    if (einstellungen_.pegelumkehr == 1) {
        vermittlung_.leitungen().LeitungEin(einstellungen_.comPort, 1);
        vermittlung_.leitungen().LeitungEin(einstellungen_.comPort, 2);
    }
    gemacht(Abschaltschritt::PortGeschlossen);
    t_.funkwandler.Soundstop();
    gemacht(Abschaltschritt::SoundGestoppt);
    monitor_.CapiStop();
    gemacht(Abschaltschritt::CapiFreigegeben);
}

void Anwendung::einstellungenSpeichern(const Einstellungen& neu) {
    einstellungen_ = neu;
    t_.funkwandler.SoundCard(static_cast<tonwerk::Long>(einstellungen_.soundkarte));
    for (Lampe l : {Lampe::Port1, Lampe::Port2, Lampe::Port3, Lampe::Port4}) t_.oberflaeche.lampe(l, Farbe::Rot);
    vermittlung_.MsnListeLaden();
    einstellungenSchreiben(t_.verzeichnis / kEinstellungsdatei, einstellungen_);
}

void Anwendung::quelleSpeichern(const Quelleneinstellungen& neu) {
    // Compared with the file, not the running source: saving twice says it once.
    const bool geaendert = quellenLesen(t_.verzeichnis).werte != neu;
    quellenSchreiben(t_.verzeichnis, neu);
    if (geaendert) vermittlung_.MeldungSchreiben("Anrufquelle geändert:\tgilt ab dem nächsten Programmstart");
}

void Anwendung::nummerAnhaengen(const Nummerneintrag& eintrag) { rufpilot::nummerAnhaengen(nummerndatei(), eintrag); }

bool Anwendung::nummerEntfernen(std::size_t index, const Nummerneintrag& erwartet) {
    return rufpilot::nummerEntfernen(nummerndatei(), index, erwartet);
}

}  // namespace rufpilot
