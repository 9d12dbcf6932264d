// The call monitor through the unchanged libcapi20 against a local remote-CAPI
// server. libcapi20 reads its configuration once per process, so this suite is
// a program of its own and points HOME at a fresh .capi20rc before any call.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "capi_testserver.h"
#include "rufpilot/anrufe/anrufmonitor.h"
#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/capi/libcapi20_treiber.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using B = std::vector<std::uint8_t>;

CapiTestserver* server = nullptr;
std::string home;

class Umgebung : public ::testing::Environment {
public:
    void SetUp() override {
        sperre_ = ::open("/tmp/rufpilot-libcapi20.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666);
        ASSERT_GE(sperre_, 0);
        ASSERT_EQ(::flock(sperre_, LOCK_EX), 0);
        server = new CapiTestserver;
        char vorlage[] = "/tmp/rufpilot-capi-XXXXXX";
        home = ::mkdtemp(vorlage);
        std::ofstream(home + "/.capi20rc") << "REMOTE fritzbox 127.0.0.1 " << server->port() << "\n";
        ::setenv("HOME", home.c_str(), 1);
    }
    void TearDown() override {
        delete server;
        std::filesystem::remove_all(home);
        ::close(sperre_);
    }

private:
    int sperre_ = -1;
};

class EchtTest : public ::testing::Test {
protected:
    // Ticks the monitor until `fertig` holds, waiting for the connection to
    // become readable in between; the deadline only ends a failing test.
    bool abfragenBis(const std::function<bool()>& fertig) {
        const auto ende = std::chrono::steady_clock::now() + CapiTestserver::kGrenze;
        while (!fertig()) {
            if (std::chrono::steady_clock::now() > ende) return false;
            pollfd p{Libcapi20Treiber::descriptor(capi.applId()), POLLIN, 0};
            ::poll(&p, 1, 100);
            monitor.CapiAbfrage();
        }
        return true;
    }
    bool gemeldet(const std::string& zeile) const {
        return std::find(meldungen.begin(), meldungen.end(), zeile) != meldungen.end();
    }

    Libcapi20Treiber treiber;
    CapiQuelle capi{treiber};
    std::vector<std::string> meldungen;
    std::vector<std::string> pruefungen;
    Anrufmonitor monitor{capi, [this](const std::string& m) { meldungen.push_back(m); },
                         [this](const std::string& anrufer, const std::string& msn) {
                             pruefungen.push_back(anrufer + "|" + msn);
                             meldungen.push_back("Prüfe " + anrufer);
                         },
                         [] { return std::int64_t{0}; }};
};

TEST_F(EchtTest, AnIncomingCallTravelsThroughLibcapi20AndIsAnsweredWithItsOwnValues) {
    std::string gesucht;
    ASSERT_TRUE(monitor.vorhanden(gesucht));
    EXPECT_EQ(gesucht, "libcapi20: " + home + "/.capi20rc oder /etc/capi20.conf");

    ASSERT_TRUE(monitor.CapiStart());
    const auto anmeldung = server->registrierung();
    ASSERT_TRUE(anmeldung.has_value());
    // Two logical connections, 7 B3 blocks of 2048 bytes.
    EXPECT_EQ(B(anmeldung->begin() + 8, anmeldung->end()), (B{2, 0, 9, 0, 0, 6, 2, 0, 7, 0, 0, 8}));
    const auto id = static_cast<std::uint8_t>(capi.applId());
    ASSERT_EQ(id, capi.applId());
    EXPECT_EQ(server->naechste(), ListenReq(id));

    server->senden({14, 0, id, 0, 0x05, 0x81, 1, 0, 1, 0, 0, 0, 0, 0});  // LISTEN_CONF
    B ind{0, 0, id, 0, 0x02, 0x82, 0x42, 0, 0x01, 0x01, 0, 0, 16, 0,     // PLCI 0x101, CIP 16
          4, 0x81, '2', '2', '2',                                        // called 222
          12, 0x01, 0x80, '7', '1', '1', '1', '2', '3', '4', '5', '6', '7', 0, 0, 0, 0, 0};
    ind[0] = static_cast<std::uint8_t>(ind.size());
    server->senden(ind);
    ASSERT_TRUE(abfragenBis([&] { return server->empfangen() >= 3; }));
    EXPECT_THAT(meldungen, ElementsAre("Eingang: 07111234567\t ruft: 222", "Prüfe 07111234567"));
    EXPECT_THAT(pruefungen, ElementsAre("07111234567|222"));
    EXPECT_EQ(server->naechste(), AlertReq(id, 0x101));
    EXPECT_EQ(server->naechste(), ConnectResp(id, 0x42, 0x101));

    server->senden({15, 0, id, 0, 0x08, 0x82, 0x43, 0, 0x01, 0x01, 0, 0, 0x18, 0, 0});  // INFO_IND
    ASSERT_TRUE(abfragenBis([&] { return server->empfangen() >= 4; }));
    EXPECT_EQ(server->naechste(), InfoResp(id, 0x43, 0x101));

    server->senden({14, 0, id, 0, 0x04, 0x82, 0x44, 0, 0x01, 0x01, 0, 0, 0x90, 0x34});  // DISCONNECT_IND
    ASSERT_TRUE(abfragenBis([&] { return gemeldet("Rufbehandlung: \tAnrufer hat aufgelegt"); }));
    EXPECT_EQ(server->naechste(), DisconnectResp(id, 0x44, 0x101));

    // The call-back carries exactly the number and the MSN, each with its own length.
    monitor.waehlen("01711234567", "4711");
    ASSERT_TRUE(abfragenBis([&] { return server->empfangen() >= 6; }));
    EXPECT_EQ(server->naechste(), (B{41, 0, id, 0, 0x02, 0x80, 1, 0, 1, 0, 0, 0, 1, 0,           //
                                     12, 0x80, '0', '1', '7', '1', '1', '2', '3', '4', '5', '6', '7',  //
                                     6, 0x00, 0x80, '4', '7', '1', '1', 0, 0, 1, 0, 0, 0, 0}));

    monitor.CapiStop();
    EXPECT_TRUE(server->freigabeAbwarten());
}

TEST_F(EchtTest, ALostServerIsReportedAndNeitherBlocksNorKillsTheProgram) {
    ASSERT_TRUE(monitor.CapiStart());
    ASSERT_TRUE(server->naechste().has_value());  // LISTEN_REQ
    server->trennen();
    ASSERT_TRUE(abfragenBis([&] { return !meldungen.empty(); }));
    EXPECT_THAT(meldungen, ElementsAre("Capi-Fehler beim Abholen:\t0x1108 (Verbindung zur CAPI verloren)"));
    // Puts into the closed connection: SIGPIPE would end the test program here.
    monitor.waehlen("0892", "333");
    monitor.waehlen("0892", "333");
    monitor.CapiStop();
}

}  // namespace
}  // namespace rufpilot

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new rufpilot::Umgebung);
    return RUN_ALL_TESTS();
}
