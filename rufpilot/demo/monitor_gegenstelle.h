// The router's side of a call monitor on 127.0.0.1, for the demo and the
// tests: listens, takes one connection at a time and writes lines to it.
#pragma once

#include <cstdint>
#include <string_view>

namespace rufpilot {

class MonitorGegenstelle {
public:
    // Listens on 127.0.0.1:`port` (0 = a free port). Throws std::system_error.
    explicit MonitorGegenstelle(std::uint16_t port = 0);
    ~MonitorGegenstelle();
    MonitorGegenstelle(const MonitorGegenstelle&) = delete;
    MonitorGegenstelle& operator=(const MonitorGegenstelle&) = delete;

    std::uint16_t port() const { return port_; }
    // Takes the next connection; the wait is only a bound for a broken
    // client (throws std::runtime_error when it runs out).
    void annehmen(int fristMs = 10000);
    // Writes all of `bytes` to the connection taken. Throws std::system_error.
    void schreiben(std::string_view bytes);
    // Closes the connection taken; the listener stays.
    void trennen();
    // Stops listening: further connects are refused; the connection taken stays.
    void lauschenBeenden();
    // Both.
    void schliessen();
    bool verbunden() const { return verbindung_ >= 0; }
    // The connection taken (-1 without), for a test to read from.
    int fd() const { return verbindung_; }

private:
    int lauscher_ = -1;
    int verbindung_ = -1;
    std::uint16_t port_ = 0;
};

}  // namespace rufpilot
