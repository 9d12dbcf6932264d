// One SIPp process for a test: a scenario from tests/rufpilot/sip on a free
// local UDP port of 127.0.0.1, its logs in a directory of its own. Waiting
// pumps the gateway's SIP stack, so neither side stalls the other.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace rufpilot::test {

class SippLauf {
public:
    // Starts `sipp -sf <szenario>` with `argumente` (the remote address for a
    // client scenario goes among them) and returns once SIPp holds its port.
    SippLauf(const std::string& szenario, std::vector<std::string> argumente);
    ~SippLauf();
    SippLauf(const SippLauf&) = delete;
    SippLauf& operator=(const SippLauf&) = delete;

    std::uint16_t port() const { return port_; }
    // "127.0.0.1:<port>"
    std::string adresse() const { return "127.0.0.1:" + std::to_string(port_); }
    // Calls `pumpe` until SIPp has ended; its exit code, or -1 when it ran
    // past `grenze` (then it is killed). The bound only ends a failing test.
    int warten(const std::function<void()>& pumpe, std::chrono::seconds grenze = std::chrono::seconds(30));
    bool laeuft();
    // Its error and message logs, for a failing assertion.
    std::string protokoll() const;

private:
    bool starten(const std::string& szenario, const std::vector<std::string>& argumente);
    bool portBelegt() const;

    std::filesystem::path verzeichnis_;
    pid_t pid_ = -1;
    int ergebnis_ = -1;
    std::uint16_t port_ = 0;
};

}  // namespace rufpilot::test
