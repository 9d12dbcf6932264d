// tonwerk decode FILE|-: prints every event the control raises on a recording.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "alarm/alarm_optionen.h"
#include "alarm/meldeverlust.h"
#include "audioquelle.h"
#include "befehle.h"
#include "datei_decoder.h"
#include "deutsch.h"
#include "eigenschaften_setzen.h"
#include "einstellungsdatei.h"
#include "empfangs_optionen.h"
#include "ereignis_ausgabe.h"
#include "fortschritt.h"
#include "zweite_rate.h"

namespace tonwerk::werkzeug {

namespace {

struct DecodeOptionen {
    std::string datei;
    EmpfangsOptionen empfang;
    int rate = 0;
    int kanaele = 1;
    AlarmOptionen alarm;
    std::string einstellungen;  // --config
};

void decodieren(const DecodeOptionen& o) {
    std::unique_ptr<AudioQuelle> quelle = o.datei == "-" ? eingabeOeffnen(stdin, o.rate, o.kanaele) : dateiOeffnen(o.datei);
    if (const std::string h = quelle->hinweis(); !h.empty()) std::cerr << "Hinweis: " << h << "\n";
    if (const int r = quelle->abtastrate(); r != naechsteErfassungsrate(r))
        std::cerr << "Hinweis: " << r << " Hz werden auf " << naechsteErfassungsrate(r) << " Hz umgetastet\n";
    quelle = aufErfassungsrate(std::move(quelle));

    DateiDecoder decoder(quelle->abtastrate());
    Funkwandler& fw = decoder.kontrolle();
    eigenschaftenSetzen(fw, o.empfang.setzen);
    if (o.empfang.baud) fw.PocBaudRates(pocBaudRates(o.empfang.baud));
    Fortschritt fortschritt(quelle->frames(), quelle->abtastrate());
    EreignisAusgabe ausgabe(std::cout, o.empfang.json, o.empfang.pegel, [&decoder] { return decoder.zeit(); });
    ausgabe.vorZeile = [&fortschritt] { fortschritt.loeschen(); };
    const auto weiche = alarmWeicheBauen(o.alarm, std::cerr);
    weiche->anschliessen(ausgabe);
    ausgabe.pocBaud = pocBaud(fw.PocBaudRates());
    std::unique_ptr<ZweiteRate> zweite;
    if (!o.empfang.baud)
        zweite = std::make_unique<ZweiteRate>(quelle->abtastrate(), o.empfang.setzen,
                                              ausgabe.pocBaud == 512 ? 1200 : 512, ausgabe, true);
    fw.setListener(&ausgabe);
    decoder.starten();

    einspeisenBisEnde(
        *quelle, decoder,
        [&](std::int64_t n) {
            fortschritt.melden(n);
            weiche->bedienen();
        },
        zweite ? &zweite->decoder() : nullptr);
    fortschritt.loeschen();
    if (!weiche->abschliessen(o.alarm.wartenSek, std::cerr))
        throw Meldeverlust("nicht alle Meldungen weitergegeben (Exit-Code 3)");
}

}  // namespace

void decodeBefehl(CLI::App& app) {
    auto o = std::make_shared<DecodeOptionen>();
    CLI::App* cmd = app.add_subcommand("decode", "Eine Aufnahme decodieren (Audiodatei oder - für Standardeingabe)");
    cmd->footer(kZeitBedeutungDatei);
    cmd->add_option("datei", o->datei,
                    "Audiodatei (WAV, FLAC, ...; PCM oder Gleitkomma, Mono oder Stereo) oder - für Standardeingabe "
                    "(eine WAV-Datei oder rohe 16-Bit-Samples mit --rate)")
        ->required();
    empfangsOptionen(cmd, o->empfang);
    cmd->add_option("--rate", o->rate, "Abtastrate roher Samples auf der Standardeingabe in Hz")
        ->check(zahlVon(1, 1000000));
    cmd->add_option("--channels", o->kanaele, "Kanäle roher Samples auf der Standardeingabe")->check(eineVon({"1", "2"}));
    alarmOptionenAnmelden(cmd, o->alarm);
    einstellungsdateiAnmelden(cmd, o->einstellungen);
    cmd->callback([o, cmd] {
        einstellungenAnwenden(cmd, o->einstellungen, std::cerr);
        filterUebernehmen(o->empfang);
        decodieren(*o);
    });
}

}  // namespace tonwerk::werkzeug
