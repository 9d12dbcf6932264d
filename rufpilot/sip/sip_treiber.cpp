#include "rufpilot/sip/sip_treiber.h"

#include <sofia-sip/msg_addr.h>
#include <sofia-sip/msg_header.h>
#include <sofia-sip/nta_tag.h>
#include <sofia-sip/nua.h>
#include <sofia-sip/nua_tag.h>
#include <sofia-sip/sip_extra.h>
#include <sofia-sip/sip_status.h>
#include <sofia-sip/sip_tag.h>
#include <sofia-sip/su.h>
#include <sofia-sip/su_log.h>
#include <sofia-sip/su_tag_io.h>
#include <sofia-sip/su_wait.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "rufpilot/routermonitor/namensaufloeser.h"
#include "rufpilot/sip/sip_adressen.h"
#include "rufpilot/sip/sip_anrufer.h"
#include "rufpilot/sip/sip_ausloesegrund.h"
#include "rufpilot/sip/sip_bibliothek.h"

namespace rufpilot {

namespace {

const char* Oder(const char* text) { return text ? text : ""; }

}  // namespace

struct SipTreiber::Stapel {
    enum class Art { Eingang, Rueckruf };
    struct Anruf {
        nua_handle_t* nh = nullptr;
        Art art = Art::Eingang;
        bool abgelehnt = false;    // our decline went out
        bool indiziert = false;    // its DISCONNECT_IND is queued
        bool abgebrochen = false;  // we cleared the call-back
        bool verbunden = false;
        bool authentisiert = false;
        Ausloesung grund = kBeendet;
    };
    static inline const Ausloesung kBeendet{Netz::Sip, Ausloesegrund::RueckrufBeendet, {}};

    SipKonto konto;
    SipOptionen optionen;
    su_root_t* root = nullptr;
    nua_t* nua = nullptr;
    nua_handle_t* anmeldung = nullptr;
    su_timer_t* wiederholung = nullptr;
    int authVersuche = 0;
    bool registriert = false;
    bool beenden = false;
    bool heruntergefahren = false;
    std::uint16_t port = 0;
    std::string kontaktHost = "0.0.0.0";
    std::map<AnrufId, Anruf> anrufe;
    AnrufId naechsteId = 1;
    std::deque<Anrufereignis> warteschlange;
    std::vector<std::string> registrarAdressen;
    // The registrar's name resolved off the loop (digits need no resolver).
    SystemAufloeser registrarAufloeser;
    bool registrarLoestAuf = false;

    Stapel(SipKonto k, SipOptionen o) : konto(std::move(k)), optionen(std::move(o)) {}

    ~Stapel() { stoppen(); }

    static void Rueckruf(nua_event_t ereignis, int status, char const* text, nua_t*, nua_magic_t* magic,
                         nua_handle_t* nh, nua_hmagic_t*, sip_t const* sip, tagi_t tags[]) {
        static_cast<Stapel*>(magic)->ereignis(ereignis, status, Oder(text), nh, sip, tags);
    }

    static void WiederholungFaellig(su_root_magic_t*, su_timer_t*, su_timer_arg_t* arg) {
        auto* s = static_cast<Stapel*>(arg);
        if (!s->beenden) s->anmelden();
    }

    bool starten() {
        if (nua) return true;
        SipBibliothekEinrichten();
        root = su_root_create(nullptr);
        if (!root) return false;
        // Callbacks only ever run inside su_root_step on our thread.
        su_root_threading(root, 0);
        nua = nua_create(root, &Stapel::Rueckruf, this, NUTAG_URL(optionen.lokal.c_str()), NUTAG_MEDIA_ENABLE(0),
                         NUTAG_AUTOALERT(0), NUTAG_AUTOANSWER(0),
                         // A router on the same LAN needs no OPTIONS probes
                         // through it; they only confuse simple registrars.
                         NUTAG_OUTBOUND("no-validate no-options-keepalive"), TAG_END());
        if (!nua) {
            su_root_destroy(root);
            root = nullptr;
            return false;
        }
        beenden = false;
        heruntergefahren = false;
        wiederholung = su_timer_create(su_root_task(root), 0);
        nua_get_params(nua, TAG_ANY(), TAG_END());
        if (optionen.anmelden) anmelden();
        return true;
    }

