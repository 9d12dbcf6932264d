// `send --key`: the transmitter is keyed around the transmission and released
// afterwards, also when playback fails; a port that will not open sends nothing.
#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "eigenes_verzeichnis.h"
#include "sende_gruppe.h"
#include "tonwerk/platform/aufnehmende_ausgabe.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_anschluss.h"
#include "tonwerk/platform/simulierter_eingang.h"
#include "tonwerk/platform/zeitgeber.h"

namespace tonwerk::werkzeug {
namespace {

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

TEST(SendeTastung, LineIsHighOnlyWhileSending) {
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

TEST(SendeTastung, PlaybackFailureStillReleasesTheLine) {
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

TEST(SendeTastung, MissingPortSendsNothing) {
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

TEST(SendeTastung, LineThatWillNotDropIsAnErrorAfterSending) {
    AufnehmendeAusgabe ausgabe;
    Aufbau a(ausgabe);
    EXPECT_THROW(getastetSenden(a.fw, 1, "COM1",
                                [&](Funkwandler&) {
                                    a.anschluss.leitungenDefekt = true;
                                    return Long{0};
                                }),
                 std::runtime_error);
}

TEST(SendeTastung, CommandLineRefusesABadLineOrPort) {
    CLI::App app;
    SendeZiel ziel;
    CLI::App* cmd = sendeGruppe(app)->add_subcommand("x");
    sendeOptionen(cmd, ziel);
    EXPECT_THROW(app.parse("send x --key cts"), CLI::ValidationError);
    EXPECT_THROW(app.parse("send x --key dtr --port 5"), CLI::ValidationError);
}

TEST(SendeTastung, SendCommandWithMissingDeviceFailsBeforePlaying) {
    CLI::App app;
    SendeZiel ziel;
    CLI::App* cmd = sendeGruppe(app)->add_subcommand("x");
    sendeOptionen(cmd, ziel);
    bool gesendet = false;
    cmd->callback([&] {
        sendenMit(ziel, [&](Funkwandler&) {
            gesendet = true;
            return Long{0};
        });
    });
    try {
        app.parse("send x -o /nonexistent/x.wav --key rts --port 4 --device /nonexistent/tty");
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("COM4 (/nonexistent/tty)"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(gesendet);
}

}  // namespace
}  // namespace tonwerk::werkzeug
