// Fuzz target: arbitrary bytes as server.ini. Whatever is read must survive
// being written and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "rufpilot/config/einstellungen_datei.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace rufpilot;
    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);
    const Einstellungen gelesen = einstellungenAusText(text);
    if (einstellungenAusText(einstellungenAlsText(gelesen)) != gelesen) std::abort();
    return 0;
}
