#include "rufpilot/dispatch/anwendung.h"

#include <exception>

#include "rufpilot/config/datenverzeichnis.h"
#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/logbuch.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/config/quellen_datei.h"

namespace rufpilot {

namespace {
constexpr const char* kEinstellungsdatei = "server.ini";
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
    einstellungen_ = einstellungenLesen(t_.verzeichnis / kEinstellungsdatei);
    if (einstellungen_.comPort == 0) einstellungen_.comPort = 1;
    vermittlung_.leitungen().PortPruefen();
    soundEinrichten();
    capiEinrichten();
    nummernLaden();
    t_.timer.aktivieren(1000, [this] { tick(); });
}

void Anwendung::soundEinrichten() {
    tonwerk::Funkwandler& fw = t_.funkwandler;
    fw.FMSKurztextTRBOS(tonwerk::Falsch);
    const tonwerk::Long anzahl = fw.GetSoundKartenCount();
    soundkarten_.clear();
    for (tonwerk::Long i = 0; i < anzahl; ++i) {
        std::string name;
        tonwerk::Long formate = 0;
        fw.GetSoundkarteInfo(i, name, formate);
        soundkarten_.push_back(name);
    }
    fw.Samplerates(static_cast<tonwerk::Long>(einstellungen_.abtastrate));
    fw.SoundCard(static_cast<tonwerk::Long>(einstellungen_.soundkarte));
    t_.oberflaeche.lampe(Lampe::Soundkarte, anzahl >= 1 ? Farbe::Gruen : Farbe::Schwarz);
    fw.SoundStart();
    fw.DecLinksFMS(tonwerk::Wahr);
    fw.DecRechtsFMS(tonwerk::Falsch);
}

void Anwendung::capiEinrichten() {
    std::string gesucht;
    if (!monitor_.vorhanden(gesucht)) {
        vermittlung_.MeldungSchreiben("Capi nicht vorhanden\t" + gesucht);
        capiBereit_ = false;
        return;
    }
    if (!vermittlung_.MsnListeLaden()) return;
    t_.oberflaeche.listenEinrichten();
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
    if (auto tabelle = nummernLesen(nummerndatei())) nummern_ = std::move(*tabelle);
}

void Anwendung::einstellungenNeuLaden() {
    vermittlung_.MsnListeLaden();
    nummernLaden();
    vermittlung_.leitungen().PortPruefen();
}

void Anwendung::tick() {
    monitor_.CapiAbfrage();
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

void Anwendung::nummernSpeichern(const Nummerntabelle& tabelle) { nummernSchreiben(nummerndatei(), tabelle); }

}  // namespace rufpilot
