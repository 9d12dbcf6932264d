#include "alarm/webhook.h"

#include <curl/curl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace tonwerk::werkzeug {

namespace {

using Uhr = std::chrono::steady_clock;

void bibliothekEinrichten() {
    // Not thread-safe in libcurl: done once, before any worker starts.
    static const bool einmal = [] {
        // A write to a server that just closed the connection must not end the process.
        std::signal(SIGPIPE, SIG_IGN);
        return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    }();
    if (!einmal) throw std::runtime_error("Webhook: libcurl lässt sich nicht einrichten");
}

struct UrlTeile {
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> u{curl_url(), curl_url_cleanup};

    std::string teil(CURLUPart p) const {
        char* wert = nullptr;
        if (curl_url_get(u.get(), p, &wert, 0) != CURLUE_OK || !wert) return "";
        std::string s = wert;
        curl_free(wert);
        return s;
    }
};

// Discards the answer's body: only its status counts.
std::size_t verschlucken(char*, std::size_t groesse, std::size_t anzahl, void*) { return groesse * anzahl; }

std::string lesbarerStatus(long status) { return "HTTP " + std::to_string(status); }

}  // namespace

std::vector<std::string> webhookGeheimnisse(const std::string& url) {
    UrlTeile t;
    std::vector<std::string> g;
    if (!t.u || curl_url_set(t.u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return g;
    for (const CURLUPart p : {CURLUPART_USER, CURLUPART_PASSWORD, CURLUPART_QUERY})
        if (std::string s = t.teil(p); !s.empty()) g.push_back(std::move(s));
    return g;
}

std::string webhookAnzeige(const std::string& url) {
    UrlTeile t;
    if (!t.u || curl_url_set(t.u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        throw std::invalid_argument("Webhook: keine gültige URL (http://HOST[:PORT]/PFAD oder https://...)");
    const std::string schema = t.teil(CURLUPART_SCHEME);
    if (schema != "http" && schema != "https")
        throw std::invalid_argument("Webhook: nur http:// und https:// werden unterstützt, nicht " + schema + "://");
    std::string a = schema + "://";
    if (!t.teil(CURLUPART_USER).empty() || !t.teil(CURLUPART_PASSWORD).empty()) a += "***@";
    const std::string host = t.teil(CURLUPART_HOST);
    if (host.empty()) throw std::invalid_argument("Webhook: die URL nennt keinen Host");
    a += host;
    if (const std::string port = t.teil(CURLUPART_PORT); !port.empty()) a += ":" + port;
    a += t.teil(CURLUPART_PATH);
    if (!t.teil(CURLUPART_QUERY).empty()) a += "?***";
    return a;
}

Webhook::Webhook(WebhookEinstellungen e, std::ostream& meldungen)
    : e_(std::move(e)),
      meldungen_(meldungen),
      anzeige_(webhookAnzeige(e_.url)),
      geheimnisse_(webhookGeheimnisse(e_.url)),
      schlange_(e_.puffer),
      rueckzug_(e_.erstePauseSek, e_.hoechstePauseSek) {
    if (e_.puffer == 0) throw std::invalid_argument("Webhook-Puffer muss mindestens 1 Meldung fassen");
    bibliothekEinrichten();
    // Unique across runs and hosts' restarts: wall-clock start and process id.
    const auto jetzt = std::chrono::system_clock::now().time_since_epoch();
    schluesselPraefix_ = std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(jetzt).count()) + "-" +
                         std::to_string(::getpid()) + "-";
    multi_ = curl_multi_init();
    easy_ = curl_easy_init();
    if (!multi_ || !easy_) {
        if (easy_) curl_easy_cleanup(easy_);
        if (multi_) curl_multi_cleanup(multi_);
        throw std::runtime_error("Webhook: libcurl legt keine Verbindung an");
    }
    CURL* c = easy_;
    curl_easy_setopt(c, CURLOPT_URL, e_.url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "tonwerk");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, verschlucken);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(e_.zeitlimitSek * 1000));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::min(e_.zeitlimitSek, 10.0) * 1000));
    if (!e_.caDatei.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, e_.caDatei.c_str());
    arbeiter_ = std::thread([this] { arbeiten(); });
}

Webhook::~Webhook() {
    anhalten();
    curl_easy_cleanup(easy_);
    curl_multi_cleanup(multi_);
}

void Webhook::anhalten() {
    {
        std::lock_guard l(mutex_);
        halt_ = true;
    }
    cv_.notify_all();
    curl_multi_wakeup(multi_);
    if (arbeiter_.joinable()) arbeiter_.join();
}

void Webhook::senden(std::string json) {
    {
        std::lock_guard l(mutex_);
        if (schlange_.anstellen({std::move(json), naechsteNummer_++}, stand_.zahlen) && !verwerfenGemeldet_) {
            berichte_.push_back("Webhook " + anzeige_ + ": Warteschlange voll (" + std::to_string(e_.puffer) +
                                "), älteste Meldungen werden verworfen");
            verwerfenGemeldet_ = true;
        }
        stand_.wartend = schlange_.groesse() + (unterwegs_ ? 1 : 0);
    }
    cv_.notify_all();
}

void Webhook::anstossen() {
    {
        std::lock_guard l(mutex_);
        anstoss_ = true;
    }
    cv_.notify_all();
}

Webhook::Stand Webhook::stand() const {
    std::lock_guard l(mutex_);
    return stand_;
}

void Webhook::bedienen() {
    std::vector<std::string> b;
    {
        std::lock_guard l(mutex_);
        b.swap(berichte_);
    }
    for (const auto& zeile : b) meldungen_ << zeile << '\n';
    if (!b.empty()) meldungen_.flush();
}