    void stoppen() {
        if (!root) return;
        beenden = true;
        if (wiederholung) su_timer_reset(wiederholung);
        if (nua) {
            nua_shutdown(nua);
            // Un-registering takes a round trip; a dead registrar must not hold us long.
            const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (!heruntergefahren && std::chrono::steady_clock::now() < ende) su_root_step(root, 20);
            nua_destroy(nua);
            nua = nullptr;
        }
        if (wiederholung) su_timer_destroy(wiederholung);
        wiederholung = nullptr;
        su_root_destroy(root);
        root = nullptr;
        anmeldung = nullptr;
        anrufe.clear();
        registriert = false;
    }

    void pumpen() {
        if (!root) return;
        if (registrarLoestAuf) {
            std::vector<Netzadresse> adressen;
            const auto stand = registrarAufloeser.stand(adressen);
            if (stand != Namensaufloeser::Stand::Laeuft) {
                registrarLoestAuf = false;
                for (const Netzadresse& n : adressen)
                    registrarAdressen.push_back(
                        NumerischeAdresse(reinterpret_cast<const sockaddr*>(&n.adresse), n.laenge));
                if (stand != Namensaufloeser::Stand::Fertig)
                    melden("SIP-Registrar nicht auflösbar:\t" + konto.registrar);
            }
        }
        // Each request we make reaches the stack as a message of its own;
        // a few steps let a reply and its consequences through.
        for (int i = 0; i < 8; ++i) su_root_step(root, 0);
    }

    void melden(const std::string& text) const {
        if (optionen.meldung) optionen.meldung(text);
    }

    std::string aor() const { return "<sip:" + konto.benutzer + "@" + RegistrarHost(konto.registrar) + ">"; }

    void anmelden() {
        if (!nua || !konto.eingerichtet()) return;
        const std::string host = NurHost(RegistrarHost(konto.registrar));
        registrarAdressen.clear();
        for (const Netzadresse& n : numerischeAdresse(host, 5060))
            registrarAdressen.push_back(NumerischeAdresse(reinterpret_cast<const sockaddr*>(&n.adresse), n.laenge));
        registrarLoestAuf = registrarAdressen.empty();
        if (registrarLoestAuf) registrarAufloeser.anfragen(host, 5060);
        if (anmeldung) nua_handle_destroy(anmeldung);
        const std::string adresse = aor();
        anmeldung = nua_handle(nua, nullptr, SIPTAG_TO_STR(adresse.c_str()), SIPTAG_FROM_STR(adresse.c_str()),
                               TAG_END());
        authVersuche = 0;
        const std::string registrar = Registrar(konto.registrar);
        const std::string ablauf = std::to_string(optionen.ablaufSekunden);
        nua_register(anmeldung, NUTAG_REGISTRAR(registrar.c_str()), NUTAG_M_USERNAME(konto.benutzer.c_str()),
                     SIPTAG_EXPIRES_STR(ablauf.c_str()), TAG_END());
    }

    void anmeldungFehlgeschlagen(int status, const char* text) {
        registriert = false;
        // The library keeps a failed registration's handle and tries to
        // un-register it at shutdown, which then never completes; the retry
        // makes a new one anyway.
        if (anmeldung) nua_handle_destroy(anmeldung);
        anmeldung = nullptr;
        melden("SIP-Anmeldung fehlgeschlagen:\t" + std::to_string(status) + " " + text);
        if (!beenden && wiederholung) {
            su_timer_set_interval(wiederholung, &Stapel::WiederholungFaellig, this,
                                  static_cast<su_duration_t>(optionen.wiederholungMs));
        }
    }

    // "Digest:"realm":user:password" for the challenge in `sip`.
    std::string zugang(sip_t const* sip, int status) const {
        msg_auth_t const* auth = nullptr;
        if (sip) auth = status == 407 ? sip->sip_proxy_authenticate : sip->sip_www_authenticate;
        if (!auth) return {};
        const char* realm = msg_params_find(auth->au_params, "realm=");
        return std::string(Oder(auth->au_scheme)) + ":" + Oder(realm) + ":" + konto.benutzer + ":" +
               konto.passwort;
    }

