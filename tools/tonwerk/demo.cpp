// tonwerk demo: the tool's main job without any hardware. Sends every kind of
// signal through the control's send methods, mixes them into a stereo recording
// (kept as a WAV file), decodes that file with a second control and sets what
// was received against what was sent. Exit status 0 only when they match.
#include <sndfile.h>

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "befehle.h"
#include "deutsch.h"
#include "demo_bilanz.h"
#include "demo_mischung.h"
#include "demo_sendungen.h"

namespace tonwerk::werkzeug {

namespace {

struct DemoOptionen {
    std::string datei = "tonwerk-demo.wav";
    int rate = 22050;
    int baud = 1200;
    double snr = 30;
    bool ohneRauschen = false;
    std::uint32_t saat = 1;
    bool json = false;
    std::vector<std::string> setzen;
    bool filter = false;  // --filter: Empfangsfilter=True before the --set values
};

void wavSchreiben(const std::string& pfad, const std::vector<std::int16_t>& stereo, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* datei = sf_open(pfad.c_str(), SFM_WRITE, &info);
    if (!datei) throw std::runtime_error(pfad + ": " + sf_strerror(nullptr));
    const auto frames = static_cast<sf_count_t>(stereo.size() / 2);
    const sf_count_t geschrieben = sf_writef_short(datei, stereo.data(), frames);
    const std::string fehler = sf_strerror(datei);
    if (sf_close(datei) != 0 || geschrieben != frames) throw std::runtime_error(pfad + ": " + fehler);
}

void demo(const DemoOptionen& o) {
    const std::vector<DemoSendung> sendungen = demoSendungen(o.baud);
    std::vector<float> mischung = demoMischen(sendungen, o.rate);
    if (!o.ohneRauschen) Rauschen(o.snr, o.saat).hinzu(mischung);
    wavSchreiben(o.datei, nach16Bit(mischung), o.rate);
    std::cerr << "geschrieben: " << o.datei << " (" << sendungen.size() << " Sendungen, "
              << static_cast<double>(mischung.size() / 2) / o.rate << " s, " << o.rate << " Hz Stereo, 16 Bit, ";
    if (o.ohneRauschen)
        std::cerr << "ohne Rauschen)\n";
    else
        std::cerr << "Rauschabstand " << o.snr << " dB)\n";

    std::vector<std::string> setzen = demoEmpfaengerEinstellungen(o.rate, o.baud);
    setzen.insert(setzen.end(), o.setzen.begin(), o.setzen.end());
    std::cerr << "Empfänger:";
    for (const std::string& s : setzen) std::cerr << ' ' << s;
    std::cerr << '\n';
    const std::unique_ptr<AudioQuelle> quelle = dateiOeffnen(o.datei);
    const std::vector<Empfang> empfangen = demoDecodieren(*quelle, setzen, &std::cout, o.json);
    const std::vector<BilanzZeile> bilanz = bilanzieren(sendungen, empfangen);
    bilanzAusgeben(std::cout, bilanz, o.json);
    if (!bilanzStimmt(bilanz)) throw CLI::RuntimeError(1);
}

}  // namespace

void demoBefehl(CLI::App& app) {
    auto o = std::make_shared<DemoOptionen>();
    CLI::App* cmd = app.add_subcommand(
        "demo", "Alle Signale senden, als Stereo-Aufnahme speichern, wieder decodieren und vergleichen (ohne Hardware)");
    cmd->add_option("-o,--output", o->datei, "Die Aufnahme (16-Bit-Stereo-WAV)")->capture_default_str();
    cmd->add_option("--rate", o->rate, "Abtastrate der Aufnahme in Hz")
        ->check(eineVon({"11025", "22050", "44100"}))
        ->capture_default_str();
    cmd->add_option("--baud", o->baud, "POCSAG-Bitrate: 512 oder 1200")
        ->check(eineVon({"512", "1200"}))
        ->capture_default_str();
    cmd->add_option("--snr", o->snr, "Rauschabstand in dB zu einem Ton des Sendepegels")->capture_default_str();
    cmd->add_flag("--clean", o->ohneRauschen, "Ohne Rauschen");
    cmd->add_option("--seed", o->saat, "Startwert des Rauschens")->capture_default_str();
    cmd->add_option("--set", o->setzen, "Eigenschaft des Empfängers setzen: NAME=WERT (wiederholbar)");
    cmd->add_flag("--json", o->json, "Ein JSON-Objekt je Ereignis und Zeile, zum Schluss die Bilanz");
    cmd->add_flag("--filter", o->filter, "Empfangsfilter einschalten (Kurzform von --set Empfangsfilter=True)");
    cmd->callback([o] {
        if (o->filter) o->setzen.insert(o->setzen.begin(), "Empfangsfilter=True");
        demo(*o);
    });
}

}  // namespace tonwerk::werkzeug
