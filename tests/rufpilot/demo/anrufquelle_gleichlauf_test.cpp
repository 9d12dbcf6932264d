// A call from the router's call monitor goes down the same road as an ISDN
// call: the whole application on simulated time, once with the simulated
// line and once with RING lines over a real TCP connection on 127.0.0.1.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <sstream>

#include "rufpilot/config/logbuch.h"
#include "rufpilot/demo/monitor_gegenstelle.h"
#include "rufpilot/demo/simulierte_welt.h"
#include "rufpilot/demo/telefonseite.h"
#include "rufpilot/demo/vorfuehrung.h"
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"
#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

constexpr Ortszeit kStart{2026, 12, 8, 10, 0, 0, 0};

struct Lauf {
    std::vector<std::string> meldungen, anrufe, log, rueckrufe;
    int telegramme = 0;
};

// Two calls: a known caller whose status is acknowledged and called back,
// and one who hangs up while the status goes out.
Lauf spielen(Quellenart quelle) {
    test::TempVerzeichnis tmp;
    vorfuehrungsdateienAnlegen(tmp.pfad());
    std::ostringstream aus;
    const auto seite = telefonseiteFuer(quelle);
    SimulierteWelt w(tmp.pfad(), aus, kStart, nullptr, seite->quellenbau());
    w.anwendung.starten();
    seite->verbunden(w);
    w.zeit.laufen(3000);
    seite->anrufen(w, std::string("\x21\x80", 2) + "1711234567", "4712", false);
    w.zeit.laufen(40000);
    seite->anrufen(w, std::string("\x21\x80", 2) + "0221555123", "4714", true);
    w.zeit.laufen(40000);

    Lauf l;
    for (const auto& z : w.ui.zeilen(Liste::Meldungen))
        if (z.find("Anrufmonitor verbunden") == std::string::npos) l.meldungen.insert(l.meldungen.begin(), z);
    l.anrufe = w.ui.zeilen(Liste::Anrufe);
    l.log = logLesen(tmp / "Logs" / logDateiname(kStart.jahr, kStart.monat, kStart.tag));
    l.telegramme = w.ausgabe.sendungen();
    for (const auto& a : w.mitschrift.auftraege())
        if (a.art == MitschreibendeQuelle::Auftrag::Art::Waehlen) l.rueckrufe.push_back(a.nummer + "|" + a.msn);
    w.anwendung.beenden();
    return l;
}

TEST(AnrufquelleGleichlaufTest, ARingLineGoesDownTheSameRoadAsAnIsdnCall) {
    const Lauf isdn = spielen(Quellenart::Capi);
    const Lauf monitor = spielen(Quellenart::Anrufmonitor);
    EXPECT_EQ(monitor.meldungen, isdn.meldungen);
    EXPECT_EQ(monitor.anrufe, isdn.anrufe);
    EXPECT_EQ(monitor.log, isdn.log);
    EXPECT_EQ(monitor.telegramme, isdn.telegramme);
    EXPECT_EQ(monitor.rueckrufe, isdn.rueckrufe);
    // And the road was taken at all.
    ASSERT_EQ(isdn.anrufe.size(), 2u);
    // The call-back dials exactly the number of the table's entry.
    EXPECT_EQ(isdn.rueckrufe, (std::vector<std::string>{"01711234567|4712", "0221555123|4714"}));
    EXPECT_THAT(isdn.meldungen, Contains(HasSubstr("Rufbehandlung: \tAnrufer hat aufgelegt")));
    EXPECT_THAT(isdn.meldungen, Contains(HasSubstr("Eingang: 01711234567\t ruft: 4712")));
}

// The CAPI lamp shows the call monitor's connection.
TEST(AnrufquelleGleichlaufTest, TheLampFollowsTheConnection) {
    test::TempVerzeichnis tmp;
    vorfuehrungsdateienAnlegen(tmp.pfad());
    std::ostringstream aus;
    auto router = std::make_unique<MonitorGegenstelle>();
    const std::uint16_t port = router->port();
    AnrufmonitorTreiber* treiber = nullptr;
    SimulierteWelt w(tmp.pfad(), aus, kStart, nullptr, [&](SimulierteWelt& welt) {
        auto t = std::make_unique<AnrufmonitorTreiber>("127.0.0.1", port, [&welt] { return welt.zeit.monotonMs(); });
        treiber = t.get();
        return t;
    });
    const auto warten = [&] {
        pollfd p{treiber->socket(), static_cast<short>(treiber->verbindet() ? POLLOUT : POLLIN), 0};
        ASSERT_EQ(::poll(&p, 1, 10000), 1);
    };
    w.anwendung.starten();
    router->annehmen();
    w.zeit.laufen(1000);
    EXPECT_EQ(w.ui.lampenfarbe(Lampe::Capi), Farbe::Gruen);

    router.reset();
    warten();
    w.zeit.laufen(1000);
    EXPECT_EQ(w.ui.lampenfarbe(Lampe::Capi), Farbe::Rot);
    w.zeit.laufen(10000);  // refused attempts meanwhile
    EXPECT_EQ(w.ui.lampenfarbe(Lampe::Capi), Farbe::Rot);

    router = std::make_unique<MonitorGegenstelle>(port);
    // Let the ticks run until the driver tries again, then answer it.
    while (treiber->socket() < 0) w.zeit.laufen(1000);
    router->annehmen();
    if (treiber->verbindet()) warten();
    w.zeit.laufen(1000);
    EXPECT_EQ(w.ui.lampenfarbe(Lampe::Capi), Farbe::Gruen);
    w.anwendung.beenden();
}

}  // namespace
}  // namespace rufpilot
