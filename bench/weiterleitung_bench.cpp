// How many events per second MQTT and the webhook carry when the server answers
// each request 100 ms late, and how long the decoding thread spends handing one
// over (senden) meanwhile. The webhook's server is the test suite's HTTP server
// with a delay; MQTT talks to a real mosquitto through a proxy that holds back
// everything the broker says by 100 ms. Run by hand: it needs mosquitto.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <sstream>

#include "alarm/mqtt_weiterleitung.h"
#include "alarm/webhook.h"
#include "http_testserver.h"
#include "mqtt_testbroker.h"

namespace {

using namespace tonwerk;
using Uhr = std::chrono::steady_clock;
constexpr int kVerzoegerungMs = 100;

// A message of the size a decoded FMS telegram has as JSON.
std::string meldung(int i) {
    return R"({"event":"FMSDecodierung","time":)" + std::to_string(i) +
           R"(,"zeitstempel":"2026-12-08T21:00:00.000Z","kanal":"links","Kanal":0,"Kennung":"6A1B2345","bos":6,)"
           R"("land":10,"ort":"12","fz":"2345","Richtung":0,"Status":3,"tki":0,"Baustufe":0,"Text":"",)"
           R"("Organisation":"Feuerwehr","Bundesland":"Baden-Württemberg","Statuszeichen":"3",)"
           R"("Statustext":"Einsatz übernommen","Quittung":false,"Name":"Florian Musterstadt 1/44-1"})";
}

// Forwards one TCP connection to `zielPort`, delaying what comes back by `ms`.
class VerzoegerndeBruecke {
public:
    VerzoegerndeBruecke(int zielPort, int ms) : ziel_(zielPort), ms_(ms), port_(testhilfe::freierPort()) {
        lauscher_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int ja = 1;
        ::setsockopt(lauscher_, SOL_SOCKET, SO_REUSEADDR, &ja, sizeof ja);
        sockaddr_in a = adresse(port_);
        ::bind(lauscher_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(lauscher_, 1);
        annehmer_ = std::thread([this] { annehmen(); });
    }
    ~VerzoegerndeBruecke() {
        aus_ = true;
        ::shutdown(lauscher_, SHUT_RDWR);
        ::shutdown(client_, SHUT_RDWR);
        ::shutdown(server_, SHUT_RDWR);
        cv_.notify_all();
        annehmer_.join();
        for (auto& t : faeden_) t.join();
        for (int s : {lauscher_, client_, server_})
            if (s >= 0) ::close(s);
    }
    int port() const { return port_; }

private:
    int ziel_, ms_, port_;
    int lauscher_ = -1, client_ = -1, server_ = -1;
    std::atomic<bool> aus_{false};
    std::thread annehmer_;
    std::vector<std::thread> faeden_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::pair<Uhr::time_point, std::string>> rueckweg_;

    static sockaddr_in adresse(int port) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        return a;
    }
    void annehmen() {
        client_ = ::accept(lauscher_, nullptr, nullptr);
        if (client_ < 0) return;
        server_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = adresse(ziel_);
        if (::connect(server_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return;
        faeden_.emplace_back([this] {  // client to broker at once
            char b[65536];
            for (ssize_t n; (n = ::recv(client_, b, sizeof b, 0)) > 0;) ::send(server_, b, static_cast<std::size_t>(n), MSG_NOSIGNAL);
        });
        faeden_.emplace_back([this] {  // broker to client: collected with their due time
            char b[65536];
            for (ssize_t n; (n = ::recv(server_, b, sizeof b, 0)) > 0;) {
                std::lock_guard l(mutex_);
                rueckweg_.emplace_back(Uhr::now() + std::chrono::milliseconds(ms_), std::string(b, static_cast<std::size_t>(n)));
                cv_.notify_all();
            }
        });
        std::unique_lock l(mutex_);
        while (!aus_) {
            if (rueckweg_.empty()) {
                cv_.wait(l);
                continue;
            }
            const auto faellig = rueckweg_.front().first;
            if (Uhr::now() < faellig) {
                cv_.wait_until(l, faellig);
                continue;
            }
            const std::string d = std::move(rueckweg_.front().second);
            rueckweg_.pop_front();
            l.unlock();
            ::send(client_, d.data(), d.size(), MSG_NOSIGNAL);
            l.lock();
        }
    }
};

void melden(benchmark::State& st, int n, Uhr::duration gesamt, Uhr::duration sendenMax) {
    st.SetIterationTime(std::chrono::duration<double>(gesamt).count());
    st.counters["ereignisse_pro_s"] = n / std::chrono::duration<double>(gesamt).count();
    st.counters["senden_max_us"] = std::chrono::duration<double, std::micro>(sendenMax).count();
}

void WebhookLangsamerServer(benchmark::State& st) {
    testhilfe::HttpTestServer server;
    server.verzoegern(kVerzoegerungMs);
    const int n = static_cast<int>(st.range(0));
    for (auto _ : st) {
        std::ostringstream m;
        werkzeug::WebhookEinstellungen e;
        e.url = server.url();
        werkzeug::Webhook w(e, m);
        Uhr::duration sendenMax{};
        const auto beginn = Uhr::now();
        for (int i = 0; i < n; ++i) {
            const auto t = Uhr::now();
            w.senden(meldung(i));
            sendenMax = std::max(sendenMax, Uhr::now() - t);
        }
        if (!w.abschliessen(600)) st.SkipWithError("nicht alles zugestellt");
        melden(st, n, Uhr::now() - beginn, sendenMax);
    }
}
BENCHMARK(WebhookLangsamerServer)->Arg(50)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void MqttLangsamerBroker(benchmark::State& st) {
    testhilfe::TestBroker broker;
    VerzoegerndeBruecke bruecke(broker.port(), kVerzoegerungMs);
    const int n = static_cast<int>(st.range(0));
    for (auto _ : st) {
        std::ostringstream m;
        werkzeug::MqttEinstellungen e;
        e.adresse.host = "127.0.0.1";
        e.adresse.port = bruecke.port();
        e.puffer = static_cast<std::size_t>(n);
        werkzeug::MqttWeiterleitung w(e, m);
        w.starten(20);
        if (!w.verbunden()) st.SkipWithError(("nicht verbunden: " + m.str()).c_str());
        Uhr::duration sendenMax{};
        const auto beginn = Uhr::now();
        // As in decoding: one message handed over, then the loop's turn (bedienen).
        for (int i = 0; i < n; ++i) {
            const auto t = Uhr::now();
            w.senden("tonwerk/fms/links", meldung(i));
            w.bedienen();
            sendenMax = std::max(sendenMax, Uhr::now() - t);
        }
        while (!w.leer()) w.bedienen(10);
        melden(st, n, Uhr::now() - beginn, sendenMax);
        w.abschliessen(5);
    }
}
BENCHMARK(MqttLangsamerBroker)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
