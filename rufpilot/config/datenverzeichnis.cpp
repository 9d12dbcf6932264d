#include "rufpilot/config/datenverzeichnis.h"

#include <cstdlib>
#include <stdexcept>

namespace rufpilot {

namespace {

std::filesystem::path anlegen(const std::filesystem::path& verzeichnis) {
    std::filesystem::create_directories(verzeichnis);
    if (!std::filesystem::is_directory(verzeichnis)) {
        throw std::runtime_error("Kein Verzeichnis: " + verzeichnis.string());
    }
    return verzeichnis;
}

}  // namespace

std::filesystem::path datenverzeichnisWaehlen(const std::optional<std::filesystem::path>& vorgabe,
                                              const char* xdgConfigHome, const char* home) {
    if (vorgabe && !vorgabe->empty()) return *vorgabe;
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    if (xdgConfigHome && std::filesystem::path(xdgConfigHome).is_absolute()) {
        return std::filesystem::path(xdgConfigHome) / "rufpilot";
    }
    if (home && *home) return std::filesystem::path(home) / ".config" / "rufpilot";
    return {};
}

std::filesystem::path datenverzeichnis(const std::optional<std::filesystem::path>& vorgabe) {
    const auto verzeichnis = datenverzeichnisWaehlen(vorgabe, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (verzeichnis.empty()) {
        throw std::runtime_error("Kein Datenverzeichnis: weder --dir noch XDG_CONFIG_HOME noch HOME gesetzt");
    }
    return anlegen(verzeichnis);
}

std::filesystem::path logverzeichnis(const std::filesystem::path& daten) { return anlegen(daten / "Logs"); }

}  // namespace rufpilot
