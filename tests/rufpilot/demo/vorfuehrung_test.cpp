// The demo's six calls end to end: simulated line, gateway, loopback radio
// with a closed squelch, control centre.
#include "rufpilot/demo/vorfuehrung.h"

#include <gtest/gtest.h>

#include <sstream>

#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

void erwarteAlleAnrufe(Ortszeit start) {
    test::TempVerzeichnis tmp;
    std::ostringstream aus;
    const Vorfuehrungsbilanz bilanz = vorfuehrungSpielen(tmp.pfad(), aus, start);
    ASSERT_EQ(bilanz.anrufe.size(), 6u);
    for (const Anrufbilanz& a : bilanz.anrufe) EXPECT_TRUE(a.ok) << a.titel << ": " << a.erwartet << " / " << a.gesehen;
    EXPECT_TRUE(bilanz.logGleich);
    EXPECT_NE(aus.str().find("Quittung für 6A1B2345 | von Leitstelle"), std::string::npos);
}

TEST(Vorfuehrung, EveryCallGoesAsExpected) { erwarteAlleAnrufe({2026, 12, 8, 10, 0, 0, 0}); }

TEST(Vorfuehrung, CallsAcrossMidnightAreLoggedInBothDays) { erwarteAlleAnrufe({2026, 12, 31, 23, 58, 30, 0}); }

// Its own temporary directory goes at the end; one given stays.
TEST(Vorfuehrung, LeavesNoTemporaryDirectoryBehind) {
    std::ostringstream aus;
    EXPECT_EQ(vorfuehren(std::nullopt, aus), 0);
    const std::string text = aus.str();
    const std::string vorne = "Rufpilot-Vorführung in ";
    ASSERT_EQ(text.rfind(vorne, 0), 0u) << text.substr(0, 200);
    const std::filesystem::path benutzt = text.substr(vorne.size(), text.find(" (simulierte Zeit)") - vorne.size());
    EXPECT_FALSE(std::filesystem::exists(benutzt)) << benutzt;

    test::TempVerzeichnis tmp;
    std::ostringstream aus2;
    EXPECT_EQ(vorfuehren(tmp / "demo", aus2), 0);
    EXPECT_TRUE(std::filesystem::exists(tmp / "demo" / "server.ini"));
}

}  // namespace
}  // namespace rufpilot
