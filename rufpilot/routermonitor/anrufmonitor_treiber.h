// The router's call monitor behind the CAPI driver seam: a RING line arrives
// as CONNECT_IND, its DISCONNECT line as DISCONNECT_IND, so the call monitor,
// the matcher and the lists treat it like an ISDN call. The monitor only
// reports calls: answers to them are taken here, a call-back is refused.
//
// Everything happens inside holen(): connecting, reading, and after a refused
// or lost connection a new attempt once the back-off has passed on the
// injected clock. While the connection is down holen() says
// kCapiVerbindungVerloren, which turns the CAPI lamp red. A feed silent for
// too long is reconnected, in case the router forgot the connection.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/capi/capi_treiber.h"
#include "rufpilot/routermonitor/tcp_verbindung.h"
#include "rufpilot/routermonitor/zeilenpuffer.h"

namespace rufpilot {

class AnrufmonitorTreiber : public CapiTreiber {
public:
    using Uhr = std::function<std::int64_t()>;  // monotonic milliseconds
    using MeldungSchreiben = std::function<void(const std::string&)>;

    struct Zeiten {
        std::int64_t ersterRueckzugMs = 1000;
        std::int64_t laengsterRueckzugMs = 60000;
        std::int64_t verbindeFristMs = 10000;
        std::int64_t stilleMs = 30 * 60 * 1000;
    };

    // Addresses of calls from the monitor: controller 0x7F, which no CAPI
    // driver hands out, so a call-back driver's PLCIs never meet them.
    static constexpr std::uint32_t kController = 0x7F;
    // At most this many unreadable lines are told per connection.
    static constexpr int kUnlesbarMeldungen = 10;

    AnrufmonitorTreiber(std::string host, std::uint16_t port, Uhr uhr, MeldungSchreiben meldung, Zeiten zeiten);
    AnrufmonitorTreiber(std::string host, std::uint16_t port, Uhr uhr, MeldungSchreiben meldung)
        : AnrufmonitorTreiber(std::move(host), port, std::move(uhr), std::move(meldung), Zeiten{}) {}

    // For an event loop or a test to wait on: the socket and what it waits for.
    int socket() const { return tcp_.fd(); }
    bool verbindet() const { return tcp_.zustand() == TcpVerbindung::Zustand::Verbindet; }
    bool verbunden() const { return tcp_.zustand() == TcpVerbindung::Zustand::Offen; }
    std::int64_t naechsterVersuchMs() const { return naechsterVersuchMs_; }
    std::string ziel() const { return host_ + ":" + std::to_string(port_); }

    // CapiTreiber
    bool vorhanden(std::string& gesucht) override;
    std::uint32_t registrieren(std::uint32_t pufferGroesse, std::uint32_t maxVerbindungen,
                               std::uint32_t maxB3Bloecke, std::uint32_t maxB3Laenge) override;
    unsigned senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) override;
    unsigned holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) override;
    void freigeben(std::uint32_t applId) override;

private:
    struct Ruf {
        std::uint32_t plci;
        bool angenommen = false;
    };

    void schritt();
    void versuchen(std::int64_t jetzt);
    void aufgebaut(std::int64_t jetzt);
    void fehlgeschlagen(int fehler, std::int64_t jetzt);
    // `warum` empty: closed on purpose, nothing told.
    void getrennt(const std::string& warum, std::int64_t jetzt);
    void lesen(std::int64_t jetzt);
    void zeileBehandeln(const std::string& zeile);
    void unlesbar(const std::string& meldung);
    void einreihen(CapiNachricht n);
    void melden(const std::string& text);
    std::uint16_t id() const { return static_cast<std::uint16_t>(applId_); }

    std::string host_;
    std::uint16_t port_;
    Uhr uhr_;
    MeldungSchreiben meldung_;
    Zeiten zeiten_;

    std::uint32_t applId_ = 0;
    TcpVerbindung tcp_;
    Zeilenpuffer puffer_;
    std::deque<CapiNachricht> warteschlange_;
    std::map<std::uint32_t, Ruf> rufe_;  // by the monitor's call id
    std::uint16_t naechsteNummer_ = 0x100;
    std::uint16_t naechsterRuf_ = 1;
    std::int64_t rueckzugMs_;
    std::int64_t naechsterVersuchMs_ = 0;
    std::int64_t versuchSeitMs_ = 0;
    std::int64_t letzteDatenMs_ = 0;
    bool fehlerGesagt_ = false;
    bool leiseErneuern_ = false;  // reconnecting after silence: success goes untold
    int unlesbarGesagt_ = 0;
};

}  // namespace rufpilot
