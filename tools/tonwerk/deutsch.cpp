#include "deutsch.h"

#include <memory>
#include <regex>

namespace tonwerk::werkzeug {

namespace {

std::string ersetzt(const std::string& text, const char* muster, const char* durch) {
    return std::regex_replace(text, std::regex(muster), durch);
}

}  // namespace

void deutschEinrichten(CLI::App& app, const std::string& version) {
    auto format = std::make_shared<CLI::Formatter>();
    format->label("Usage", "Aufruf");
    format->label("OPTIONS", "OPTIONEN");
    format->label("SUBCOMMAND", "BEFEHL");
    format->label("SUBCOMMANDS", "BEFEHLE");
    format->label("Positionals", "Argumente");
    format->label("REQUIRED", "(Pflicht)");
    format->label("TEXT", "TEXT");
    format->label("INT", "ZAHL");
    format->label("UINT", "ZAHL");
    format->label("FLOAT", "ZAHL");
    format->label("Needs", "Braucht");
    format->label("Excludes", "Schließt aus");
    format->label("Env", "Umgebung");
    app.formatter(format);
    app.option_defaults()->group("Optionen");
    app.set_help_flag("-h,--help", "Diese Hilfe zeigen und beenden");
    app.set_version_flag("--version", app.get_name() + " " + version, "Version zeigen und beenden");
    app.failure_message([programm = app.get_name()](const CLI::App* befehl, const CLI::Error& e) {
        std::string hilfe = befehl ? befehl->get_name() : std::string();
        for (const CLI::App* p = befehl ? befehl->get_parent() : nullptr; p; p = p->get_parent())
            hilfe = p->get_name() + " " + hilfe;
        return programm + ": " + deutscheMeldung(e) + " (Hilfe: " + hilfe + " --help)\n";
    });
}

void befehleBenennen(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands({})) {
        sub->group("Befehle");
        // A subcommand's help flag is made before it takes the option defaults.
        if (CLI::Option* hilfe = sub->get_option_no_throw("--help")) hilfe->group("Optionen");
        befehleBenennen(*sub);
    }
}

std::string deutscheMeldung(const CLI::Error& fehler) {
    // By type: some errors carry the subcommand's name instead of their own.
    const auto ist = [&fehler](auto* art) { return dynamic_cast<decltype(art)>(&fehler) != nullptr; };
    std::string t = fehler.what();
    if (ist(static_cast<const CLI::RequiredError*>(nullptr))) {
        if (t.find("subcommand") != std::string::npos) return "Ein Befehl fehlt";
        return ersetzt(t, "^(.*) is required$", "$1 fehlt");
    }
    if (ist(static_cast<const CLI::ExtrasError*>(nullptr))) return ersetzt(t, "^The following arguments? (was|were) not expected: ", "Unbekannt: ");
    if (ist(static_cast<const CLI::ConversionError*>(nullptr))) {
        t = ersetzt(t, "^Could not convert: (.*) = (.*)$", "$1 \"$2\": keine passende Zahl");
        return ersetzt(t, "^The value (.*) is not an allowed value for (.*)$", "$2 \"$1\": nicht erlaubt");
    }
    if (ist(static_cast<const CLI::ArgumentMismatch*>(nullptr))) {
        t = ersetzt(t, "^(.*): [0-9]+ required .* missing$", "$1: Wert fehlt");
        return ersetzt(t, "^(.*) was given a disallowed flag override$", "$1 nimmt keinen Wert");
    }
    if (ist(static_cast<const CLI::ExcludesError*>(nullptr))) return ersetzt(t, "^(.*) excludes (.*)$", "$1 und $2 gehen nicht zusammen");
    if (ist(static_cast<const CLI::RequiresError*>(nullptr))) return ersetzt(t, "^(.*) requires (.*)$", "$1 braucht $2");
    // ValidationError: the validators below already speak German.
    return t;
}

CLI::Validator eineVon(const std::vector<std::string>& werte) {
    std::string liste;
    for (const auto& w : werte) liste += (liste.empty() ? "" : " oder ") + w;
    return CLI::Validator(
        [werte, liste](std::string& s) -> std::string {
            for (const auto& w : werte)
                if (s == w) return {};
            return "\"" + s + "\" nicht erlaubt; erlaubt sind " + liste;
        },
        "");
}

CLI::Validator zahlVon(long long von, long long bis) {
    const std::string bereich = std::to_string(von) + " bis " + std::to_string(bis);
    return CLI::Validator(
        [von, bis, bereich](std::string& s) -> std::string {
            long long wert = 0;
            if (!CLI::detail::lexical_cast(s, wert) || wert < von || wert > bis)
                return "\"" + s + "\" nicht erlaubt; erlaubt sind " + bereich;
            return {};
        },
        "");
}

}  // namespace tonwerk::werkzeug
