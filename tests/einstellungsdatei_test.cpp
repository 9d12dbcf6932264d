// Settings files for decode and listen: the INI/TOML forms read, every option
// of the commands settable from a file, the command line first, errors naming
// file and line without repeating a secret.
#include "einstellungsdatei.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "alarm/alarm_optionen.h"
#include "bedienfehler.h"
#include "befehle.h"
#include "empfangs_optionen.h"

namespace tonwerk::werkzeug {
namespace {

namespace fs = std::filesystem;

std::vector<Einstellung> lesen(const std::string& text, const std::string& befehl = "listen") {
    std::istringstream ein(text);
    return einstellungenLesen(ein, "wache.toml", befehl);
}

std::string lesefehler(const std::string& text) {
    try {
        lesen(text);
    } catch (const Bedienfehler& e) {
        return e.what();
    }
    return "";
}

TEST(Einstellungsdatei, IniAndTomlForms) {
    const auto e = lesen(
        "# Wache Musterstadt\n"
        "card = 1\n"
        "rate=22050 ; INI comment\n"
        "filter = true\n"
        "mqtt = \"mqtt://localhost/wache\"  # TOML comment\n"
        "mqtt_benutzer = 'tonwerk#1'\n"
        "alias = [\"/etc/tonwerk/wache.csv\", '/etc/tonwerk/kreis.csv',\n"
        "         \"/etc/tonwerk/a;b.csv\"]   # over lines\n"
        "nur = []\n"
        "set = [\"ZVEIDiffMax=2\"]\n"
        "mqtt-passwort = \"ge\\\"heim\\\\\"\n"
        "[decode]\n"
        "json = true\n"
        "[listen]\n"
        "levels = false\n");
    std::vector<std::string> schluessel;
    for (const auto& x : e) schluessel.push_back(x.schluessel);
    EXPECT_EQ(schluessel, (std::vector<std::string>{"card", "rate", "filter", "mqtt", "mqtt-benutzer", "alias", "nur",
                                                     "set", "mqtt-passwort", "levels"}));
    EXPECT_EQ(e[1].werte, std::vector<std::string>{"22050"});
    EXPECT_EQ(e[3].werte, std::vector<std::string>{"mqtt://localhost/wache"});
    EXPECT_EQ(e[4].werte, std::vector<std::string>{"tonwerk#1"});
    EXPECT_TRUE(e[5].liste);
    EXPECT_EQ(e[5].werte,
              (std::vector<std::string>{"/etc/tonwerk/wache.csv", "/etc/tonwerk/kreis.csv", "/etc/tonwerk/a;b.csv"}));
    EXPECT_EQ(e[5].zeile, 7);
    EXPECT_TRUE(e[6].werte.empty());
    EXPECT_EQ(e[8].werte, std::vector<std::string>{"ge\"heim\\"});
    EXPECT_EQ(e[9].zeile, 15);
    EXPECT_EQ(lesen("[listen]\ncard = 1\n", "decode").size(), 0u);
}

TEST(Einstellungsdatei, MalformedLinesNameFileAndLine) {
    EXPECT_EQ(lesefehler("card = 1\n\ncard 2\n"), "wache.toml, Zeile 3: erwartet schluessel = wert");
    EXPECT_EQ(lesefehler("card = 1\ncard = 2\n"), "wache.toml, Zeile 2: card steht schon in Zeile 1");
    EXPECT_NE(lesefehler("[wache]\n").find("Zeile 1: unbekannter Abschnitt [wache]"), std::string::npos);
    EXPECT_NE(lesefehler("x = \"offen\n").find("Zeile 1 (x): schließendes \" fehlt"), std::string::npos);
    EXPECT_NE(lesefehler("\nalias = [\"a\",\n\"b\"\n").find("Zeile 2: ] fehlt"), std::string::npos);
    EXPECT_NE(lesefehler("x = [\"a\" \"b\"]\n").find("fehlt , oder ]"), std::string::npos);
    EXPECT_NE(lesefehler("x =\n").find("der Wert fehlt"), std::string::npos);
    EXPECT_NE(lesefehler("x = \"a\" b\n").find("folgt noch etwas"), std::string::npos);
    const std::string geheim = lesefehler("mqtt-passwort = \"streng-geheim\" x\n");
    EXPECT_NE(geheim.find("Zeile 1"), std::string::npos) << geheim;
    EXPECT_EQ(geheim.find("streng"), std::string::npos) << geheim;
}

// decode's and listen's options on one command, as both register them.
struct Befehl {
    CLI::App app;
    CLI::App* cmd = app.add_subcommand("decode");
    EmpfangsOptionen empfang;
    AlarmOptionen alarm;
    int rate = 0;
    std::string datei;
    std::ostringstream hinweise;

