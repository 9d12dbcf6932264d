// The call monitor's TCP connection with a host name: resolved without ever
// blocking the caller, against a resolver that never answers, one that fails,
// and one that answers with a listening port on 127.0.0.1.
#include "rufpilot/routermonitor/tcp_verbindung.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

namespace rufpilot {
namespace {

// A resolver the test answers by hand; until then it never answers.
struct HandAufloeser : Namensaufloeser {
    std::string gefragt;
    int abgebrochen = 0;
    Stand antwort = Stand::Laeuft;
    std::vector<Netzadresse> adressen;

    void anfragen(const std::string& host, std::uint16_t) override { gefragt = host; }
    Stand stand(std::vector<Netzadresse>& a) override {
        if (antwort == Stand::Fertig) a = adressen;
        return antwort;
    }
    void abbrechen() override { ++abgebrochen; }
};

struct Hoerer {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    Netzadresse adresse;
    Hoerer() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t l = sizeof a;
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        EXPECT_EQ(::listen(fd, 1), 0);
        EXPECT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &l), 0);
        std::memcpy(&adresse.adresse, &a, sizeof a);
        adresse.laenge = sizeof a;
        adresse.familie = AF_INET;
    }
    ~Hoerer() { ::close(fd); }
    std::uint16_t port() const { return ntohs(reinterpret_cast<const sockaddr_in&>(adresse.adresse).sin_port); }
};

TEST(TcpVerbindung, ANameIsResolvedWhileTheCallerGoesOn) {
    auto aufloeser = std::make_shared<HandAufloeser>();
    TcpVerbindung tcp(aufloeser);
    EXPECT_EQ(tcp.oeffnen("fritz.box", 1012), 0);
    EXPECT_EQ(aufloeser->gefragt, "fritz.box");
    EXPECT_EQ(tcp.zustand(), TcpVerbindung::Zustand::Verbindet);
    EXPECT_TRUE(tcp.loestAuf());
    EXPECT_EQ(tcp.fd(), -1);
    // A resolver that never answers: every check returns at once, still under way.
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(tcp.pruefen(), 0);
    EXPECT_EQ(tcp.zustand(), TcpVerbindung::Zustand::Verbindet);
    // The caller's own deadline closes it: the request is abandoned.
    tcp.schliessen();
    EXPECT_EQ(aufloeser->abgebrochen, 1);
    EXPECT_FALSE(tcp.loestAuf());
    EXPECT_EQ(tcp.zustand(), TcpVerbindung::Zustand::Zu);
}

TEST(TcpVerbindung, AResolverThatFailsOrGivesUpIsSaidInWords) {
    for (const auto& [stand, fehler, text] :
         {std::tuple{Namensaufloeser::Stand::Unbekannt, kTcpNameUnbekannt, "Name nicht auflösbar"},
          std::tuple{Namensaufloeser::Stand::KeineAntwort, kTcpNameOhneAntwort, "Namensauflösung ohne Antwort"}}) {
        auto aufloeser = std::make_shared<HandAufloeser>();
        TcpVerbindung tcp(aufloeser);
        ASSERT_EQ(tcp.oeffnen("router.invalid", 1012), 0);
        aufloeser->antwort = stand;
        EXPECT_EQ(tcp.pruefen(), fehler);
        EXPECT_EQ(TcpFehlerText(fehler), text);
        EXPECT_EQ(tcp.zustand(), TcpVerbindung::Zustand::Zu);
    }
}

TEST(TcpVerbindung, TheAnswerIsConnected) {
    Hoerer router;
    auto aufloeser = std::make_shared<HandAufloeser>();
    TcpVerbindung tcp(aufloeser);
    ASSERT_EQ(tcp.oeffnen("fritz.box", router.port()), 0);
    aufloeser->antwort = Namensaufloeser::Stand::Fertig;
    aufloeser->adressen = {router.adresse};
    ASSERT_EQ(tcp.pruefen(), 0);
    EXPECT_FALSE(tcp.loestAuf());
    ASSERT_GE(tcp.fd(), 0);
    pollfd p{tcp.fd(), POLLOUT, 0};
    ASSERT_EQ(::poll(&p, 1, 10000), 1);
    EXPECT_EQ(tcp.pruefen(), 0);
    EXPECT_EQ(tcp.zustand(), TcpVerbindung::Zustand::Offen);
}

TEST(TcpVerbindung, DigitsNeedNoResolver) {
    Hoerer router;
    auto aufloeser = std::make_shared<HandAufloeser>();
    TcpVerbindung tcp(aufloeser);
    ASSERT_EQ(tcp.oeffnen("127.0.0.1", router.port()), 0);
    EXPECT_TRUE(aufloeser->gefragt.empty());
    EXPECT_FALSE(tcp.loestAuf());
    EXPECT_GE(tcp.fd(), 0);
}

TEST(SystemAufloeser, LocalhostResolvesOnItsThread) {
    SystemAufloeser aufloeser(std::chrono::seconds(30));
    aufloeser.anfragen("localhost", 1012);
    std::vector<Netzadresse> adressen;
    Namensaufloeser::Stand stand;
    // Waits on what the resolver's thread did, bounded by its own limit.
    while ((stand = aufloeser.stand(adressen)) == Namensaufloeser::Stand::Laeuft) ::usleep(1000);
    ASSERT_EQ(stand, Namensaufloeser::Stand::Fertig);
    ASSERT_FALSE(adressen.empty());
    EXPECT_TRUE(adressen.front().familie == AF_INET || adressen.front().familie == AF_INET6);
}

}  // namespace
}  // namespace rufpilot