bool Webhook::warten(const std::function<bool(const Stand&)>& fertig, double warteSek) {
    std::unique_lock l(mutex_);
    return cv_.wait_for(l, std::chrono::duration<double>(warteSek), [&] { return fertig(stand_); });
}

bool Webhook::abschliessen(double warteSek) {
    anstossen();  // a server back by now need not wait out the pause
    const bool alles = warten([](const Stand& s) { return s.wartend == 0; }, warteSek);
    anhalten();
    bedienen();
    if (!alles) {
        const Stand s = stand();
        meldungen_ << "Webhook " << anzeige_ << ": " << s.wartend << " Meldungen nicht zugestellt\n";
    }
    return alles;
}

void Webhook::arbeiten() {
    std::unique_lock l(mutex_);
    for (;;) {
        cv_.wait_until(l, naechsterVersuch_, [&] {
            return halt_ || ((!schlange_.leer() || unterwegs_) && (anstoss_ || Uhr::now() >= naechsterVersuch_));
        });
        if (halt_) return;
        if (schlange_.leer() && !unterwegs_) {
            cv_.wait(l, [&] { return halt_ || !schlange_.leer(); });
            continue;
        }
        if (!anstoss_ && Uhr::now() < naechsterVersuch_) continue;
        anstoss_ = false;
        if (!unterwegs_) {
            unterwegs_ = std::move(schlange_.vorne());
            schlange_.entnehmen();
        }
        const Nachricht n = *unterwegs_;
        l.unlock();
        std::string grund;
        long status = 0;
        const Ergebnis r = posten(n, grund, status);
        l.lock();
        switch (r) {
            case Ergebnis::abgebrochen:
                return;
            case Ergebnis::zugestellt:
                ++stand_.zahlen.zugestellt;
                unterwegs_.reset();
                rueckzug_.zuruecksetzen();
                naechsterVersuch_ = {};
                if (ausfallGemeldet_) {
                    std::string z = "Webhook " + anzeige_ + " wieder erreichbar";
                    if (stand_.zahlen.verworfen > 0)
                        z += ", " + std::to_string(stand_.zahlen.verworfen) + " Meldungen bisher verworfen";
                    berichte_.push_back(z);
                }
                ausfallGemeldet_ = false;
                verwerfenGemeldet_ = false;
                letzteAbweisung_ = 0;
                break;
            case Ergebnis::abgewiesen:
                ++stand_.zahlen.abgewiesen;
                unterwegs_.reset();
                rueckzug_.zuruecksetzen();
                naechsterVersuch_ = {};
                if (status != letzteAbweisung_)
                    berichte_.push_back("Webhook " + anzeige_ + " weist Meldungen ab (" + grund +
                                        "); sie werden nicht wiederholt");
                letzteAbweisung_ = status;
                ausfallGemeldet_ = false;
                break;
            case Ergebnis::fehler: {  // the message stays at the front
                ++stand_.fehlversuche;
                const double pause = rueckzug_.naechste();
                naechsterVersuch_ = Uhr::now() + std::chrono::duration_cast<Uhr::duration>(
                                                     std::chrono::duration<double>(pause));
                if (!ausfallGemeldet_)
                    berichte_.push_back("Webhook " + anzeige_ + " nicht erreichbar (" + grund +
                                        "); Meldungen warten (höchstens " + std::to_string(e_.puffer) +
                                        "), neuer Versuch folgt");
                ausfallGemeldet_ = true;
                letzteAbweisung_ = 0;
                break;
            }
        }
        stand_.wartend = schlange_.groesse() + (unterwegs_ ? 1 : 0);
        cv_.notify_all();
    }
}

Webhook::Ergebnis Webhook::posten(const Nachricht& n, std::string& grund, long& status) {
    CURL* c = easy_;
    CURLM* m = multi_;
    char fehler[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, fehler);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, n.json.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(n.json.size()));
    curl_slist* kopf = curl_slist_append(nullptr, "Content-Type: application/json; charset=utf-8");
    kopf = curl_slist_append(kopf, ("Idempotency-Key: " + schluesselPraefix_ + std::to_string(n.nummer)).c_str());
    kopf = curl_slist_append(kopf, "Expect:");  // no 100-continue round trip
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, kopf);

    curl_multi_add_handle(m, c);
    int laufend = 1;
    CURLcode ergebnis = CURLE_OK;
    bool abgebrochen = false;
    while (true) {
        if (curl_multi_perform(m, &laufend) != CURLM_OK) {
            ergebnis = CURLE_FAILED_INIT;
            break;
        }
        if (laufend == 0) {
            int rest = 0;
            while (CURLMsg* msg = curl_multi_info_read(m, &rest))
                if (msg->msg == CURLMSG_DONE) ergebnis = msg->data.result;
            break;
        }
        if (halt_) {
            abgebrochen = true;
            break;
        }
        curl_multi_poll(m, nullptr, 0, 1000, nullptr);
        if (halt_) {
            abgebrochen = true;
            break;
        }
    }
    curl_multi_remove_handle(m, c);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
    curl_slist_free_all(kopf);
    if (abgebrochen) return Ergebnis::abgebrochen;
    if (ergebnis != CURLE_OK) {
        grund = fehler[0] ? fehler : curl_easy_strerror(ergebnis);
        // The library's text may quote the URL.
        for (const auto& g : geheimnisse_)
            for (std::size_t p; (p = grund.find(g)) != std::string::npos;) grund.replace(p, g.size(), "***");
        return Ergebnis::fehler;
    }
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    grund = lesbarerStatus(status);
    if (status >= 200 && status < 300) return Ergebnis::zugestellt;
    if (status == 408 || status == 425 || status == 429 || status >= 500) return Ergebnis::fehler;
    return Ergebnis::abgewiesen;
}

}  // namespace tonwerk::werkzeug
