// Hands each message to an HTTP(S) endpoint as one POST with a JSON body, for
// alarm apps and paging services that take alarms this way.
//
// A worker thread of its own does the network work, so a slow or absent server
// never holds up decoding: senden() only queues. Messages go out one at a time
// in order. A 2xx answer ends a message. 408, 425, 429, 5xx and every network
// or TLS failure keep it at the front and retry after the shared back-off
// (1, 2, 4 ... 30 s). Any other answer (3xx, 4xx) refuses this message for
// good: the same bytes would get the same answer, so it is counted as
// "abgewiesen", reported, and the next message follows. Each request carries an
// Idempotency-Key, so a receiver can recognise the one case HTTP cannot rule
// out: a retry after an answer that got lost on the way back.
//
// Reports (one line per change of state) are collected by the worker and
// written by the owner's thread in bedienen() and abschliessen(), so the
// stream is only ever touched by one thread. URLs appear without user, password
// and query, which may carry tokens.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "alarm/rueckzug.h"
#include "alarm/zustellung.h"

namespace tonwerk::werkzeug {

struct WebhookEinstellungen {
    std::string url;            // http:// or https://
    std::string caDatei;        // TLS: CA certificate file; empty: the system's
    std::size_t puffer = 1000;  // queue bound
    double zeitlimitSek = 30;   // per request, connecting included
    double erstePauseSek = 1;   // back-off after a failure
    double hoechstePauseSek = 30;
};

// The URL as it may be shown: scheme, host, port and path; user, password and
// query replaced by "***". Throws std::invalid_argument (without echoing the
// URL) unless it is a valid http or https URL.
std::string webhookAnzeige(const std::string& url);
// User, password and query of the URL (those present), to be blacked out of
// the library's error texts.
std::vector<std::string> webhookGeheimnisse(const std::string& url);

class Webhook {
public:
    struct Stand {
        Zustellzahlen zahlen;
        std::uint64_t fehlversuche = 0;  // requests that failed and are retried
        std::size_t wartend = 0;         // queued, the one on its way included
    };

    // Starts the worker. Throws std::invalid_argument for a bad URL or settings.
    Webhook(WebhookEinstellungen e, std::ostream& meldungen);
    // Stops the worker at once; a request on its way is abandoned.
    ~Webhook();
    Webhook(const Webhook&) = delete;
    Webhook& operator=(const Webhook&) = delete;

    // Queues one JSON body; never waits for the network.
    void senden(std::string json);
    // Writes the worker's reports collected since the last call.
    void bedienen();
    // Waits up to `warteSek` until everything queued has been answered, then
    // stops the worker. False when messages remain.
    bool abschliessen(double warteSek);
    // Waits up to `warteSek` until `fertig` holds for the state; true if it did.
    bool warten(const std::function<bool(const Stand&)>& fertig, double warteSek);
    // The next attempt now instead of after the pause.
    void anstossen();

    Stand stand() const;
    const std::string& anzeige() const { return anzeige_; }

private:
    struct Nachricht {
        std::string json;
        std::uint64_t nummer;
    };
    enum class Ergebnis { zugestellt, abgewiesen, fehler, abgebrochen };

    WebhookEinstellungen e_;
    std::ostream& meldungen_;
    std::string anzeige_;
    std::vector<std::string> geheimnisse_;
    std::string schluesselPraefix_;  // Idempotency-Key: this run's prefix and the message's number

    mutable std::mutex mutex_;
    std::condition_variable cv_;
    ZustellSchlange<Nachricht> schlange_;
    std::optional<Nachricht> unterwegs_;
    Stand stand_;
    std::uint64_t naechsteNummer_ = 0;
    std::chrono::steady_clock::time_point naechsterVersuch_{};
    bool anstoss_ = false;
    bool ausfallGemeldet_ = false;
    bool verwerfenGemeldet_ = false;
    long letzteAbweisung_ = 0;
    std::vector<std::string> berichte_;
    Rueckzug rueckzug_;

    std::atomic<bool> halt_{false};
    void* multi_ = nullptr;  // CURLM*, woken from other threads
    void* easy_ = nullptr;   // CURL*, the worker's alone
    std::thread arbeiter_;

    void arbeiten();
    Ergebnis posten(const Nachricht& n, std::string& grund, long& status);
    void anhalten();
};

}  // namespace tonwerk::werkzeug
