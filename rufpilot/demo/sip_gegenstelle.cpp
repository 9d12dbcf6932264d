#include "rufpilot/demo/sip_gegenstelle.h"

#include <sofia-sip/auth_digest.h>
#include <sofia-sip/nta_tag.h>
#include <sofia-sip/nua.h>
#include <sofia-sip/nua_tag.h>
#include <sofia-sip/sip_status.h>
#include <sofia-sip/sip_tag.h>
#include <sofia-sip/su.h>
#include <sofia-sip/su_log.h>
#include <sofia-sip/su_tag_io.h>
#include <sofia-sip/url.h>

#include <chrono>
#include <cstdarg>
#include <cstdlib>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>

#include "rufpilot/sip/sip_bibliothek.h"

namespace rufpilot {

namespace {

const char* Oder(const char* text) { return text ? text : ""; }

}  // namespace

constexpr const char* kRealm = "rufpilot-router";
constexpr const char* kNonce = "a7c3e1f09d2b4c68";

struct SipGegenstelle::Stapel {
    SipGegenstelle& aussen;
    su_root_t* root = nullptr;
    nua_t* nua = nullptr;
    nua_handle_t* letzter = nullptr;  // the call placed last
    std::set<nua_handle_t*> rueckrufe;
    std::uint16_t port = 0;
    bool heruntergefahren = false;

    explicit Stapel(SipGegenstelle& a) : aussen(a) {}

    static void Rueckruf(nua_event_t e, int status, char const*, nua_t*, nua_magic_t* magic, nua_handle_t* nh,
                         nua_hmagic_t*, sip_t const* sip, tagi_t tags[]) {
        static_cast<Stapel*>(magic)->ereignis(e, status, nh, sip, tags);
    }

    void schritte() {
        for (int i = 0; i < 8; ++i) su_root_step(root, 0);
    }

    // Only for set-up and shutdown, which need the stack's answer to go on.
    template <typename Fertig>
    void bis(Fertig fertig) {
        const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!fertig() && std::chrono::steady_clock::now() < ende) su_root_step(root, 10);
    }

    void ereignis(nua_event_t e, int status, nua_handle_t* nh, sip_t const* sip, tagi_t tags[]) {
        switch (e) {
            case nua_r_shutdown:
                if (status >= 200) heruntergefahren = true;
                break;
            case nua_r_get_params: {
                sip_contact_t const* kontakt = nullptr;
                tl_gets(tags, NTATAG_CONTACT_REF(kontakt), TAG_END());
                if (kontakt && kontakt->m_url->url_port)
                    port = static_cast<std::uint16_t>(std::stoi(kontakt->m_url->url_port));
                break;
            }
            case nua_i_register: anmeldung(nh, sip); break;
            case nua_i_invite:
                // A call-back from the gateway: let it ring until cancelled.
                rueckrufe.insert(nh);
                ++aussen.rueckrufe_;
                aussen.gewaehlt_ = sip && sip->sip_request ? Oder(sip->sip_request->rq_url->url_user) : "";
                nua_respond(nh, SIP_180_RINGING, TAG_END());
                break;
            case nua_r_invite:
                if (nh == letzter && status >= 200) aussen.antwort_ = status;
                break;
            case nua_i_state: {
                int zustand = nua_callstate_init;
                tl_gets(tags, NUTAG_CALLSTATE_REF(zustand), TAG_END());
                if (zustand != nua_callstate_terminated) break;
                if (rueckrufe.erase(nh) > 0) ++aussen.rueckrufeBeendet_;
                if (nh == letzter) letzter = nullptr;
                nua_handle_destroy(nh);
                break;
            }
            default: break;
        }
    }

    // Whether the REGISTER's Authorization answers our challenge with the account.
    bool berechtigt(sip_t const* sip) const {
        if (aussen.benutzer_.empty()) return true;
        if (!sip->sip_authorization) return false;
        su_home_t home[1] = {SU_HOME_INIT(home)};
        auth_response_t ar{};
        ar.ar_size = sizeof ar;
        bool ok = false;
        if (auth_digest_response_get(home, &ar, sip->sip_authorization->au_params) > 0 && ar.ar_username &&
            ar.ar_response && ar.ar_nonce && aussen.benutzer_ == ar.ar_username && std::string(ar.ar_nonce) == kNonce) {
            auth_hexmd5_t ha1, erwartet;
            auth_digest_ha1(ha1, ar.ar_username, Oder(ar.ar_realm), aussen.passwort_.c_str());
            auth_digest_response(&ar, erwartet, ha1, "REGISTER", nullptr, 0);
            ok = std::string(erwartet) == ar.ar_response;
        }
        su_home_deinit(home);
        return ok;
    }

