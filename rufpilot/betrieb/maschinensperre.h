// One gateway per machine and resource. Two Rufpilots with different data
// directories would share the call source (both take the same call), the
// sound output (one sends while the other's transmitter is unkeyed) and the
// keying port. Each resource a gateway uses gets a lock file in a directory
// all processes of the machine see (/run/lock); a second gateway that needs
// any resource already locked is refused and told which one. Locks are
// flock()s, so the kernel drops them when a process ends, however it ends.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace rufpilot {

class Maschinensperre {
public:
    // Locks one file per entry of `betriebsmittel` ("Soundkarte 0",
    // "Port /dev/ttyS0", ...) in `verzeichnis`.
    Maschinensperre(const std::filesystem::path& verzeichnis, const std::vector<std::string>& betriebsmittel);
    ~Maschinensperre();
    Maschinensperre(const Maschinensperre&) = delete;
    Maschinensperre& operator=(const Maschinensperre&) = delete;

    bool gehalten() const { return meldung_.empty(); }
    // Why not: the resource another gateway holds, or the lock that failed.
    const std::string& meldung() const { return meldung_; }

private:
    std::vector<int> fds_;
    std::string meldung_;
};

// $RUFPILOT_SPERREN when set (tests), else /run/lock, else the temporary directory.
std::filesystem::path sperrverzeichnis();

// What a gateway with the data directory `verzeichnis` uses, read from its
// files: the capture card (server.ini line 7), the sound output `pcm`, the
// keying port's device file (`portGeraet` of the COM port in line 1) and the
// call source of rufquelle.ini.
std::vector<std::string> betriebsmittel(const std::filesystem::path& verzeichnis, const std::string& pcm,
                                        const std::function<std::filesystem::path(int)>& portGeraet);

}  // namespace rufpilot
