// tonwerk decode FILE|-: prints every event the control raises on a recording.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "audioquelle.h"
#include "befehle.h"
#include "datei_decoder.h"
#include "eigenschaften_setzen.h"
#include "ereignis_ausgabe.h"
#include "fortschritt.h"

namespace tonwerk::werkzeug {

namespace {

struct DecodeOptionen {
    std::string datei;
    bool json = false;
    bool pegel = false;
    std::vector<std::string> setzen;
    int rate = 0;
    int kanaele = 1;
    bool filter = false;  // --filter: Empfangsfilter=True before the --set values
};

void decodieren(const DecodeOptionen& o) {
    std::unique_ptr<AudioQuelle> quelle;
    if (o.datei == "-") {
        if (o.rate <= 0) throw std::runtime_error("Standardeingabe braucht --rate");
        quelle = rohdatenOeffnen(stdin, o.rate, o.kanaele);
    } else {
        quelle = dateiOeffnen(o.datei);
    }
    if (const std::string h = quelle->hinweis(); !h.empty()) std::cerr << "Hinweis: " << h << "\n";
    if (const int r = quelle->abtastrate(); r != naechsteErfassungsrate(r))
        std::cerr << "Hinweis: " << r << " Hz werden auf " << naechsteErfassungsrate(r) << " Hz umgetastet\n";
    quelle = aufErfassungsrate(std::move(quelle));

    DateiDecoder decoder(quelle->abtastrate());
    eigenschaftenSetzen(decoder.kontrolle(), o.setzen);
    Fortschritt fortschritt(quelle->frames(), quelle->abtastrate());
    EreignisAusgabe ausgabe(std::cout, o.json, o.pegel, [&decoder] { return decoder.zeit(); });
    ausgabe.vorZeile = [&fortschritt] { fortschritt.loeschen(); };
    decoder.kontrolle().setListener(&ausgabe);
    decoder.starten();

    einspeisenBisEnde(*quelle, decoder, [&fortschritt](std::int64_t n) { fortschritt.melden(n); });
    fortschritt.loeschen();
}

}  // namespace

void decodeBefehl(CLI::App& app) {
    auto o = std::make_shared<DecodeOptionen>();
    CLI::App* cmd = app.add_subcommand("decode", "Eine Aufnahme decodieren (WAV-Datei oder - für Standardeingabe)");
    cmd->add_option("datei", o->datei, "WAV-Datei (8/16 Bit, Mono oder Stereo) oder - für rohe 16-Bit-Samples")
        ->required();
    cmd->add_flag("--json", o->json, "Ein JSON-Objekt je Ereignis und Zeile");
    cmd->add_flag("--levels", o->pegel, "Auch Signalstaerke je Puffer ausgeben");
    cmd->add_option("--set", o->setzen, "Eigenschaft vor dem Decodieren setzen: NAME=WERT (wiederholbar)");
    cmd->add_option("--rate", o->rate, "Abtastrate der Standardeingabe in Hz");
    cmd->add_option("--channels", o->kanaele, "Kanäle der Standardeingabe (1 oder 2)");
    cmd->add_flag("--filter", o->filter, "Empfangsfilter einschalten (Kurzform von --set Empfangsfilter=True)");
    cmd->callback([o] {
        if (o->filter) o->setzen.insert(o->setzen.begin(), "Empfangsfilter=True");
        decodieren(*o);
    });
}

}  // namespace tonwerk::werkzeug