    void anmeldung(nua_handle_t* nh, sip_t const* sip) {
        if (sip && !berechtigt(sip)) {
            if (sip->sip_authorization) ++aussen.abgewiesen_;
            const std::string challenge = std::string("Digest realm=\"") + kRealm + "\", nonce=\"" + kNonce +
                                          "\", algorithm=MD5";
            nua_respond(nh, SIP_401_UNAUTHORIZED, NUTAG_WITH_THIS(nua),
                        SIPTAG_WWW_AUTHENTICATE_STR(challenge.c_str()), TAG_END());
        } else if (!sip || !sip->sip_contact) {
            nua_respond(nh, SIP_400_BAD_REQUEST, NUTAG_WITH_THIS(nua), TAG_END());
        } else {
            const bool ab = (sip->sip_expires && sip->sip_expires->ex_delta == 0) ||
                            (sip->sip_contact->m_expires && std::string(sip->sip_contact->m_expires) == "0");
            su_home_t home[1] = {SU_HOME_INIT(home)};
            aussen.kontakt_ = ab ? "" : Oder(url_as_string(home, sip->sip_contact->m_url));
            su_home_deinit(home);
            nua_respond(nh, SIP_200_OK, NUTAG_WITH_THIS(nua), SIPTAG_CONTACT(sip->sip_contact), TAG_END());
        }
        nua_handle_destroy(nh);
    }
};

SipGegenstelle::SipGegenstelle(std::string benutzer, std::string passwort)
    : s_(std::make_unique<Stapel>(*this)), benutzer_(std::move(benutzer)), passwort_(std::move(passwort)) {
    SipBibliothekEinrichten();
    s_->root = su_root_create(nullptr);
    if (!s_->root) throw std::runtime_error("SIP-Gegenstelle: kein su_root");
    su_root_threading(s_->root, 0);
    s_->nua = nua_create(s_->root, &Stapel::Rueckruf, s_.get(), NUTAG_URL("sip:127.0.0.1:0"), NUTAG_MEDIA_ENABLE(0),
                         NUTAG_AUTOALERT(0), NUTAG_AUTOANSWER(0), NUTAG_ALLOW("REGISTER"),
                         NUTAG_APPL_METHOD("REGISTER"), TAG_END());
    if (!s_->nua) {
        su_root_destroy(s_->root);
        throw std::runtime_error("SIP-Gegenstelle: 127.0.0.1 nicht verfügbar");
    }
    nua_get_params(s_->nua, TAG_ANY(), TAG_END());
    s_->bis([this] { return s_->port != 0; });
    if (s_->port == 0) {
        nua_destroy(s_->nua);
        su_root_destroy(s_->root);
        throw std::runtime_error("SIP-Gegenstelle: kein Port");
    }
}

SipGegenstelle::~SipGegenstelle() {
    nua_shutdown(s_->nua);
    s_->bis([this] { return s_->heruntergefahren; });
    nua_destroy(s_->nua);
    su_root_destroy(s_->root);
}

std::string SipGegenstelle::adresse() const { return "127.0.0.1:" + std::to_string(s_->port); }

void SipGegenstelle::pumpen() { s_->schritte(); }

void SipGegenstelle::anrufen(const std::string& anrufer, const std::string& msn, const std::string& ziel) {
    const std::string von = anrufer.empty() ? "\"Anonymous\" <sip:anonymous@anonymous.invalid>"
                                            : "<sip:" + anrufer + "@127.0.0.1>";
    const std::string an = "<sip:" + msn + "@" + adresse() + ">";
    const std::string uri = ziel.empty() ? kontakt_ : ziel;
    if (uri.empty()) throw std::runtime_error("SIP-Gegenstelle: kein Telefon angemeldet");
    if (s_->letzter) nua_handle_destroy(s_->letzter);
    s_->letzter = nua_handle(s_->nua, nullptr, SIPTAG_TO_STR(an.c_str()), SIPTAG_FROM_STR(von.c_str()), TAG_END());
    antwort_ = 0;
    nua_invite(s_->letzter, NUTAG_URL(uri.c_str()), TAG_END());
}

void SipGegenstelle::auflegen() {
    if (s_->letzter) nua_cancel(s_->letzter, TAG_END());
}

}  // namespace rufpilot
