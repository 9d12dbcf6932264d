// Names the user gives to FMS identifiers, POCSAG RICs and ZVEI numbers, read
// from CSV files with one entry a line:
//   fms;6A1B2345;Florian Musterstadt 1/44-1
//   pocsag;1234567;Feuerwehr Musterstadt      (every function)
//   pocsag;1234567/B;Feuerwehr Musterstadt Probealarm   (function A-D or 1-4)
//   zvei;21345;Löschzug Musterstadt
// The separator is ';' (',' when a line has no ';'); the name is the rest of the
// line, surrounding double quotes removed. Blank lines, lines starting with '#'
// and a header line starting with "Art" are skipped. A file that is not valid
// UTF-8 (saved in Latin-1 by a spreadsheet) is read as Windows-1252, which
// hinweise() then says.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tonwerk::werkzeug {

struct AliasEintrag {
    std::string art;         // fms, pocsag or zvei
    std::string schluessel;  // Kennung (upper case), RIC or RIC/function (1-4), ZVEI number
    std::string name;
};

class AliasTabelle {
public:
    // Throws std::runtime_error naming the file and line of a malformed or
    // repeated entry, or the file when it cannot be read.
    void laden(const std::string& pfad);
    // The same from a stream; `quelle` names it in error messages.
    void laden(std::istream& ein, const std::string& quelle);

    std::optional<std::string> fms(const std::string& kennung) const;
    // An entry for the RIC with this function (1-4, as the event reports it)
    // comes before one for the RIC alone.
    std::optional<std::string> pocsag(std::int32_t ric, std::int32_t funktion) const;
    std::optional<std::string> zvei(const std::string& nummer) const;

    bool leer() const { return eintraege_.empty(); }
    // Every entry, ordered by kind and key.
    std::vector<AliasEintrag> alle() const;
    // How files were read, for the user (one line each).
    const std::vector<std::string>& hinweise() const { return hinweise_; }

private:
    struct Eintrag {
        std::string name;
        std::string herkunft;  // "file, line N" for the repeat message
    };
    std::map<std::string, Eintrag> eintraege_;  // key: "kind:key"
    std::vector<std::string> hinweise_;
    std::optional<std::string> suchen(const std::string& schluessel) const;
};

}  // namespace tonwerk::werkzeug
