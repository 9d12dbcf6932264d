#include "sende_pruefung.h"

#include <algorithm>

#include "bedienfehler.h"
#include "tonwerk/formats/poc_text.h"
#include "tonwerk/formats/utf8.h"
#include "tonwerk/formats/zeichensatz.h"

namespace tonwerk::werkzeug {

namespace {

std::string alsUtf8(char32_t z) {
    std::string s;
    Utf8Anhaengen(s, z);
    return s;
}

// The first character that would not arrive as typed, if any.
template <class ZurueckGelesen>
void zeichenPruefen(const std::u32string& zeichen, const char* erlaubt, ZurueckGelesen zurueck) {
    for (char32_t z : zeichen) {
        if (z == kUtf8Ersatz) throw Bedienfehler("--text: kein gültiges UTF-8; erlaubt sind " + std::string(erlaubt));
        if (zurueck(z) != alsUtf8(z))
            throw Bedienfehler("--text: \"" + alsUtf8(z) + "\" kann nicht gesendet werden; erlaubt sind " + erlaubt);
    }
}

void laengePruefen(const std::u32string& zeichen, std::size_t hoechstens) {
    if (zeichen.size() > hoechstens)
        throw Bedienfehler("--text: " + std::to_string(zeichen.size()) + " Zeichen; erlaubt sind höchstens " +
                           std::to_string(hoechstens));
}

}  // namespace

void bereichPruefen(const std::string& name, long long wert, long long von, long long bis) {
    if (wert >= von && wert <= bis) return;
    const std::string erlaubt = bis == von + 1 ? std::to_string(von) + " oder " + std::to_string(bis)
                                               : std::to_string(von) + " bis " + std::to_string(bis);
    throw Bedienfehler(name + " " + std::to_string(wert) + ": erlaubt sind " + erlaubt);
}

void fmsKennungPruefen(const std::string& kennung) {
    const bool hex = std::all_of(kennung.begin(), kennung.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
    if (kennung.size() != 8 || !hex)
        throw Bedienfehler("--kennung \"" + kennung + "\": erlaubt sind genau 8 Hexziffern (0-9, A-F)");
}

void fmsTextPruefen(const std::string& text, Integer status, Integer richtung, Integer tki, Integer baustufe,
                    bool trbos) {
    if (text.empty()) return;
    if (status != 10 || richtung != 1)
        throw Bedienfehler("--text: ein Kurztext geht nur mit --status 10 und --richtung 1");
    if (trbos && (tki != 3 || baustufe != 0))
        throw Bedienfehler("--text: mit FMSKurztextTRBOS geht ein Kurztext nur mit --tki 3 und --baustufe 0");
    const std::u32string zeichen = Utf8Dekodieren(text);
    laengePruefen(zeichen, 99);
    zeichenPruefen(zeichen, "Buchstaben, Ziffern, Leerzeichen, Satzzeichen außer @ [ \\ ] { | } ~, und Ä Ö Ü ä ö ü ß §",
                   [](char32_t z) { return std::string(CodeZuZeichen(ZeichenZuCode(z))); });
}

void pocTextPruefen(const std::string& text) {
    const std::u32string zeichen = Utf8Dekodieren(text);
    laengePruefen(zeichen, kPocMaxZeichen);
    zeichenPruefen(zeichen, "Buchstaben, Ziffern, Leerzeichen, Satzzeichen außer @ [ \\ ] { | } ~, und Ä Ö Ü ä ö ü ß §",
                   [](char32_t z) {
                       const int code = PocZeichenCode(z);
                       // Control codes read back as names such as "[NULL]".
                       return code < 32 || code > 126 ? std::string() : std::string(PocZeichenAnzeige(code));
                   });
}

Long pocFunktionsbits(const std::string& wert, bool roh) {
    constexpr const char* erlaubt = "erlaubt sind 1 bis 4 wie im Ereignis POCDecodierung oder A bis D";
    if (wert.size() == 1 && ((wert[0] >= 'A' && wert[0] <= 'D') || (wert[0] >= 'a' && wert[0] <= 'd')))
        return (wert[0] & 0x1F) - 1;
    Long zahl = 0;
    const bool ziffern = !wert.empty() && wert.size() <= 6 &&
                         std::all_of(wert.begin(), wert.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (ziffern) zahl = static_cast<Long>(std::stol(wert));
    if (ziffern && zahl == 0)
        throw Bedienfehler("--funktion 0: die Funktion zählt wie im Ereignis ab 1 (früher 0 bis 3); " +
                           std::string(erlaubt));
    if (!ziffern || (!roh && zahl > 4)) throw Bedienfehler("--funktion " + wert + ": " + erlaubt);
    return zahl - 1;
}

void zveiRufnummerPruefen(const std::string& rufnummer) {
    const bool ziffern = std::all_of(rufnummer.begin(), rufnummer.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (rufnummer.size() != 5 || !ziffern)
        throw Bedienfehler("rufnummer \"" + rufnummer + "\": erlaubt sind genau 5 Ziffern 0-9");
}

}  // namespace tonwerk::werkzeug
