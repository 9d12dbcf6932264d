// Keying around a transmission: the line is high only while sending and is
// released on every path out, also when the sound output fails; a port that
// will not open sends nothing.
#include "tonwerk/core/getastete_leitung.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <stdexcept>
#include <system_error>

#include "eigenes_verzeichnis.h"
#include "tonwerk/platform/aufnehmende_ausgabe.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_anschluss.h"
#include "tonwerk/platform/simulierter_eingang.h"
#include "tonwerk/platform/zeitgeber.h"

namespace tonwerk {
namespace {

using werkzeug::EigenesVerzeichnis;

struct Aufbau {
    explicit Aufbau(SoundAusgabe& a) : ausgabe(a) { fw.Sendeverzeichnis(verzeichnis.pfad()); }
    EigenesVerzeichnis verzeichnis;  // transmit files not shared with parallel runs
    SimulierterEingang eingang;
    SoundAusgabe& ausgabe;
    SimulierterAnschluss anschluss;
    HandZeitgeber timer1, timer2;
    SchrittUhr uhr;
    Funkwandler fw{Plattform{eingang, ausgabe, anschluss, timer1, timer2, uhr}};
};

TEST(GetasteteLeitung, LineIsHighOnlyWhileSending) {
    AufnehmendeAusgabe ausgabe;
    Aufbau a(ausgabe);
    a.fw.FunkAnschluss(3);
    bool hochBeimSenden = false;
    const Long ergebnis = getastetSenden(a.fw, 2, "COM3", [&](Funkwandler& fw) {
        hochBeimSenden = a.anschluss.rtsHoch() && !a.anschluss.dtrHoch();
        return fw.TonrufSenden(0, 0, 0);
    });
    EXPECT_EQ(ergebnis, 0);
    EXPECT_TRUE(hochBeimSenden);
    EXPECT_EQ(ausgabe.gespielt.size(), 1u);
    EXPECT_FALSE(a.anschluss.rtsHoch());
    EXPECT_EQ(a.anschluss.port(), 3);
    EXPECT_EQ(a.anschluss.protokoll(),
              (std::vector<std::string>{"oeffnen 3", "DTR aus", "RTS aus", "RTS an", "RTS aus"}));
}

TEST(GetasteteLeitung, PlaybackFailureStillReleasesTheLine) {
    KeineAusgabe ausgabe;  // playing throws like a missing sound device
    Aufbau a(ausgabe);
    EXPECT_THROW(getastetSenden(a.fw, 1, "COM1", [](Funkwandler& fw) { return fw.ZVEISenden("12345", Falsch, 0, 0, 0); }),
                 std::system_error);
    EXPECT_FALSE(a.anschluss.dtrHoch());
    EXPECT_EQ(a.anschluss.protokoll().back(), "DTR aus");

    // Any other exception out of the transmission, too.
    EXPECT_THROW(getastetSenden(a.fw, 2, "COM1", [](Funkwandler&) -> Long { throw std::logic_error("x"); }),
                 std::logic_error);
    EXPECT_FALSE(a.anschluss.rtsHoch());
    EXPECT_EQ(a.anschluss.protokoll().back(), "RTS aus");
}

TEST(GetasteteLeitung, MissingPortSendsNothing) {
    AufnehmendeAusgabe ausgabe;
    Aufbau a(ausgabe);
    a.anschluss.vorhanden = {1};
    a.fw.FunkAnschluss(2);
    bool gesendet = false;
    try {
        getastetSenden(a.fw, 1, "COM2 (/dev/ttyS1)", [&](Funkwandler&) {
            gesendet = true;
            return Long{0};
        });
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("COM2 (/dev/ttyS1): Anschluss nicht vorhanden"), std::string::npos);
    }
    EXPECT_FALSE(gesendet);
    EXPECT_TRUE(ausgabe.gespielt.empty());
}

TEST(GetasteteLeitung, LineThatWillNotDropIsAnErrorAfterSending) {
    AufnehmendeAusgabe ausgabe;
    Aufbau a(ausgabe);
    EXPECT_THROW(getastetSenden(a.fw, 1, "COM1",
                                [&](Funkwandler&) {
                                    a.anschluss.leitungenDefekt = true;
                                    return Long{0};
                                }),
                 std::runtime_error);
}

// Every send method of the control, keyed on either line, with a sound output
// that fails: the transmission is an error, never a result, and the line is low.
TEST(GetasteteLeitung, FailingOutputReleasesTheLineForEverySendMethod) {
    const std::vector<std::function<Long(Funkwandler&)>> sendungen = {
        [](Funkwandler& fw) { return fw.FMSSenden("6A1B2345", 0, 3, 0, 0, "", 0, 0); },
        [](Funkwandler& fw) { return fw.ZVEISenden("12345", Wahr, 1, 0, 0); },
        [](Funkwandler& fw) { return fw.POCSenden(1, 1234567, 3, "Einsatz", 0, 0); },
        [](Funkwandler& fw) { return fw.TonrufSenden(2, 0, 0); },
    };
    for (Long leitung : {1, 2}) {
        for (std::size_t i = 0; i < sendungen.size(); ++i) {
            KeineAusgabe ausgabe;
            Aufbau a(ausgabe);
            bool hoch = false;
            EXPECT_THROW(getastetSenden(a.fw, leitung, "COM1",
                                        [&](Funkwandler& fw) {
                                            hoch = a.anschluss.dtrHoch() || a.anschluss.rtsHoch();
                                            return sendungen[i](fw);
                                        }),
                         std::system_error)
                << "Leitung " << leitung << ", Sendung " << i;
            EXPECT_TRUE(hoch);
            EXPECT_FALSE(a.anschluss.dtrHoch());
            EXPECT_FALSE(a.anschluss.rtsHoch());
            EXPECT_EQ(a.anschluss.protokoll().back(), leitung == 1 ? "DTR aus" : "RTS aus");
        }
    }

    // The guard alone, as a host holds it around its own send call.
    KeineAusgabe ausgabe;
    Aufbau a(ausgabe);
    try {
        GetasteteLeitung taste(a.fw, 2, "COM1");
        EXPECT_TRUE(a.anschluss.rtsHoch());
        a.fw.FMSSenden("6A1B2345", 0, 3, 0, 0, "", 0, 0);
        ADD_FAILURE() << "no error";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().value(), ENODEV);
    }
    EXPECT_FALSE(a.anschluss.rtsHoch());
}

}  // namespace
}  // namespace tonwerk
