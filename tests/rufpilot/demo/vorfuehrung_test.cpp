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

}  // namespace
}  // namespace rufpilot