    void einreihen(Anrufereignis e) { warteschlange.push_back(std::move(e)); }

    std::map<AnrufId, Anruf>::iterator finden(nua_handle_t* nh) {
        for (auto a = anrufe.begin(); a != anrufe.end(); ++a)
            if (a->second.nh == nh) return a;
        return anrufe.end();
    }

    AnrufId neueId() {
        const AnrufId id = naechsteId++;
        if (naechsteId == 0) naechsteId = 1;
        return id;
    }

    void ereignis(nua_event_t e, int status, const char* text, nua_handle_t* nh, sip_t const* sip, tagi_t tags[]) {
        switch (e) {
            case nua_r_shutdown:
                if (status >= 200) heruntergefahren = true;
                break;
            case nua_r_get_params: {
                sip_contact_t const* kontakt = nullptr;
                tl_gets(tags, NTATAG_CONTACT_REF(kontakt), TAG_END());
                if (kontakt && kontakt->m_url->url_port) {
                    port = static_cast<std::uint16_t>(std::stoi(kontakt->m_url->url_port));
                    kontaktHost = Oder(kontakt->m_url->url_host);
                }
                break;
            }
            case nua_r_register: registrierung(status, text, nh, sip); break;
            case nua_i_invite: eingang(nh, sip); break;
            case nua_i_cancel: abbruch(nh, sip); break;
            case nua_r_invite: rueckrufAntwort(status, nh, sip); break;
            case nua_r_bye:
            case nua_i_bye: fertig(nh); break;
            case nua_i_state: {
                int zustand = nua_callstate_init;
                tl_gets(tags, NUTAG_CALLSTATE_REF(zustand), TAG_END());
                if (zustand == nua_callstate_terminated) fertig(nh);
                break;
            }
            case nua_i_options:
                // Keep-alive probes get their answer from the stack; their
                // handles would pile up.
                if (nh && nh != anmeldung && finden(nh) == anrufe.end()) nua_handle_destroy(nh);
                break;
            default: break;
        }
    }

    void registrierung(int status, const char* text, nua_handle_t* nh, sip_t const* sip) {
        if (nh != anmeldung || beenden) return;
        if (status == 401 || status == 407) {
            const std::string z = zugang(sip, status);
            // A second challenge in a row means the password is wrong.
            if (!z.empty() && authVersuche++ < 1) {
                nua_authenticate(nh, NUTAG_AUTH(z.c_str()), TAG_END());
                return;
            }
            anmeldungFehlgeschlagen(status, text);
        } else if (status >= 200 && status < 300) {
            authVersuche = 0;
            if (!registriert) melden("SIP angemeldet:\t" + konto.benutzer + "@" + RegistrarHost(konto.registrar));
            registriert = true;
        } else if (status >= 300) {
            anmeldungFehlgeschlagen(status, text);
        }
    }

    void eingang(nua_handle_t* nh, sip_t const* sip) {
        if (!sip || !sip->sip_from || !sip->sip_to) {
            nua_respond(nh, SIP_400_BAD_REQUEST, TAG_END());
            nua_handle_destroy(nh);
            return;
        }
        // Registered at the router, only the router may ring us: anyone else
        // could set off a radio alarm with a forged caller number.
        if (optionen.anmelden) {
            const std::string absender = absenderAdresse();
            if (std::find(registrarAdressen.begin(), registrarAdressen.end(), absender) == registrarAdressen.end()) {
                nua_respond(nh, SIP_403_FORBIDDEN, TAG_END());
                anrufe[neueId()] = Anruf{nh, Art::Eingang, true};
                melden("SIP-Anruf von fremder Adresse abgewiesen:\t" + absender);
                return;
            }
        }
        SipAnruferangaben a;
        a.fromUser = Oder(sip->sip_from->a_url->url_user);
        a.fromHost = Oder(sip->sip_from->a_url->url_host);
        if (const auto* pai = sip_p_asserted_identity(sip)) {
            a.paiVorhanden = true;
            a.paiUser = Oder(pai->paid_url->url_user);
        }
        if (const auto* privacy = sip_privacy(sip); privacy && privacy->priv_values) {
            for (auto* w = privacy->priv_values; *w; ++w) a.privacy += std::string(*w) + ";";
        }
        std::string msn = Oder(sip->sip_to->a_url->url_user);
        if (msn.empty() && sip->sip_request) msn = Oder(sip->sip_request->rq_url->url_user);

        const AnrufId id = neueId();
        anrufe[id] = Anruf{nh, Art::Eingang};
        einreihen(Eingang{id, SipAnrufer(a), SipMsn(msn)});
    }

