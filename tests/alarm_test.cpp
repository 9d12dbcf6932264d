// The alarm receiver's tables and filters: FMS meanings, alias files, repeat
// filter, broker addresses.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <sstream>
#include <tuple>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "alarm/adressfilter.h"
#include "alarm/alarm_weiche.h"
#include "alarm/alias_tabelle.h"
#include "alarm/bedeutungen.h"
#include "alarm/doppelfilter.h"
#include "alarm/fms_tabellen.h"
#include "alarm/mqtt_adresse.h"
#include "alarm/themenvorlage.h"
#include "klartext.h"
#include "alarm/zusatztoene.h"

namespace tonwerk::werkzeug {
namespace {

using Json = nlohmann::ordered_json;

TEST(AlarmFms, OrganisationLandAndStatusInBothDirections) {
    EXPECT_EQ(fmsOrganisation(6), "Feuerwehr");
    EXPECT_EQ(fmsOrganisation(7), "Technisches Hilfswerk");
    EXPECT_EQ(fmsOrganisation(15), "Fernwirktelegramm");
    EXPECT_EQ(fmsOrganisation(16), "");
    EXPECT_EQ(fmsOrganisation(-1), "");
    EXPECT_EQ(fmsLand(0, "12"), "Sachsen");
    EXPECT_EQ(fmsLand(9, "12"), "Nordrhein-Westfalen");
    // E and F are split by the first Ort digit.
    EXPECT_EQ(fmsLand(14, "49"), "Mecklenburg-Vorpommern");
    EXPECT_EQ(fmsLand(14, "50"), "Sachsen-Anhalt");
    EXPECT_EQ(fmsLand(15, "04"), "Brandenburg");
    EXPECT_EQ(fmsLand(15, "99"), "Thüringen");
    EXPECT_EQ(fmsLand(15, ""), "Brandenburg / Thüringen");

    EXPECT_EQ(fmsStatusText(3, 0), "Einsatz übernommen");
    EXPECT_EQ(fmsStatusText(0, 0), "Priorisierter Sprechwunsch");
    EXPECT_EQ(fmsStatusZeichen(3, 0), "3");
    EXPECT_EQ(fmsStatusZeichen(12, 0), "C");
    EXPECT_EQ(fmsStatusText(6, 1), "Sprechaufforderung");
    EXPECT_EQ(fmsStatusZeichen(6, 1), "J");
    EXPECT_TRUE(fmsIstQuittung(14, 1));
    EXPECT_TRUE(fmsIstQuittung(15, 1));
    EXPECT_FALSE(fmsIstQuittung(15, 0));
    EXPECT_FALSE(fmsIstQuittung(13, 1));
    for (int r = 0; r < 2; ++r)
        for (int s = 0; s < 16; ++s) EXPECT_FALSE(fmsStatusText(s, r).empty()) << s << "/" << r;
    EXPECT_EQ(fmsStatusText(16, 0), "");
}

AliasTabelle tabelle(const std::string& text) {
    AliasTabelle t;
    std::istringstream ein(text);
    t.laden(ein, "wache.csv");
    return t;
}

std::string ladefehler(const std::string& text) {
    try {
        tabelle(text);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(AlarmAlias, EntriesOfEveryKind) {
    const AliasTabelle t = tabelle(
        "\xEF\xBB\xBF"
        "Art;Schlüssel;Name\n"
        "# Fahrzeuge\n"
        "fms;6a1b2345;Florian Musterstadt 1/44-1\n"
        "\n"
        "POCSAG;1234567;\"Feuerwehr Musterstadt; Vollalarm\"\r\n"
        "pocsag;1234567/B;Probealarm\n"
        "zvei,21345,Löschzug Süd, Gruppe 2\n");
    EXPECT_EQ(t.fms("6A1B2345"), "Florian Musterstadt 1/44-1");
    EXPECT_EQ(t.fms("6A1B2346"), std::nullopt);
    EXPECT_EQ(t.pocsag(1234567, 2), "Probealarm");
    EXPECT_EQ(t.pocsag(1234567, 4), "Feuerwehr Musterstadt; Vollalarm");
    EXPECT_EQ(t.pocsag(7654321, 1), std::nullopt);
    EXPECT_EQ(t.zvei("21345"), "Löschzug Süd, Gruppe 2");
}

// A file saved by a spreadsheet in Latin-1 / Windows-1252 keeps its umlauts;
// the tool says how it read the file.
TEST(AlarmAlias, FileThatIsNotUtf8IsReadAsWindows1252) {
    AliasTabelle t;
    std::istringstream ein("zvei;21345;L\xF6" "schzug S\xFC" "d\nfms;6A1B2345;Florian \x80 1\n");
    t.laden(ein, "alt.csv");
    EXPECT_EQ(t.zvei("21345"), "Löschzug Süd");
    EXPECT_EQ(t.fms("6A1B2345"), "Florian € 1");
    ASSERT_EQ(t.hinweise().size(), 1u);
    EXPECT_NE(t.hinweise()[0].find("alt.csv"), std::string::npos);
    EXPECT_NE(t.hinweise()[0].find("Windows-1252"), std::string::npos);
    EXPECT_NE(t.hinweise()[0].find("Zeile 1"), std::string::npos);
    // UTF-8 stays as it is, without a word.
    const AliasTabelle u = tabelle("zvei;21345;Löschzug Süd\n");
    EXPECT_EQ(u.zvei("21345"), "Löschzug Süd");
    EXPECT_TRUE(u.hinweise().empty());
}

TEST(AlarmAlias, MalformedLineNamesFileAndLine) {
    EXPECT_EQ(ladefehler("fms;6A1B2345;A\nfms;6A1B23;B\n"),
              "Alias-Datei wache.csv, Zeile 2: FMS-Kennung \"6A1B23\" hat nicht 8 Hexadezimalziffern");
    EXPECT_NE(ladefehler("\n\nfms;6A1B2345\n").find("Zeile 3: erwartet Art;Schlüssel;Name"), std::string::npos);
    EXPECT_NE(ladefehler("pocsag;2097152;x\n").find("Zeile 1: RIC"), std::string::npos);
    EXPECT_NE(ladefehler("pocsag;12/E;x\n").find("Funktion \"E\""), std::string::npos);
    EXPECT_NE(ladefehler("zvei;1234;x\n").find("ZVEI-Nummer"), std::string::npos);
    EXPECT_NE(ladefehler("fax;1;x\n").find("Art \"fax\""), std::string::npos);
    EXPECT_NE(ladefehler("zvei;12345;\n").find("der Name fehlt"), std::string::npos);
    EXPECT_EQ(ladefehler("zvei;12345;a\nzvei;12345;b\n"),
              "Alias-Datei wache.csv, Zeile 2: Eintrag doppelt, zuerst in wache.csv, Zeile 1");
    AliasTabelle t;
    EXPECT_THROW(t.laden("/nicht/da.csv"), std::runtime_error);
}

TEST(AlarmKlartext, PaddingAtTheEndGoes) {
    const std::pair<const char*, const char*> faelle[] = {
        {"Einsatz[NULL][NULL]", "Einsatz"},   {"Einsatz [NULL]", "Einsatz"}, {"Grüße  ", "Grüße"},
        {"a[NULL]b[NULL]", "a[NULL]b"},       {"[NULL]", ""},               {"", ""},
        {"Text [NULL \n", "Text [NULL"},      {"  vorn", "  vorn"},
    };
    for (const auto& [text, erwartet] : faelle) EXPECT_EQ(klartext(text), erwartet) << text;
}

TEST(AlarmBedeutung, FieldsAddedToEachKind) {
    const AliasTabelle t = tabelle("fms;6A1B2345;Florian Musterstadt 1/44-1\npocsag;99;Sirene\nzvei;21345;LZ Süd\n");
    Json fms{{"Kanal", 0}, {"Kennung", "6a1b2345"}, {"bos", 6}, {"land", 10}, {"ort", "1B"}, {"Richtung", 0}, {"Status", 3}};
    bedeutungenErgaenzen("FMSDecodierung", fms, t);
    EXPECT_EQ(fms["Organisation"], "Feuerwehr");
    EXPECT_EQ(fms["Bundesland"], "Rheinland-Pfalz");
    EXPECT_EQ(fms["Statustext"], "Einsatz übernommen");
    EXPECT_EQ(fms["Quittung"], false);
    EXPECT_EQ(fms["Name"], "Florian Musterstadt 1/44-1");
    // A follow-up telegram's Status is the follow-up block's first digit (here 2,
    // "Einsatzbereit auf Wache"); what the vehicle sent is status A, Folgetelegramm.
    for (int folge : {1, 2}) {
        Json f{{"Kanal", 0}, {"Kennung", "6A1B2346"}, {"Richtung", 0}, {"Status", 2}, {"isfolgetelegramm", folge}};
        bedeutungenErgaenzen("FMSDecodierung", f, t);
        EXPECT_EQ(f["Statuszeichen"], "A") << folge;
        EXPECT_EQ(f["Statustext"], "Folgetelegramm") << folge;
        EXPECT_EQ(f["Status"], 2) << folge;  // the record's field itself stays
    }

    Json poc{{"Kanal", 1}, {"RIC", 99}, {"Funktion", 3}, {"Text", ""}};
    bedeutungenErgaenzen("POCDecodierung", poc, t);
    EXPECT_EQ(poc["Funktionsbuchstabe"], "C");
    EXPECT_EQ(poc["Name"], "Sirene");

    Json zvei{{"Kanal", 0}, {"ZVEINr", "21346"}};
    bedeutungenErgaenzen("ZVEIDecodierung", zvei, t);
    EXPECT_FALSE(zvei.contains("Name"));  // no entry: no name, not an empty one

    // The additional signals: each number its tones and meaning, none outside 1..6.
    const std::vector<std::pair<int, std::string>> zusatz = {
        {1, "2600 Hz"}, {2, "675/1240 Hz"}, {3, "675/1860 Hz"}, {4, "675/825 Hz"}, {5, "675/2280 Hz"}, {6, "675/1010 Hz"}};
    for (const auto& [nummer, frequenzen] : zusatz) {
        Json z{{"Kanal", 1}, {"Zusatzton", nummer}};
        bedeutungenErgaenzen("ZusatztonDecodierung", z, t);
        EXPECT_EQ(z["Frequenzen"], frequenzen);
        EXPECT_FALSE(z["Bedeutung"].get<std::string>().empty()) << nummer;
    }
    Json feuer{{"Kanal", 0}, {"Zusatzton", 2}};
    bedeutungenErgaenzen("ZusatztonDecodierung", feuer, t);
    EXPECT_EQ(feuer["Bedeutung"], "Feueralarm");
    EXPECT_EQ(zusatztonBedeutung(0), "");
    EXPECT_EQ(zusatztonFrequenzen(7), "");

    Json pegel{{"links", 3}};
    bedeutungenErgaenzen("Signalstaerke", pegel, t);
    EXPECT_EQ(pegel.size(), 1u);
}

TEST(AlarmDoppelfilter, RepeatsWithinTheWindowOnly) {
    Doppelfilter f(10);
    EXPECT_FALSE(f.wiederholung("zvei", 0, "21345", "", 1.0));
    EXPECT_TRUE(f.wiederholung("zvei", 0, "21345", "", 3.0));
    EXPECT_TRUE(f.wiederholung("zvei", 0, "21345", "", 11.0));   // exactly at the window's end
    EXPECT_FALSE(f.wiederholung("zvei", 0, "21345", "", 11.5));  // measured from the one let through
    EXPECT_FALSE(f.wiederholung("zvei", 1, "21345", "", 12.0));  // other channel
    EXPECT_FALSE(f.wiederholung("pocsag", 0, "21345", "", 12.0));  // other kind
    EXPECT_FALSE(f.wiederholung("zvei", 0, "21346", "", 12.0));  // other sender
    EXPECT_EQ(f.unterdrueckt(), 2u);

    Doppelfilter aus(0);
    EXPECT_FALSE(aus.wiederholung("zvei", 0, "1", "", 1.0));
    EXPECT_FALSE(aus.wiederholung("zvei", 0, "1", "", 1.0));
    EXPECT_EQ(aus.unterdrueckt(), 0u);
}

// Sequences of events through the chain and how many of them pass.
struct Folge {
    const char* name;
    std::vector<std::pair<double, Json>> ereignisse;  // time, fields
    std::vector<bool> durch;
};

Json fms(const char* kennung, int status, int kanal = 0) {
    return Json{{"Kanal", kanal}, {"Kennung", kennung}, {"Richtung", 0}, {"Status", status}, {"Text", ""}};
}
Json poc(int ric, int funktion, const char* text) {
    return Json{{"Kanal", 0}, {"RIC", ric}, {"Funktion", funktion}, {"Text", text}};
}

class AlarmWiederholung : public testing::TestWithParam<Folge> {};

TEST_P(AlarmWiederholung, PassesEveryChangeAndDropsRepeats) {
    const Folge& f = GetParam();
    const char* name = f.name;
    AlarmWeiche w(6, AliasTabelle{});
    std::vector<bool> durch;
    for (auto [zeit, felder] : f.ereignisse) durch.push_back(w.pruefen(name, zeit, felder));
    EXPECT_EQ(durch, f.durch);
}

INSTANTIATE_TEST_SUITE_P(
    Folgen, AlarmWiederholung,
    testing::Values(
        // A vehicle's status changes all pass, even back to an earlier status.
        Folge{"FMSDecodierung", {{1, fms("6A1B2345", 3)}, {3, fms("6A1B2345", 4)}, {5, fms("6A1B2345", 3)}},
              {true, true, true}},
        Folge{"FMSDecodierung", {{1, fms("6A1B2345", 3)}, {3, fms("6A1B2345", 3)}}, {true, false}},
        // Another vehicle in between does not hide the first one's repeat.
        Folge{"FMSDecodierung",
              {{1, fms("6A1B2345", 3)}, {2, fms("6A1B2346", 4)}, {3, fms("6A1B2345", 3)}, {4, fms("6A1B2345", 3, 1)}},
              {true, true, false, true}},
        Folge{"FMSDecodierung", {{1, fms("6A1B2345", 3)}, {7.5, fms("6A1B2345", 3)}}, {true, true}},
        // POCSAG by RIC, function and text; fields about the reception do not count.
        Folge{"POCDecodierung",
              {{1, poc(1234567, 1, "Brand")},
               {2, poc(1234567, 2, "Brand")},
               {3, poc(1234567, 1, "Brand 2")},
               {4, [] { auto j = poc(1234567, 1, "Brand"); j["Baud"] = 1200; return j; }()}},
              {true, true, true, false}},
        // A pager alarm sent twice is one alarm, however many codewords each copy needed corrected.
        Folge{"POCDecodierung",
              {{1, [] { auto j = poc(1234567, 1, "Brand"); j["KorrigierteWorte"] = 0; return j; }()},
               {2, [] { auto j = poc(1234567, 1, "Brand"); j["KorrigierteWorte"] = 2; return j; }()},
               {3, [] { auto j = poc(1234567, 1, "Bpand"); j["FehlerhafteWorte"] = 1; return j; }()}},
              {true, false, true}},
        Folge{"ZVEIDecodierung",
              {{1, Json{{"Kanal", 0}, {"ZVEINr", "21345"}}},
               {2, Json{{"Kanal", 0}, {"ZVEINr", "21346"}}},
               {3, Json{{"Kanal", 0}, {"ZVEINr", "21345"}}}},
              {true, true, false}},
        // Tone calls are single tones a station may send on purpose again and again.
        Folge{"TonrufDecodierungA", {{1, Json{{"Kanal", 0}, {"tonruf", 1}}}, {1.5, Json{{"Kanal", 0}, {"tonruf", 1}}}},
              {true, true}},
        Folge{"TonrufDecodierung", {{1, Json{{"wert", 1}}}, {1, Json{{"wert", 1}}}}, {true, true}}),
    [](const testing::TestParamInfo<Folge>& i) { return std::string(i.param.name) + std::to_string(i.index); });

TEST(AlarmDoppelfilter, WeicheAddsMeaningsToWhatPasses) {
    AlarmWeiche w(10, AliasTabelle{});
    auto a = fms("6A1B2345", 3);
    EXPECT_TRUE(w.pruefen("FMSDecodierung", 1.0, a));
    EXPECT_EQ(a["Statustext"], "Einsatz übernommen");
}

TEST(AlarmMqtt, MessageCarriesTimeChannelAndFields) {
    const Json j = mqttNachricht("ZVEIDecodierung", 1.23449, Json{{"Kanal", 1}, {"ZVEINr", "21345"}});
    EXPECT_EQ(j["event"], "ZVEIDecodierung");
    EXPECT_DOUBLE_EQ(j["time"].get<double>(), 1.234);
    EXPECT_EQ(j["kanalname"], "rechts");
    EXPECT_EQ(j["Kanal"], 1);
    // No two names that differ only in case.
    std::set<std::string> klein;
    for (const auto& [k, v] : j.items()) {
        std::string n = k;
        for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(klein.insert(n).second) << k;
    }
    EXPECT_EQ(j["ZVEINr"], "21345");
    const std::string stempel = j["zeitstempel"];
    EXPECT_EQ(stempel.size(), 24u) << stempel;  // 2026-12-08T14:32:22.123Z
    EXPECT_EQ(stempel.back(), 'Z');
    EXPECT_EQ(mqttArt("POCDecodierung"), "pocsag");
    EXPECT_EQ(mqttArt("TonrufDecodierungA"), "tonruf");
    EXPECT_EQ(mqttArt("ZusatztonDecodierung"), "zusatzton");
    EXPECT_EQ(mqttArt("TonrufDecodierung"), "");
    EXPECT_EQ(mqttArt("Signalstaerke"), "");
}

TEST(AlarmAdressen, Wildcards) {
    const std::tuple<const char*, const char*, bool> faelle[] = {
        {"1234567", "1234567", true}, {"1234567", "1234568", false}, {"123*", "1234567", true},
        {"123*", "12", false},        {"*", "", true},               {"*67", "1234567", true},
        {"1?3*7", "1234567", true},   {"1?3*8", "1234567", false},   {"12345", "123456", false},
        {"*2*4*", "1234567", true},   {"??", "1", false},            {"6A1B*", "6A1B2345", true},
    };
    for (const auto& [muster, text, erwartet] : faelle) EXPECT_EQ(musterPasst(muster, text), erwartet) << muster << " " << text;
}

struct Listenfall {
    std::vector<std::string> nur, ohne;
    const char* art;
    Json felder;
    bool durch;
};

TEST(AlarmAdressen, AllowAndDenyLists) {
    const Json ric{{"Kanal", 0}, {"RIC", 1234567}, {"Funktion", 2}};
    const Json fz{{"Kanal", 1}, {"Kennung", "6a1b2345"}, {"Status", 3}};
    const Json zv{{"Kanal", 0}, {"ZVEINr", "21345"}};
    const Listenfall faelle[] = {
        {{}, {}, "pocsag", ric, true},
        {{"pocsag:1234567"}, {}, "pocsag", ric, true},
        {{"pocsag;123*"}, {}, "pocsag", ric, true},  // the alias file's style
        {{"pocsag:7654321"}, {}, "pocsag", ric, false},
        {{"pocsag:1234567/B"}, {}, "pocsag", ric, true},
        {{"pocsag:1234567/3"}, {}, "pocsag", ric, false},
        {{"POCSAG:*/1?"}, {}, "pocsag", ric, false},
        {{"pocsag:*"}, {}, "fms", fz, false},  // an allow-list lets only its entries pass
        {{"pocsag:*", "fms:6A1B*"}, {}, "fms", fz, true},
        {{}, {"fms:6a1b2345"}, "fms", fz, false},  // Kennung compared in capitals
        {{"fms:*"}, {"fms:6A1B2346"}, "fms", fz, true},
        {{}, {"zvei:213??"}, "zvei", zv, false},
        {{}, {"zvei:2135?"}, "zvei", zv, true},
        {{"zvei:21345"}, {"zvei:21345"}, "zvei", zv, false},  // deny wins
        {{}, {"tonruf:1"}, "tonruf", Json{{"Kanal", 0}, {"tonruf", 1}}, false},
        {{"zvei:1"}, {}, "", Json{{"links", 3}}, true},  // no message: always shown
    };
    for (const auto& f : faelle) {
        Adressfilter a;
        for (const auto& e : f.nur) a.nurHinzufuegen(e);
        for (const auto& e : f.ohne) a.ohneHinzufuegen(e);
        EXPECT_EQ(a.durchlassen(f.art, f.felder), f.durch) << f.art << " " << f.felder.dump();
    }
    Adressfilter a;
    for (const char* falsch : {"1234567", "fax:1", "fms:6A1G*", "pocsag:12a", "pocsag:1/E", "zvei:", "tonruf:4"})
        EXPECT_THROW(a.nurHinzufuegen(falsch), std::invalid_argument) << falsch;
}

TEST(AlarmAdressen, ListsApplyToPrintingAsWell) {
    Adressfilter a;
    a.ohneHinzufuegen("zvei:21345");
    AlarmWeiche w(10, AliasTabelle{}, a);
    Json aus{{"Kanal", 0}, {"ZVEINr", "21345"}}, an{{"Kanal", 0}, {"ZVEINr", "21346"}};
    EXPECT_FALSE(w.pruefen("ZVEIDecodierung", 1, aus));
    EXPECT_TRUE(w.pruefen("ZVEIDecodierung", 1, an));
}

TEST(AlarmThema, TemplatesFillEveryPlaceholder) {
    const Json poc{{"kanalname", "rechts"}, {"Kanal", 1}, {"RIC", 1234567}, {"Funktion", 2}, {"Name", "FW Süd/Nord #1"}};
    const Json fms{{"kanalname", "links"}, {"Kennung", "6A1B2345"}, {"Status", 3}};
    const std::tuple<const char*, const char*, Json, const char*> faelle[] = {
        {Themenvorlage::standard, "pocsag", poc, "wache/pocsag/rechts"},
        {"{praefix}/pager/{ric}/{funktion}", "pocsag", poc, "wache/pager/1234567/2"},
        {"{praefix}/{name}", "pocsag", poc, "wache/FW Süd_Nord _1"},  // no extra levels or wildcards
        {"alarm/{kennung}/status/{status}", "fms", fms, "alarm/6A1B2345/status/3"},
        {"{praefix}/{zvei}/{ric}", "fms", fms, "wache/-/-"},          // absent: "-"
        {"x/{art}-{kanal}", "fms", fms, "x/fms-links"},
    };
    for (const auto& [vorlage, art, nachricht, thema] : faelle)
        EXPECT_EQ(Themenvorlage(vorlage).thema("wache", art, nachricht), thema) << vorlage;
    for (const char* falsch : {"{praefix}/{ric", "{praefix}/{rik}", "a/+/b", "a/#", "/a", "a/", "a//b", "", "a}"})
        EXPECT_THROW(Themenvorlage{falsch}, std::invalid_argument) << falsch;

    const Themenvorlagen v({"{praefix}/alle/{art}", "pocsag={praefix}/pager/{ric}"});
    EXPECT_EQ(v.fuer("pocsag").thema("w", "pocsag", poc), "w/pager/1234567");
    EXPECT_EQ(v.fuer("fms").thema("w", "fms", fms), "w/alle/fms");
    EXPECT_EQ(Themenvorlagen().fuer("zvei").thema("w", "zvei", fms), "w/zvei/links");
    EXPECT_THROW(Themenvorlagen({"fms=a", "fms=b"}), std::invalid_argument);
    EXPECT_THROW(Themenvorlagen({"a", "b"}), std::invalid_argument);
}

TEST(AlarmMqtt, BrokerAddresses) {
    MqttAdresse a = mqttAdresseLesen("mqtt://broker.lan/wache/alarm/");
    EXPECT_EQ(a.host, "broker.lan");
    EXPECT_EQ(a.port, 1883);
    EXPECT_EQ(a.praefix, "wache/alarm");
    EXPECT_FALSE(a.tls);
    a = mqttAdresseLesen("mqtts://nutzer:geh:eim@10.0.0.2:8884");
    EXPECT_TRUE(a.tls);
    EXPECT_EQ(a.port, 8884);
    EXPECT_EQ(a.benutzer, "nutzer");
    EXPECT_EQ(a.passwort, "geh:eim");
    EXPECT_EQ(a.praefix, "tonwerk");
    a = mqttAdresseLesen("mqtt://wache%40feuerwehr:p%40ss%3Aw%2Fort%25@h/x");
    EXPECT_EQ(a.benutzer, "wache@feuerwehr");
    EXPECT_EQ(a.passwort, "p@ss:w/ort%");
    EXPECT_EQ(a.host, "h");
    for (const char* kaputt : {"mqtt://u:geheim%4@h/x", "mqtt://u:geheim%zz@h/x", "mqtt://u%:geheim@h/x"}) {
        try {
            mqttAdresseLesen(kaputt);
            ADD_FAILURE() << kaputt;
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(std::string(e.what()).find("geheim"), std::string::npos) << e.what();
        }
    }
    try {
        mqttAdresseLesen("mqtt://u:geheim@:1883/x");
        ADD_FAILURE();
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string(e.what()).find("geheim"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("mqtt://u:***@:1883/x"), std::string::npos) << e.what();
    }
    EXPECT_EQ(mqttAdresseLesen("mqtts://[::1]/x").port, 8883);
    EXPECT_EQ(mqttAdresseLesen("mqtts://[::1]/x").host, "::1");
    for (const char* falsch : {"http://h/x", "mqtt://", "mqtt://:1883/x", "mqtt://h:0/x", "mqtt://h:65536/x",
                               "mqtt://h:12a/x", "mqtt://h:/x", "mqtt://h/a/#", "mqtt://@h/x", "mqtt://[::1/x"})
        EXPECT_THROW(mqttAdresseLesen(falsch), std::invalid_argument) << falsch;
}

}  // namespace
}  // namespace tonwerk::werkzeug
