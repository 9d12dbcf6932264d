// `send --key`: bad lines and ports are refused on the command line; a port that
// will not open sends nothing.
#include <gtest/gtest.h>

#include <stdexcept>

#include "alsa_testumgebung.h"
#include "sende_gruppe.h"

namespace tonwerk::werkzeug {
namespace {

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
        // Played, not written: with -o nothing is keyed.
        test::AlsaTestumgebung alsa;
        app.parse("send x --pcm tonwerk_aus --key rts --port 4 --device /nonexistent/tty");
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("COM4 (/nonexistent/tty)"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(gesendet);
}

}  // namespace
}  // namespace tonwerk::werkzeug