    // Where the request being handled came from.
    std::string absenderAdresse() const {
        msg_t* anfrage = nua_current_request(nua);
        const su_addrinfo_t* ai = anfrage ? msg_addrinfo(anfrage) : nullptr;
        if (!ai || !ai->ai_addr) return {};
        return NumerischeAdresse(reinterpret_cast<const sockaddr*>(ai->ai_addr), static_cast<socklen_t>(ai->ai_addrlen));
    }

    void abbruch(nua_handle_t* nh, sip_t const* sip) {
        const auto a = finden(nh);
        if (a == anrufe.end() || a->second.indiziert) return;
        std::string reason;
        for (sip_reason_t const* r = sip ? sip->sip_reason : nullptr; r; r = r->re_next) {
            if (!reason.empty()) reason += ",";
            reason += Oder(r->re_protocol);
            if (r->re_cause) reason += std::string(";cause=") + r->re_cause;
            if (r->re_text) reason += std::string(";text=") + r->re_text;
        }
        a->second.indiziert = true;
        einreihen(Ende{a->first, GrundAusReason(reason)});
    }

    void rueckrufAntwort(int status, nua_handle_t* nh, sip_t const* sip) {
        const auto a = finden(nh);
        if (a == anrufe.end() || status < 200) return;
        Anruf& ruf = a->second;
        if ((status == 401 || status == 407) && !ruf.authentisiert && !ruf.abgebrochen) {
            const std::string z = zugang(sip, status);
            if (!z.empty()) {
                ruf.authentisiert = true;
                nua_authenticate(nh, NUTAG_AUTH(z.c_str()), TAG_END());
                return;
            }
        }
        if (status < 300) {
            // Someone answered: the call-back only has to ring, so it ends
            // now, also when our CANCEL crossed the answer.
            ruf.verbunden = true;
            if (!ruf.abgebrochen) einreihen(RueckrufAngenommen{a->first});
            ruf.grund = kBeendet;
            nua_bye(nh, TAG_END());
            return;
        }
        ruf.grund = ruf.abgebrochen ? kBeendet : GrundAusStatus(status);
        fertig(nh);
    }

    // The call is over on the SIP side: tell the monitor once, drop the handle.
    void fertig(nua_handle_t* nh) {
        const auto a = finden(nh);
        if (a == anrufe.end()) return;
        Anruf& ruf = a->second;
        if (!ruf.indiziert && !(ruf.art == Art::Eingang && ruf.abgelehnt)) {
            const Ausloesung grund =
                ruf.art == Art::Eingang ? Ausloesung{Netz::Sip, Ausloesegrund::Aufgelegt, {}} : ruf.grund;
            einreihen(Ende{a->first, grund});
        }
        anrufe.erase(a);
        nua_handle_destroy(nh);
    }

    // --- what the gateway asks

    void ablehnen(AnrufId id) {
        const auto a = anrufe.find(id);
        if (a == anrufe.end() || a->second.art != Art::Eingang || a->second.abgelehnt || a->second.indiziert) return;
        a->second.abgelehnt = true;
        nua_respond(a->second.nh, SIP_486_BUSY_HERE, TAG_END());
    }

