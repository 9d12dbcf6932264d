// Checks on the number table where it enters the gateway: the file at start
// and after the dialog, and each entry typed into the dialog. A record that
// would go on air wrong (a Kennung that is no FMS identifier) or could never
// match a caller (a number with separators) is refused or made right here,
// and every refusal is named with the file's line, so nothing vanishes
// without a word.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rufpilot/config/einstellungen.h"

namespace rufpilot {

struct Nummernpruefung {
    Nummerntabelle tabelle;              // what the matcher may use
    std::vector<std::string> hinweise;  // message lines: "<Datei> Zeile N:" TAB what was wrong
};

// Reads the bytes of the number file named `dateiname` (for the hints). A
// UTF-8 BOM at the start is dropped and the rest read as UTF-8 (an editor
// saved it so). Refused, with a hint: records with fewer than three fields, a
// Kennung that is not 8 hexadecimal digits, a number that holds no digits.
// Made right: separators in numbers ("0171/1234567", "0171 / 123-45"). Named
// but kept: a line text that is neither DTR nor RTS (keys RTS). Records
// beyond the reader's limits are named too.
Nummernpruefung nummernPruefen(std::string_view inhalt, const std::string& dateiname);

// Why `kennung` is no FMS identifier; nullopt when it is 8 hexadecimal digits.
// Taken ones are stored in capitals: the control centre's acknowledgement is
// compared with the sent Kennung as text, and the decoder writes capitals.
std::optional<std::string> kennungFehler(std::string_view kennung);
std::string kennungGross(std::string_view kennung);

// The number with the separators people type (Rufnummerntrenner: blank, "/",
// "-", ".", "(", ")") removed; nullopt when what remains is not digits (a
// leading "+" allowed). A "+" is kept as typed; the matcher meets it with the
// callers' national "0" (GleicheRufnummer).
std::optional<std::string> telefonNormalisiert(std::string_view telefon);

// An MSN: digits only (empty allowed: an unused status).
bool msnGueltig(std::string_view msn);

}  // namespace rufpilot
