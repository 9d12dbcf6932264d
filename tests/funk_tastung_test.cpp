#include "tonwerk/core/funk_tastung.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tonwerk/platform/simulierter_anschluss.h"
#include "tonwerk/platform/termios_anschluss.h"

namespace tonwerk {
namespace {

struct FunkTastungTest : ::testing::Test {
    SimulierterAnschluss port;
    FunkTastung tastung{port};
};

TEST_F(FunkTastungTest, FirstSendOpensPortWithOnlyTheChosenLineHigh) {
    EXPECT_EQ(tastung.FunkSenden(1), 0);
    EXPECT_TRUE(port.offen());
    EXPECT_EQ(port.port(), 1);
    EXPECT_TRUE(port.dtrHoch());
    EXPECT_FALSE(port.rtsHoch());
    // Both lines go low right after opening, before the chosen one rises.
    EXPECT_EQ(port.protokoll(), (std::vector<std::string>{"oeffnen 1", "DTR aus", "RTS aus", "DTR an"}));
}

TEST_F(FunkTastungTest, OtherLineNumbersOpenThePortButTouchNoLine) {
    EXPECT_EQ(tastung.FunkSenden(3), 0);
    EXPECT_TRUE(port.offen());
    EXPECT_FALSE(port.dtrHoch());
    EXPECT_FALSE(port.rtsHoch());
    EXPECT_EQ(tastung.FunkEmpfangen(0), 0);
    EXPECT_EQ(port.protokoll().size(), 3u);
}

TEST_F(FunkTastungTest, LinesAreSwitchedIndependently) {
    EXPECT_EQ(tastung.FunkSenden(1), 0);
    EXPECT_EQ(tastung.FunkSenden(2), 0);
    EXPECT_TRUE(port.dtrHoch());
    EXPECT_TRUE(port.rtsHoch());
    EXPECT_EQ(tastung.FunkEmpfangen(2), 0);
    EXPECT_TRUE(port.dtrHoch());
    EXPECT_FALSE(port.rtsHoch());
    EXPECT_TRUE(port.offen()) << "receiving never closes the port";
    // A later send on an open port does not drop the other line again.
    EXPECT_EQ(tastung.FunkSenden(2), 0);
    EXPECT_TRUE(port.dtrHoch());
}

TEST_F(FunkTastungTest, WritingThePortNumberClosesTheOpenPort) {
    ASSERT_EQ(tastung.FunkSenden(1), 0);
    tastung.FunkAnschluss(2);
    EXPECT_FALSE(port.offen());
    EXPECT_FALSE(port.dtrHoch());
    EXPECT_EQ(tastung.FunkAnschluss(), 2);
    EXPECT_EQ(tastung.FunkSenden(1), 0);
    EXPECT_EQ(port.port(), 2);

    // Out-of-range numbers are ignored but still close the port.
    tastung.FunkAnschluss(0);
    EXPECT_FALSE(port.offen());
    tastung.FunkAnschluss(5);
    EXPECT_EQ(tastung.FunkAnschluss(), 2);
}

TEST_F(FunkTastungTest, MissingPortGivesOneAndIsRetriedNextTime) {
    port.vorhanden = {1};
    tastung.FunkAnschluss(3);
    EXPECT_EQ(tastung.FunkSenden(1), 1);
    EXPECT_FALSE(port.offen());
    port.vorhanden = {1, 3};
    EXPECT_EQ(tastung.FunkSenden(1), 0);
    EXPECT_EQ(port.port(), 3);
}

TEST_F(FunkTastungTest, LineErrorsGiveOne) {
    ASSERT_EQ(tastung.FunkSenden(3), 0);
    port.leitungenDefekt = true;
    EXPECT_EQ(tastung.FunkSenden(2), 1);
    EXPECT_EQ(tastung.FunkEmpfangen(1), 1);
    EXPECT_EQ(tastung.FunkEmpfangen(7), 0) << "no line chosen, nothing touched";
}

TEST_F(FunkTastungTest, ReceiveOnAClosedPortOnlyStoresTheSwitch) {
    EXPECT_EQ(tastung.FunkEmpfangen(1), 0);
    EXPECT_FALSE(port.offen());
}

TEST(FunkTastung, ExceptionsOfThePortLayerBecomeOne) {
    struct Werfer : SimulierterAnschluss {
        bool oeffnen(int) override { throw std::runtime_error("belegt"); }
        bool setzeDtr(bool) override { throw std::runtime_error("weg"); }
    } port;
    FunkTastung tastung(port);
    EXPECT_EQ(tastung.FunkSenden(1), 1);
    EXPECT_EQ(tastung.FunkEmpfangen(1), 1);
}

TEST(FunkTastung, DestructionClosesThePort) {
    SimulierterAnschluss port;
    {
        FunkTastung tastung(port);
        ASSERT_EQ(tastung.FunkSenden(2), 0);
    }
    EXPECT_FALSE(port.offen());
    EXPECT_FALSE(port.rtsHoch());
}

TEST(FunkTastung, MissingSerialDeviceGivesOne) {
    TermiosAnschluss port;
    port.geraetSetzen(1, "/nonexistent/tonwerk-tty");
    FunkTastung tastung(port);
    EXPECT_EQ(tastung.FunkSenden(1), 1);
    EXPECT_FALSE(port.offen());
}

}  // namespace
}  // namespace tonwerk
