// What MQTT and the webhook share about messages on their way out: the counts,
// the bounded queue that drops its oldest message when a server stays away, the
// closing report line and the rule whether a run delivered everything.
#pragma once

#include <cstdint>
#include <deque>
#include <ostream>
#include <string>

namespace tonwerk::werkzeug {

struct Zustellzahlen {
    std::uint64_t angenommen = 0;  // handed to the output
    std::uint64_t zugestellt = 0;  // acknowledged by the server
    std::uint64_t verworfen = 0;   // dropped from a full queue (or refused by the library)
    std::uint64_t abgewiesen = 0;  // refused by the server for good (webhook: HTTP 4xx)
};

// Everything handed over was delivered: nothing dropped, refused or still waiting.
inline bool allesZugestellt(const Zustellzahlen& z) {
    return z.verworfen == 0 && z.abgewiesen == 0 && z.zugestellt == z.angenommen;
}

// "MQTT: 3 von 4 Meldungen zugestellt, 1 verworfen" (abgewiesen only when some were).
void zustellBericht(std::ostream& aus, const std::string& ausgang, const Zustellzahlen& z);

// A queue of at most `grenze` messages; a message arriving at a full queue
// pushes the oldest out, which is counted in `zahlen.verworfen`.
template <typename Nachricht>
class ZustellSchlange {
public:
    explicit ZustellSchlange(std::size_t grenze) : grenze_(grenze) {}

    // Counts the message as accepted; true when the oldest one had to go.
    bool anstellen(Nachricht n, Zustellzahlen& zahlen) {
        ++zahlen.angenommen;
        bool verdraengt = false;
        if (schlange_.size() >= grenze_) {
            schlange_.pop_front();
            ++zahlen.verworfen;
            verdraengt = true;
        }
        schlange_.push_back(std::move(n));
        return verdraengt;
    }
    bool leer() const { return schlange_.empty(); }
    std::size_t groesse() const { return schlange_.size(); }
    std::size_t grenze() const { return grenze_; }
    Nachricht& vorne() { return schlange_.front(); }
    void entnehmen() { schlange_.pop_front(); }

private:
    std::size_t grenze_;
    std::deque<Nachricht> schlange_;
};

}  // namespace tonwerk::werkzeug