    Waehlergebnis waehlen(const std::string& nummer, const std::string& msn) {
        const std::string ziel = UriNummer(nummer);
        if (ziel.empty()) return {std::nullopt, "Rufnummer nicht wählbar: " + nummer.substr(0, 40)};
        if (!nua || konto.registrar.empty()) return {std::nullopt, "SIP nicht bereit"};
        const std::string host = RegistrarHost(konto.registrar);
        std::string absender = UriNummer(msn);
        if (absender.empty()) absender = konto.benutzer;
        const std::string an = "<sip:" + ziel + "@" + host + ">";
        const std::string von = "<sip:" + absender + "@" + host + ">";
        nua_handle_t* nh = nua_handle(nua, nullptr, SIPTAG_TO_STR(an.c_str()), SIPTAG_FROM_STR(von.c_str()), TAG_END());
        if (!nh) return {std::nullopt, "SIP nicht bereit"};
        // No media: an inactive audio offer, so the callee's phone rings as for any call.
        const std::string sdp = "v=0\r\no=rufpilot 1 1 IN IP4 " + kontaktHost + "\r\ns=Rufpilot\r\nc=IN IP4 " +
                                kontaktHost + "\r\nt=0 0\r\nm=audio 9 RTP/AVP 8 0\r\na=inactive\r\n";
        nua_invite(nh, SIPTAG_CONTENT_TYPE_STR("application/sdp"), SIPTAG_PAYLOAD_STR(sdp.c_str()), TAG_END());
        const AnrufId id = neueId();
        anrufe[id] = Anruf{nh, Art::Rueckruf};
        return {id, {}};
    }

    void auflegen(AnrufId id) {
        const auto a = anrufe.find(id);
        if (a == anrufe.end()) return;
        Anruf& ruf = a->second;
        if (ruf.art == Art::Eingang) {
            ablehnen(id);
        } else if (!ruf.verbunden && !ruf.abgebrochen) {
            ruf.abgebrochen = true;
            ruf.grund = kBeendet;
            nua_cancel(ruf.nh, TAG_END());
        }
    }
};

SipTreiber::SipTreiber(SipKonto konto, SipOptionen optionen)
    : s_(std::make_unique<Stapel>(std::move(konto), std::move(optionen))) {}

SipTreiber::~SipTreiber() = default;

bool SipTreiber::vorhanden(std::string& gesucht) {
    if (!s_->optionen.anmelden) {
        gesucht = "SIP ohne Anmeldung";
        return true;
    }
    if (!s_->konto.eingerichtet()) {
        gesucht = "SIP-Konto nicht eingerichtet";
        return false;
    }
    gesucht = "SIP-Konto " + s_->konto.benutzer + "@" + s_->konto.registrar;
    return true;
}

bool SipTreiber::starten() { return s_->starten(); }

void SipTreiber::stoppen() { s_->stoppen(); }

bool SipTreiber::verbunden() const { return s_->nua && (s_->registriert || !s_->optionen.anmelden); }

Anrufereignisse SipTreiber::schritt() {
    if (!s_->nua) return {};
    s_->pumpen();
    Anrufereignisse alle(std::make_move_iterator(s_->warteschlange.begin()),
                         std::make_move_iterator(s_->warteschlange.end()));
    s_->warteschlange.clear();
    return alle;
}

void SipTreiber::pumpen() { s_->pumpen(); }

void SipTreiber::weiterklingeln(AnrufId id) {
    if (s_->nua) s_->ablehnen(id);
}

Waehlergebnis SipTreiber::waehlen(const std::string& nummer, const std::string& msn) {
    return s_->waehlen(nummer, msn);
}

void SipTreiber::auflegen(AnrufId id) {
    if (s_->nua) s_->auflegen(id);
}

void SipTreiber::meldungenAn(MeldungSchreiben meldung) {
    s_->optionen.meldung = meldung;
    Anrufquelle::meldungenAn(std::move(meldung));
}

bool SipTreiber::angemeldet() const { return s_->registriert; }
std::uint16_t SipTreiber::port() const { return s_->port; }
std::size_t SipTreiber::wartend() const { return s_->warteschlange.size(); }

std::unique_ptr<Anrufquelle> sipTreiberErzeugen(const SipKonto& konto, SipOptionen optionen) {
    return std::make_unique<SipTreiber>(konto, std::move(optionen));
}

}  // namespace rufpilot
