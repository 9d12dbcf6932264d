// Fuzz target: arbitrary bytes as number table and as daily log. A table that
// was read must survive being written and read again unchanged; what the
// entry check takes is an FMS identifier and a number of digits, and it names
// at least every record it did not take.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "rufpilot/config/logbuch.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/config/nummern_pruefung.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace rufpilot;
    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);
    const Nummerntabelle gelesen = nummernAusText(text);
    if (gelesen.size() > kNummernHoechstensEintraege) std::abort();
    std::string geschrieben;
    for (const auto& eintrag : gelesen) geschrieben += nummernZeile(eintrag) + "\r\n";
    if (nummernAusText(geschrieben) != gelesen) std::abort();

    const Nummernpruefung p = nummernPruefen(text, "f");
    if (p.tabelle.size() > kNummernHoechstensEintraege) std::abort();
    for (const auto& e : p.tabelle) {
        if (e.kennung.empty() && e.telefon.empty() && e.leitung.empty()) continue;  // an empty record
        if (kennungFehler(e.kennung) || kennungGross(e.kennung) != e.kennung) std::abort();
        if (telefonNormalisiert(e.telefon) != e.telefon) std::abort();
    }

    for (const auto& eintrag : logAusText(text)) {
        if (eintrag.empty() || eintrag.find_first_of(",\r\n") != std::string::npos) std::abort();
    }
    return 0;
}
