// Fuzz target: arbitrary bytes as CAPI messages, through the readers and
// through the call monitor on a simulated line. Each message is a length byte
// followed by that many bytes; the matcher dials and lets further messages be
// handled nested inside it, as the real waits do.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "rufpilot/anrufe/anrufmonitor.h"
#include "rufpilot/capi/ausloesegrund.h"
#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/capi/capi_rufnummern.h"
#include "rufpilot/simulation/simulierte_leitung.h"

namespace {

void Pruefen(bool bedingung) {
    if (!bedingung) __builtin_trap();
}

void Lesen(std::span<const std::uint8_t> n) {
    const auto kopf = rufpilot::KopfLesen(n);
    Pruefen(kopf.has_value() == (n.size() >= 8));
    Pruefen(rufpilot::ParameterLesen(n).size() + 8 <= (n.size() < 8 ? 8 : n.size()));
    const auto ruf = rufpilot::ConnectIndLesen(n);
    Pruefen(ruf.nummernbereich.size() <= rufpilot::kNummernbereichMax);
    const std::string msn = rufpilot::MsnAusNummernbereich(ruf.nummernbereich);
    const std::string anrufer = rufpilot::AnruferAusNummernbereich(ruf.nummernbereich);
    // No control character (a TAB would split the message line) gets through.
    for (const char c : msn + anrufer) Pruefen(static_cast<unsigned char>(c) >= 0x20);
    (void)rufpilot::AusloesungText(rufpilot::CapiAusloesung(static_cast<std::uint16_t>(rufpilot::DisconnectIndLesen(n).grund)));
    const auto antwort = rufpilot::IndikationBeantworten(1, n);
    Pruefen(antwort.empty() || antwort.size() == static_cast<std::size_t>(antwort[0]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace rufpilot;
    std::vector<CapiNachricht> nachrichten;
    for (std::size_t i = 0; i < groesse;) {
        const std::size_t laenge = daten[i++];
        const std::size_t k = laenge < groesse - i ? laenge : groesse - i;
        nachrichten.emplace_back(daten + i, daten + i + k);
        i += k;
    }
    for (const auto& n : nachrichten) Lesen(n);

    SimulierteLeitung leitung;
    CapiQuelle capi(leitung);
    std::int64_t jetzt = 0;
    int tiefe = 0, anrufe = 0;
    Anrufmonitor* m = nullptr;
    Anrufmonitor monitor(
        capi, [](const std::string&) {},
        [&](const std::string& anrufer, const std::string& msn) {
            ++anrufe;
            if (anrufe % 3 == 0) m->waehlen(anrufer, msn);
            if (tiefe < 4) {
                ++tiefe;
                jetzt += 1000;
                m->CapiAbfrage();
                --tiefe;
            }
        },
        [&] { return jetzt; });
    m = &monitor;
    monitor.klingeldauerSetzen(3000);
    monitor.CapiStart();
    for (auto& n : nachrichten) leitung.einreihen(std::move(n));
    while (leitung.wartend() > 0) {
        jetzt += 1000;
        monitor.CapiAbfrage();
    }
    // Every incoming call was answered once, with ALERT_REQ and CONNECT_RESP.
    int alerts = 0, resps = 0;
    for (const auto& g : leitung.gesendet()) {
        alerts += g.befehl == 0x01 && g.unterbefehl == 0x80;
        resps += g.befehl == 0x02 && g.unterbefehl == 0x83;
    }
    Pruefen(alerts == anrufe && resps == anrufe);
    monitor.CapiStop();
    return 0;
}