    Befehl() {
        empfangsOptionen(cmd, empfang);
        cmd->add_option("--rate", rate);
        alarmOptionenAnmelden(cmd, alarm);
        einstellungsdateiAnmelden(cmd, datei);
        cmd->callback([this] { einstellungenAnwenden(cmd, datei, hinweise); });
    }
    void parse(std::vector<std::string> argumente) {
        argumente.insert(argumente.begin(), {"tonwerk", "decode"});
        std::vector<const char*> argv;
        for (const auto& a : argumente) argv.push_back(a.c_str());
        app.parse(static_cast<int>(argv.size()), argv.data());
    }
};

struct Dateien {
    fs::path v = fs::temp_directory_path() / ("tonwerk_einstellungen_" + std::to_string(::getpid()));
    Dateien() {
        fs::create_directories(v);
        for (const char* n : {"a.csv", "b.csv", "ca.crt", "client.crt", "client.key"}) std::ofstream(v / n) << "\n";
    }
    ~Dateien() { fs::remove_all(v); }
    std::string operator()(const std::string& n) const { return (v / n).string(); }
    std::string schreiben(const std::string& text) const {
        std::ofstream(v / "tonwerk.toml") << text;
        return (v / "tonwerk.toml").string();
    }
};

TEST(Einstellungsdatei, EveryOptionFromTheFileAndTheCommandLineFirst) {
    Dateien d;
    const std::string text =
        "json = true\nlevels = true\nset = [\"ZVEIDiffMax=2\", \"DecRechtsFMS=False\"]\nbaud = 1200\nfilter = true\n"
        "rate = 22050\nmqtt = \"mqtts://broker.lan/wache\"\nmqtt-benutzer = \"tonwerk\"\n"
        "mqtt-passwort = \"geheim\"\nmqtt-ca = \"" + d("ca.crt") + "\"\nmqtt-zertifikat = \"" + d("client.crt") +
        "\"\nmqtt-schluessel = \"" + d("client.key") + "\"\nmqtt-puffer = 50\nmqtt-warten = 2.5\n"
        "doppelt-sek = 7\nmqtt-thema = [\"pocsag={praefix}/pager/{ric}\"]\nnur = [\"pocsag:12*\", \"fms;*\"]\n"
        "ohne = [\"zvei:99999\"]\nalias = [\"" + d("a.csv") + "\", \"" + d("b.csv") + "\"]\n"
        "mqtt-ha = true\nwebhook = [\"https://alarm.example/a?token=x\", \"http://127.0.0.1:8080/b\"]\n"
        "webhook-ca = \"" + d("ca.crt") + "\"\nwebhook-puffer = 30\nwebhook-warten = 4\n";
    // The file names every option the command has: a new option must be settable too.
    Befehl b;
    for (const CLI::Option* o : b.cmd->get_options()) {
        if (o->get_lnames().empty()) continue;
        const std::string n = o->get_lnames().front();
        if (n != "help" && n != "config") {
            EXPECT_NE(("\n" + text).find("\n" + n + " = "), std::string::npos) << n;
        }
    }
    ::unsetenv("TONWERK_MQTT_PASSWORT");
    ::unsetenv("TONWERK_WEBHOOK");
    b.parse({"--config", d.schreiben("# alles\n" + text), "--doppelt-sek", "3", "--alias", d("b.csv")});
    EXPECT_TRUE(b.empfang.json);
    EXPECT_TRUE(b.empfang.pegel);
    EXPECT_EQ(b.empfang.setzen, (std::vector<std::string>{"ZVEIDiffMax=2", "DecRechtsFMS=False"}));
    EXPECT_EQ(b.empfang.baud, 1200);
    EXPECT_TRUE(b.empfang.filter);
    EXPECT_EQ(b.rate, 22050);
    EXPECT_EQ(b.alarm.mqtt, "mqtts://broker.lan/wache");
    EXPECT_EQ(b.alarm.benutzer, "tonwerk");
    EXPECT_EQ(b.alarm.passwort, "geheim");
    EXPECT_EQ(b.alarm.caDatei, d("ca.crt"));
    EXPECT_EQ(b.alarm.zertifikat, d("client.crt"));
    EXPECT_EQ(b.alarm.schluessel, d("client.key"));
    EXPECT_EQ(b.alarm.puffer, 50u);
    EXPECT_DOUBLE_EQ(b.alarm.wartenSek, 2.5);
    EXPECT_DOUBLE_EQ(b.alarm.doppeltSek, 3);  // the command line wins
    EXPECT_EQ(b.alarm.themen, std::vector<std::string>{"pocsag={praefix}/pager/{ric}"});
    EXPECT_EQ(b.alarm.nur, (std::vector<std::string>{"pocsag:12*", "fms;*"}));
    EXPECT_EQ(b.alarm.ohne, std::vector<std::string>{"zvei:99999"});
    EXPECT_EQ(b.alarm.aliasDateien, std::vector<std::string>{d("b.csv")});  // a list is replaced, not merged
    EXPECT_TRUE(b.alarm.mqttHa);
    EXPECT_EQ(b.alarm.webhooks, (std::vector<std::string>{"https://alarm.example/a?token=x", "http://127.0.0.1:8080/b"}));
    EXPECT_EQ(b.alarm.webhookCa, d("ca.crt"));
    EXPECT_EQ(b.alarm.webhookPuffer, 30u);
    EXPECT_DOUBLE_EQ(b.alarm.webhookWartenSek, 4);
    EXPECT_EQ(b.hinweise.str(), "");  // the password came from the file

    Befehl zeile;
    zeile.parse({"--mqtt-passwort", "sichtbar"});
    EXPECT_NE(zeile.hinweise.str().find("--mqtt-passwort auf der Befehlszeile"), std::string::npos);
    EXPECT_EQ(zeile.hinweise.str().find("sichtbar"), std::string::npos);
}

TEST(Einstellungsdatei, WrongKeyOrValueNamesFileAndLine) {
    Dateien d;
    const auto fehler = [&](const std::string& text) {
        Befehl b;
        try {
            b.parse({"--config", d.schreiben(text)});
        } catch (const Bedienfehler& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    const std::string pfad = d("tonwerk.toml");
    const std::string falsch = fehler("json = true\n\ndevice = 1\n");
    EXPECT_EQ(falsch.rfind(pfad + ", Zeile 3: unbekannter Schlüssel \"device\" (bekannt: json, ", 0), 0u) << falsch;
    EXPECT_NE(fehler("config = \"x\"\n").find("Zeile 1: unbekannter Schlüssel \"config\""), std::string::npos);
    EXPECT_NE(fehler("baud = 600\n").find(pfad + ", Zeile 1: --baud"), std::string::npos);
    EXPECT_NE(fehler("json = ja\n").find("Zeile 1: json ist ein Schalter: true oder false"), std::string::npos);
    EXPECT_NE(fehler("rate = [1, 2]\n").find("rate nimmt einen Wert, keine Liste"), std::string::npos);
    EXPECT_NE(fehler("mqtt-puffer = viel\n").find("Zeile 1: "), std::string::npos);
    EXPECT_NE(fehler("alias = [\"/nicht/da.csv\"]\n").find("Zeile 1: --alias"), std::string::npos);
    const std::string geheim = fehler("mqtt-passwort = [\"streng\", \"geheim\"]\n");
    EXPECT_NE(geheim.find("Zeile 1"), std::string::npos) << geheim;
    EXPECT_EQ(geheim.find("streng"), std::string::npos) << geheim;
}

}  // namespace
}  // namespace tonwerk::werkzeug
