#include "rufpilot/simulation/funkstrecke.h"

#include <gtest/gtest.h>

#include "rufpilot/demo/leitstelle.h"
#include "temp_verzeichnis.h"
#include "tonwerk/platform/ohne_hardware.h"

namespace rufpilot {
namespace {

struct Gehoert : tonwerk::FunkwandlerListener {
    SimulierteZeit& zeit;
    explicit Gehoert(SimulierteZeit& z) : zeit(z) {}
    std::vector<std::pair<std::int64_t, tonwerk::FmsTlgType>> fms;
    void FMSDecodierung(tonwerk::FmsTlgType& t) override { fms.emplace_back(zeit.monotonMs(), t); }
};

// The gateway's side of the radio: a control on simulated time whose
// transmissions block for their length and reach the control centre.
struct Strecke {
    test::TempVerzeichnis tmp;
    SimulierteZeit zeit;
    tonwerk::SimulierterEingang eingang;
    Funkausgabe ausgabe{zeit, true};
    tonwerk::KeinAnschluss anschluss;
    tonwerk::SchrittUhr uhr;
    tonwerk::Funkwandler fw{tonwerk::Plattform{eingang, ausgabe, anschluss, zeit.timer(), zeit.timer(), uhr}};
    Funkempfaenger empfaenger{zeit, eingang, fw};
    Leitstelle leitstelle{zeit, empfaenger, tmp.unter("leitstelle")};
    Gehoert gehoert{zeit};

    explicit Strecke(tonwerk::Long rate = 0) {
        ausgabe.gegenstelle(leitstelle.empfaenger());
        fw.Sendeverzeichnis(tmp.unter("gateway"));
        fw.Samplerates(rate);
        fw.setListener(&gehoert);
        fw.DecRechtsFMS(tonwerk::Falsch);
        fw.SoundStart();
    }
    ~Strecke() { fw.setListener(nullptr); }
};

TEST(Funkstrecke, TheControlCentreAcknowledgesWithinASecondAndTheSquelchStaysClosed) {
    for (tonwerk::Long rate : {0, 1, 2}) {
        SCOPED_TRACE(rate);
        Strecke s(rate);
        s.zeit.laufen(700);
        s.fw.FMSSenden("6A1B2345", 0, 2, 0, 0, "", 0, 0);
        const std::int64_t gesendet = s.zeit.monotonMs();
        EXPECT_GT(gesendet, 700);  // playback took its time
        s.zeit.laufen(3000);
        ASSERT_EQ(s.leitstelle.gehoert().size(), 1u);
        EXPECT_EQ(s.leitstelle.gehoert()[0].Kennung, "6A1B2345");
        EXPECT_EQ(s.leitstelle.gehoert()[0].Status, 2);
        ASSERT_EQ(s.gehoert.fms.size(), 1u);
        const auto& [wann, quittung] = s.gehoert.fms[0];
        EXPECT_EQ(quittung.Kennung, "6A1B2345");
        EXPECT_EQ(quittung.Richtung, 1);
        EXPECT_EQ(quittung.Status, 15);
        EXPECT_LT(wann - gesendet, 1000);
    }
}

TEST(Funkstrecke, ASilentControlCentreSendsNothingAndAnotherVehicleIsAcknowledgedWhenAsked) {
    Strecke s;
    s.leitstelle.verhalten = Leitstelle::Verhalten::Schweigen;
    s.fw.FMSSenden("6A1B2345", 0, 3, 0, 0, "", 0, 0);
    s.zeit.laufen(3000);
    EXPECT_EQ(s.leitstelle.gehoert().size(), 1u);
    EXPECT_TRUE(s.gehoert.fms.empty());

    s.leitstelle.verhalten = Leitstelle::Verhalten::AnderesFahrzeug;
    s.fw.FMSSenden("6A1B2345", 0, 3, 0, 0, "", 0, 0);
    s.zeit.laufen(3000);
    ASSERT_EQ(s.gehoert.fms.size(), 1u);
    EXPECT_EQ(s.gehoert.fms[0].second.Kennung, "6A1B9999");
}

}  // namespace
}  // namespace rufpilot
