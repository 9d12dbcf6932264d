// One gateway per machine and resource: a second one that needs a sound card,
// port or call source another holds is refused and told which; one with
// resources of its own runs beside it.
#include "rufpilot/betrieb/maschinensperre.h"

#include <gtest/gtest.h>

#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/quellen_datei.h"
#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

TEST(Maschinensperre, ASharedResourceRefusesTheSecondGateway) {
    test::TempVerzeichnis sperren;
    const Maschinensperre erste(sperren.pfad(), {"Soundkarte 0", "Tonausgabe default", "Port /dev/ttyS0",
                                                 "Anrufquelle CAPI"});
    ASSERT_TRUE(erste.gehalten()) << erste.meldung();
    // Everything else its own, but the same call source.
    const Maschinensperre zweite(sperren.pfad(), {"Soundkarte 1", "Tonausgabe plughw:1", "Port /dev/ttyUSB0",
                                                  "Anrufquelle CAPI"});
    EXPECT_FALSE(zweite.gehalten());
    EXPECT_EQ(zweite.meldung(), "Ein anderer Rufpilot benutzt schon: Anrufquelle CAPI");
    // Nothing shared: both run.
    const Maschinensperre dritte(sperren.pfad(), {"Soundkarte 1", "Tonausgabe plughw:1", "Port /dev/ttyUSB0",
                                                  "Anrufquelle Anrufmonitor fritz.box:1012"});
    EXPECT_TRUE(dritte.gehalten()) << dritte.meldung();
}

TEST(Maschinensperre, TheLocksGoWithTheGateway) {
    test::TempVerzeichnis sperren;
    { const Maschinensperre erste(sperren.pfad(), {"Port /dev/ttyS0"}); }
    EXPECT_TRUE(Maschinensperre(sperren.pfad(), {"Port /dev/ttyS0"}).gehalten());
    const Maschinensperre ohneVerzeichnis(sperren / "fehlt", {"Port /dev/ttyS0"});
    EXPECT_FALSE(ohneVerzeichnis.gehalten());
    EXPECT_NE(ohneVerzeichnis.meldung().find("lässt sich nicht öffnen"), std::string::npos);
}

TEST(Maschinensperre, TheResourcesComeFromTheGatewaysFiles) {
    test::TempVerzeichnis dir;
    const auto geraet = [](int port) { return std::filesystem::path("/dev/ttyS" + std::to_string(port - 1)); };
    EXPECT_EQ(betriebsmittel(dir.pfad(), "default", geraet),
              (std::vector<std::string>{"Soundkarte 0", "Tonausgabe default", "Port /dev/ttyS0", "Anrufquelle CAPI"}));
    Einstellungen e;
    e.comPort = 3;
    e.soundkarte = 2;
    einstellungenSchreiben(dir / "server.ini", e);
    Quelleneinstellungen q;
    q.art = Quellenart::Anrufmonitor;
    q.monitorHost = "fritz.box";
    quellenSchreiben(dir.pfad(), q);
    EXPECT_EQ(betriebsmittel(dir.pfad(), "plughw:1", geraet),
              (std::vector<std::string>{"Soundkarte 2", "Tonausgabe plughw:1", "Port /dev/ttyS2",
                                        "Anrufquelle Anrufmonitor fritz.box:1012"}));
}

}  // namespace
}  // namespace rufpilot
