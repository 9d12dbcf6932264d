// The gateway's keying port: line levels with and without inversion, the
// indicators, and opening the port.
#include <gtest/gtest.h>

#include <fstream>

#include "tonwerk/platform/termios_anschluss.h"
#include "vermittlung_umgebung.h"

namespace rufpilot {
namespace {

using test::Vermittlungsumgebung;

TEST(Leitungen, NormalLevelsKeyHighAndRestLow) {
    Vermittlungsumgebung u;
    EXPECT_TRUE(u.ui.gemeldet("Port OK\t1"));
    EXPECT_EQ(u.ui.lampen.at(Lampe::Port1), Farbe::Gruen);
    EXPECT_FALSE(u.anschluss.dtrHoch());
    EXPECT_FALSE(u.anschluss.rtsHoch());

    u.v.leitungen().LeitungEin(1, 2);
    EXPECT_TRUE(u.anschluss.rtsHoch());
    EXPECT_TRUE(u.ui.anzeigen.at({1, 2}));
    u.v.leitungen().LeitungAus(1, 2);
    EXPECT_FALSE(u.anschluss.rtsHoch());
    EXPECT_FALSE(u.ui.anzeigen.at({1, 2}));
}

TEST(Leitungen, InvertedDtrIsDisabledWhileKeyedAndShownHollow) {
    Vermittlungsumgebung u;
    u.einstellungen.pegelumkehr = 1;
    u.v.leitungen().PortPruefen();
    EXPECT_EQ(u.ui.meldungen.back(), "Pegelumkehr ein:\tCOM-Port: 1");
    EXPECT_TRUE(u.anschluss.dtrHoch()) << "rest is the high level";
    EXPECT_TRUE(u.anschluss.rtsHoch());
    EXPECT_TRUE(u.ui.anzeigen.at({1, 1}));

    u.v.leitungen().LeitungEin(1, 1);
    EXPECT_FALSE(u.anschluss.dtrHoch());
    EXPECT_FALSE(u.ui.anzeigen.at({1, 1}));
    u.v.leitungen().LeitungAus(1, 1);
    EXPECT_TRUE(u.anschluss.dtrHoch());
    EXPECT_TRUE(u.ui.anzeigen.at({1, 1}));
}

TEST(Leitungen, PortZeroSwitchesNothingAndAnUnknownLineTextKeysRts) {
    Vermittlungsumgebung u;
    const auto protokoll = u.anschluss.protokoll().size();
    const auto anzeigen = u.ui.anzeigen;
    u.v.leitungen().LeitungEin(0, 1);
    EXPECT_EQ(u.anschluss.protokoll().size(), protokoll);
    EXPECT_EQ(u.ui.anzeigen, anzeigen);

    u.v.RufPruefen("0221555", "111");  // line text "XYZ"
    const std::vector<std::string> geschaltet(u.anschluss.protokoll().begin() + static_cast<std::ptrdiff_t>(protokoll),
                                              u.anschluss.protokoll().end());
    EXPECT_EQ(geschaltet, (std::vector<std::string>{"RTS an", "RTS aus"}));
    EXPECT_EQ(u.ui.listen[Liste::Anrufe].at(0).substr(9), "0221555\t111\t12345678\t1\tXYZ\tnein");
}

TEST(Leitungen, ABusyPortIsReportedAndPortZeroMeansTheFirst) {
    Vermittlungsumgebung u;
    u.anschluss.vorhanden = {2};
    u.einstellungen.comPort = 0;
    u.v.leitungen().PortPruefen();
    EXPECT_EQ(u.einstellungen.comPort, 1);
    EXPECT_EQ(u.ui.meldungen.back(), "Port besetzt:\t1");
    EXPECT_EQ(u.ui.lampen.at(Lampe::Port1), Farbe::Gelb);

    u.einstellungen.comPort = 2;
    u.v.leitungen().PortPruefen();
    EXPECT_EQ(u.ui.meldungen.back(), "Port OK\t2");
    EXPECT_EQ(u.ui.lampen.at(Lampe::Port2), Farbe::Gruen);
    EXPECT_TRUE(u.anschluss.offen());
    EXPECT_EQ(u.anschluss.port(), 2);
}

// The system's port: a device that does not exist, or a file that is no
// serial line, is said as such and not as a busy port.
TEST(Leitungen, AMissingOrUnsuitableDeviceIsNotCalledBusy) {
    Vermittlungsumgebung u;
    std::ofstream(u.verzeichnis / "keine_schnittstelle") << "x";
    for (const auto& [geraet, meldung] :
         {std::pair{std::filesystem::path("/dev/gibtsnicht"), "Port nicht vorhanden:\t1"},
          std::pair{u.verzeichnis / "keine_schnittstelle", "Port ist keine serielle Schnittstelle:\t1"}}) {
        tonwerk::TermiosAnschluss termios;
        termios.geraetSetzen(1, geraet);
        Rufvermittlung v{Vermittlungsteile{u.ui, u.zeit, u.fw, termios, u.waehler, u.einstellungen, u.nummern, u.logs,
                                           {}}};
        v.leitungen().PortPruefen();
        EXPECT_EQ(u.ui.meldungen.back(), meldung) << geraet;
        EXPECT_EQ(u.ui.lampen.at(Lampe::Port1), Farbe::Gelb);
    }
}

}  // namespace
}  // namespace rufpilot
