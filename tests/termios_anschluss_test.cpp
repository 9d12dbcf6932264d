#include "tonwerk/platform/termios_anschluss.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

namespace tonwerk {
namespace {

// No test here opens a real serial device.

TEST(TermiosAnschluss, MapsComPortsToDevicePaths) {
    TermiosAnschluss a;
    EXPECT_EQ(a.geraet(1), "/dev/ttyS0");
    EXPECT_EQ(a.geraet(4), "/dev/ttyS3");
    a.geraetSetzen(2, "/dev/ttyUSB0");
    EXPECT_EQ(a.geraet(2), "/dev/ttyUSB0");
    a.geraetSetzen(5, "/dev/ttyACM0");
    EXPECT_EQ(a.geraet(5), "");
    EXPECT_EQ(a.geraet(0), "");
}

TEST(TermiosAnschluss, MissingOrUnsuitableDevicesDoNotOpen) {
    TermiosAnschluss a;
    a.geraetSetzen(1, "/nonexistent/tonwerk-tty");
    EXPECT_FALSE(a.oeffnen(1));
    EXPECT_FALSE(a.offen());
    EXPECT_FALSE(a.oeffnen(0));
    EXPECT_FALSE(a.oeffnen(5));

    // A plain file is no serial line.
    auto datei = std::filesystem::temp_directory_path() / ("tonwerk-kein-tty-" + std::to_string(::getpid()));
    std::ofstream(datei) << "x";
    a.geraetSetzen(1, datei);
    EXPECT_FALSE(a.oeffnen(1));
    std::filesystem::remove(datei);

    // A pseudo-terminal is a tty but has no modem lines to key a transmitter with.
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    a.geraetSetzen(1, ::ptsname(master));
    EXPECT_FALSE(a.oeffnen(1));
    EXPECT_FALSE(a.offen());
    ::close(master);
}

TEST(TermiosAnschluss, SwitchesOnAClosedPortAreOnlyStored) {
    TermiosAnschluss a;
    EXPECT_TRUE(a.setzeDtr(true));
    EXPECT_TRUE(a.setzeRts(false));
    a.schliessen();  // closing a closed port is harmless
    EXPECT_FALSE(a.offen());
}

}  // namespace
}  // namespace tonwerk
