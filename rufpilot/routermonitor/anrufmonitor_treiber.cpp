#include "rufpilot/routermonitor/anrufmonitor_treiber.h"

#include <algorithm>
#include <cerrno>

#include "rufpilot/anrufe/rufnummer_text.h"
#include "rufpilot/routermonitor/monitorzeile.h"

namespace rufpilot {

namespace {

constexpr std::size_t kRufeHoechstens = 32;
// Events held for the next step. Each step hands over all of them, so only a
// source that is never stepped fills this; an event takes well under 256
// bytes (caller and MSN at most 40 characters each), so the bound is about
// 4 MB.
constexpr std::size_t kWarteschlangeHoechstens = 16384;
// Read in pieces of this size, each cut into lines before the next.
constexpr std::size_t kLeseStueck = 64 * 1024;
// A piece holds at most this many events (the shortest line that is one,
// "d;RING;0;;1", and its line end take 12 bytes). Reading stops while the
// queue could not take another piece; the rest waits in the socket.
constexpr std::size_t kEreignisseJeStueck = kLeseStueck / 12;
// What one step takes at most: everything a router has sent since the last
// step, so a huge line cannot hold back the lines behind it for many ticks,
// while a peer sending without pause still cannot hold the loop.
constexpr std::size_t kSchrittHoechstens = 16 * 1024 * 1024;

// A line as it may be shown: printable ASCII, cut short.
std::string Zeigbar(const std::string& zeile) {
    std::string t = zeile.substr(0, 60);
    for (char& c : t)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = '?';
    return t;
}

}  // namespace

AnrufmonitorTreiber::AnrufmonitorTreiber(std::string host, std::uint16_t port, Uhr uhr, Zeiten zeiten)
    : host_(std::move(host)),
      port_(port),
      uhr_(std::move(uhr)),
      zeiten_(zeiten),
      rueckzugMs_(zeiten.ersterRueckzugMs) {}

bool AnrufmonitorTreiber::vorhanden(std::string& gesucht) {
    gesucht = "Anrufmonitor " + ziel();
    return !host_.empty() && port_ != 0;
}

bool AnrufmonitorTreiber::starten() {
    if (std::string gesucht; !vorhanden(gesucht)) return false;
    gestartet_ = true;
    rueckzugMs_ = zeiten_.ersterRueckzugMs;
    naechsterVersuchMs_ = uhr_();
    fehlerGesagt_ = false;
    // Connect now, so the line is up by the first step.
    arbeiten();
    return true;
}

void AnrufmonitorTreiber::stoppen() {
    tcp_.schliessen();
    puffer_.leeren();
    warteschlange_.clear();
    rufe_.clear();
    gestartet_ = false;
}

Waehlergebnis AnrufmonitorTreiber::waehlen(const std::string&, const std::string&) {
    melden("Kein Rückruf möglich:\tder Anrufmonitor meldet nur Anrufe (für Rückrufe SIP einrichten)");
    return {};
}

Anrufereignisse AnrufmonitorTreiber::schritt() {
    if (!gestartet_) return {};
    arbeiten();
    Anrufereignisse alle(std::make_move_iterator(warteschlange_.begin()), std::make_move_iterator(warteschlange_.end()));
    warteschlange_.clear();
    return alle;
}

void AnrufmonitorTreiber::arbeiten() {
    const std::int64_t jetzt = uhr_();
    switch (tcp_.zustand()) {
        case TcpVerbindung::Zustand::Zu:
            if (jetzt >= naechsterVersuchMs_) versuchen(jetzt);
            break;
        case TcpVerbindung::Zustand::Verbindet:
            if (const int fehler = tcp_.pruefen(); fehler != 0)
                fehlgeschlagen(fehler, jetzt);
            else if (verbunden())
                aufgebaut(jetzt);
            else if (jetzt - versuchSeitMs_ >= zeiten_.verbindeFristMs)
                fehlgeschlagen(ETIMEDOUT, jetzt);
            break;
        case TcpVerbindung::Zustand::Offen: lesen(jetzt); break;
    }
}

void AnrufmonitorTreiber::versuchen(std::int64_t jetzt) {
    versuchSeitMs_ = jetzt;
    if (const int fehler = tcp_.oeffnen(host_, port_); fehler != 0)
        fehlgeschlagen(fehler, jetzt);
    else if (verbunden())
        aufgebaut(jetzt);
}

void AnrufmonitorTreiber::aufgebaut(std::int64_t jetzt) {
    puffer_.leeren();
    letzteDatenMs_ = jetzt;
    fehlerGesagt_ = false;
    unlesbarGesagt_ = 0;
    if (leiseErneuern_)
        leiseErneuern_ = false;
    else
        melden("Anrufmonitor verbunden:\t" + ziel());
}

void AnrufmonitorTreiber::fehlgeschlagen(int fehler, std::int64_t jetzt) {
    tcp_.schliessen();
    leiseErneuern_ = false;
    naechsterVersuchMs_ = jetzt + rueckzugMs_;
    // Said once until the connection works again, not at every attempt.
    if (!fehlerGesagt_) {
        melden("Anrufmonitor nicht erreichbar:\t" + ziel() + " (" + TcpFehlerText(fehler) +
               "), neuer Versuch in " + std::to_string(rueckzugMs_ / 1000) + " s");
        fehlerGesagt_ = true;
    }
    rueckzugMs_ = std::min(rueckzugMs_ * 2, zeiten_.laengsterRueckzugMs);
}

void AnrufmonitorTreiber::getrennt(const std::string& warum, std::int64_t jetzt) {
    tcp_.schliessen();
    puffer_.leeren();
    // Their DISCONNECT lines are lost with the connection.
    rufe_.clear();
    if (!warum.empty()) melden("Anrufmonitor getrennt:\t" + ziel() + " (" + warum + ")");
    naechsterVersuchMs_ = jetzt + rueckzugMs_;
    rueckzugMs_ = std::min(rueckzugMs_ * 2, zeiten_.laengsterRueckzugMs);
}

void AnrufmonitorTreiber::lesen(std::int64_t jetzt) {
    int fehler = 0;
    for (std::size_t genommen = 0; fehler == 0 && genommen < kSchrittHoechstens;) {
        std::string bytes;
        fehler = tcp_.lesen(bytes, kLeseStueck);
        if (bytes.empty()) break;
        genommen += bytes.size();
        letzteDatenMs_ = jetzt;
        // A connection that delivers is a good one: the next failure starts short again.
        rueckzugMs_ = zeiten_.ersterRueckzugMs;
        const auto zeilen = puffer_.anhaengen(bytes);
        for (const auto& zeile : zeilen.vollstaendig) zeileBehandeln(zeile);
        for (int i = 0; i < zeilen.zuLang; ++i) unlesbar("Anrufmonitor-Zeile zu lang:\tverworfen");
        if (bytes.size() < kLeseStueck) break;  // nothing more waiting
        if (warteschlange_.size() + kEreignisseJeStueck > kWarteschlangeHoechstens) break;
    }
    if (fehler != 0) {
        getrennt(TcpFehlerText(fehler), jetzt);
    } else if (jetzt - letzteDatenMs_ >= zeiten_.stilleMs) {
        // Keep-alive notices a vanished router; this catches one that lost
        // track of the connection but still answers the probes. A quiet
        // night must not fill the message list: only a failure is told.
        getrennt("", jetzt);
        leiseErneuern_ = true;
        rueckzugMs_ = zeiten_.ersterRueckzugMs;
        naechsterVersuchMs_ = jetzt;
        versuchen(jetzt);
    }
}

void AnrufmonitorTreiber::zeileBehandeln(const std::string& zeile) {
    const Monitorzeile z = MonitorzeileLesen(zeile);
    switch (z.art) {
        case Monitorzeile::Art::Ruf: {
            if (rufe_.size() >= kRufeHoechstens && !rufe_.contains(z.id)) rufe_.erase(rufe_.begin());
            const AnrufId id = naechsterRuf_++;
            if (naechsterRuf_ == 0) naechsterRuf_ = 1;
            rufe_[z.id] = Ruf{id};
            // An empty caller field is a suppressed number.
            einreihen(Eingang{id, z.anrufer.empty() ? kAnruferUnbekannt : RufnummerText(z.anrufer),
                              RufnummerText(z.msn)});
            break;
        }
        case Monitorzeile::Art::Verbunden:
            if (const auto r = rufe_.find(z.id); r != rufe_.end()) r->second.angenommen = true;
            break;
        case Monitorzeile::Art::Ende:
            if (const auto r = rufe_.find(z.id); r != rufe_.end()) {
                const Ausloesegrund grund =
                    r->second.angenommen ? Ausloesegrund::AnderswoAngenommen : Ausloesegrund::Aufgelegt;
                einreihen(Ende{r->second.id, {Netz::Anrufmonitor, grund, {}}});
                rufe_.erase(r);
            }
            break;
        case Monitorzeile::Art::Abgehend: break;  // outgoing calls are not ours
        case Monitorzeile::Art::Unlesbar: unlesbar("Anrufmonitor-Zeile verworfen:\t" + Zeigbar(zeile)); break;
    }
}

void AnrufmonitorTreiber::unlesbar(const std::string& meldung) {
    // A wrong service on the port must not flood the message list.
    if (unlesbarGesagt_ >= kUnlesbarMeldungen) return;
    ++unlesbarGesagt_;
    melden(meldung);
}

void AnrufmonitorTreiber::einreihen(Anrufereignis n) {
    // Nobody fetching must not let the queue grow without bound; what cannot
    // be kept is said, never dropped in silence.
    if (warteschlange_.size() >= kWarteschlangeHoechstens) {
        if (const auto* ruf = std::get_if<Eingang>(&n))
            melden("Anruf nicht angenommen:\t" + ruf->anrufer + " ruft " + ruf->msn + " (Warteschlange voll)");
        return;
    }
    warteschlange_.push_back(std::move(n));
}

}  // namespace rufpilot
