#include "rufpilot/config/logbuch.h"

#include <cstdio>

#include "rufpilot/config/textdatei.h"
#include "tonwerk/formats/cp1252.h"

namespace rufpilot {

std::string logDateiname(int jahr, int monat, int tag) {
    char name[48];
    std::snprintf(name, sizeof name, "%04d-%d-%d.txt", jahr, monat, tag);
    return name;
}

void logZeileAnhaengen(const std::filesystem::path& logverzeichnis, int jahr, int monat, int tag,
                       const std::string& zeile) {
    zeileAnhaengen(logverzeichnis / logDateiname(jahr, monat, tag), tonwerk::Utf8ZuCp1252(zeile));
}

std::vector<std::string> logAusText(std::string_view inhalt) {
    std::vector<std::string> eintraege;
    zeilenDurchgehen(inhalt, [&](std::string_view zeile) {
        std::size_t i = 0;
        while (i <= zeile.size()) {
            std::size_t komma = zeile.find(',', i);
            if (komma == std::string_view::npos) komma = zeile.size();
            if (komma > i) eintraege.push_back(tonwerk::Cp1252ZuUtf8(zeile.substr(i, komma - i)));
            i = komma + 1;
        }
        return true;
    });
    if (eintraege.size() > kLogHoechstensEintraege) {
        eintraege.erase(eintraege.begin(),
                        eintraege.end() - static_cast<std::ptrdiff_t>(kLogHoechstensEintraege));
    }
    return eintraege;
}

std::vector<std::string> logLesen(const std::filesystem::path& datei) {
    // One byte more than the cap tells whether the start was cut off.
    const auto inhalt = dateiEndeLesen(datei, kLogHoechstensBytes + 1);
    if (!inhalt) return {};
    std::string_view text = *inhalt;
    if (text.size() > kLogHoechstensBytes) {
        // The window starts inside a line unless the byte before it ends one.
        const std::size_t ende = text.find_first_of("\r\n");
        text = ende == std::string_view::npos ? std::string_view{} : text.substr(ende + 1);
    }
    return logAusText(text);
}

}  // namespace rufpilot

