// The router's call monitor as a call source: a RING line is a call that came
// in, its DISCONNECT line the end of it (answered at another phone when a
// CONNECT line came between). The monitor only reports calls: there is
// nothing to answer, and a call-back cannot be placed through it.
//
// Everything happens inside schritt(): connecting, reading, and after a
// refused or lost connection a new attempt once the back-off has passed on
// the injected clock. While the connection is down verbunden() is false,
// which turns the Capi lamp red. A feed silent for too long is reconnected,
// in case the router forgot the connection.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "rufpilot/anrufe/anrufquelle.h"
#include "rufpilot/routermonitor/tcp_verbindung.h"
#include "rufpilot/routermonitor/zeilenpuffer.h"

namespace rufpilot {

class AnrufmonitorTreiber : public Anrufquelle {
public:
    using Uhr = std::function<std::int64_t()>;  // monotonic milliseconds

    struct Zeiten {
        std::int64_t ersterRueckzugMs = 1000;
        std::int64_t laengsterRueckzugMs = 60000;
        std::int64_t verbindeFristMs = 10000;
        std::int64_t stilleMs = 30 * 60 * 1000;
    };

    // At most this many unreadable lines are told per connection.
    static constexpr int kUnlesbarMeldungen = 10;

    AnrufmonitorTreiber(std::string host, std::uint16_t port, Uhr uhr, Zeiten zeiten);
    AnrufmonitorTreiber(std::string host, std::uint16_t port, Uhr uhr)
        : AnrufmonitorTreiber(std::move(host), port, std::move(uhr), Zeiten{}) {}

    // For an event loop or a test to wait on: the socket and what it waits for.
    int socket() const { return tcp_.fd(); }
    bool verbindet() const { return tcp_.zustand() == TcpVerbindung::Zustand::Verbindet; }
    bool verbunden() const override { return tcp_.zustand() == TcpVerbindung::Zustand::Offen; }
    std::int64_t naechsterVersuchMs() const { return naechsterVersuchMs_; }
    std::string ziel() const { return host_ + ":" + std::to_string(port_); }

    // Anrufquelle
    bool vorhanden(std::string& gesucht) override;
    // Starts connecting; false without a router to connect to.
    bool starten() override;
    void stoppen() override;
    Anrufereignisse schritt() override;
    void weiterklingeln(AnrufId) override {}
    // Refused: the monitor cannot place calls (said in the message list).
    Waehlergebnis waehlen(const std::string& nummer, const std::string& msn) override;
    void auflegen(AnrufId) override {}
    // Events waiting for schritt().
    std::size_t wartend() const { return warteschlange_.size(); }

private:
    struct Ruf {
        AnrufId id;
        bool angenommen = false;
    };

    void arbeiten();
    void versuchen(std::int64_t jetzt);
    void aufgebaut(std::int64_t jetzt);
    void fehlgeschlagen(int fehler, std::int64_t jetzt);
    // `warum` empty: closed on purpose, nothing told.
    void getrennt(const std::string& warum, std::int64_t jetzt);
    void lesen(std::int64_t jetzt);
    void zeileBehandeln(const std::string& zeile);
    void unlesbar(const std::string& meldung);
    void einreihen(Anrufereignis e);

    std::string host_;
    std::uint16_t port_;
    Uhr uhr_;
    Zeiten zeiten_;

    bool gestartet_ = false;
    TcpVerbindung tcp_;
    Zeilenpuffer puffer_;
    std::deque<Anrufereignis> warteschlange_;
    std::map<std::uint32_t, Ruf> rufe_;  // by the monitor's call id
    AnrufId naechsterRuf_ = 1;
    std::int64_t rueckzugMs_;
    std::int64_t naechsterVersuchMs_ = 0;
    std::int64_t versuchSeitMs_ = 0;
    std::int64_t letzteDatenMs_ = 0;
    bool fehlerGesagt_ = false;
    bool leiseErneuern_ = false;  // reconnecting after silence: success goes untold
    int unlesbarGesagt_ = 0;
};

}  // namespace rufpilot
