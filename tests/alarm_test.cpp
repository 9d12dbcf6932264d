// The alarm receiver's tables and filters: FMS meanings, alias files, repeat
// filter, broker addresses.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "alarm/alarm_weiche.h"
#include "alarm/alias_tabelle.h"
#include "alarm/bedeutungen.h"
#include "alarm/doppelfilter.h"
#include "alarm/fms_tabellen.h"
#include "alarm/mqtt_adresse.h"

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

    Json pegel{{"links", 3}};
    bedeutungenErgaenzen("Signalstaerke", pegel, t);
    EXPECT_EQ(pegel.size(), 1u);
}

TEST(AlarmDoppelfilter, RepeatsWithinTheWindowOnly) {
    Doppelfilter f(10);
    EXPECT_FALSE(f.wiederholung("zvei", 0, "21345", 1.0));
    EXPECT_TRUE(f.wiederholung("zvei", 0, "21345", 3.0));
    EXPECT_TRUE(f.wiederholung("zvei", 0, "21345", 11.0));   // exactly at the window's end
    EXPECT_FALSE(f.wiederholung("zvei", 0, "21345", 11.5));  // measured from the one let through
    EXPECT_FALSE(f.wiederholung("zvei", 1, "21345", 12.0));  // other channel
    EXPECT_FALSE(f.wiederholung("pocsag", 0, "21345", 12.0));  // other kind
    EXPECT_FALSE(f.wiederholung("zvei", 0, "21346", 12.0));  // other content
    EXPECT_EQ(f.unterdrueckt(), 2u);

    Doppelfilter aus(0);
    EXPECT_FALSE(aus.wiederholung("zvei", 0, "1", 1.0));
    EXPECT_FALSE(aus.wiederholung("zvei", 0, "1", 1.0));
    EXPECT_EQ(aus.unterdrueckt(), 0u);
}

TEST(AlarmDoppelfilter, WeicheFiltersFmsOnlyWhenIdenticalAndNeverToneCalls) {
    AlarmWeiche w(10, AliasTabelle{}, nullptr);
    Json s3{{"Kanal", 0}, {"Kennung", "6A1B2345"}, {"Status", 3}};
    Json s4{{"Kanal", 0}, {"Kennung", "6A1B2345"}, {"Status", 4}};
    auto a = s3, b = s4, c = s3;
    EXPECT_TRUE(w.pruefen("FMSDecodierung", 1.0, a));
    EXPECT_TRUE(w.pruefen("FMSDecodierung", 2.0, b));  // a status change of the same vehicle
    EXPECT_FALSE(w.pruefen("FMSDecodierung", 2.5, c));  // the same telegram again
    EXPECT_EQ(a["Statustext"], "Einsatz übernommen");

    // A pager alarm sent twice is one alarm, however many codewords each copy needed corrected.
    Json p1{{"Kanal", 0}, {"RIC", 1234567}, {"Text", "Brand"}, {"KorrigierteWorte", 0}, {"FehlerhafteWorte", 0}};
    Json p2{{"Kanal", 0}, {"RIC", 1234567}, {"Text", "Brand"}, {"KorrigierteWorte", 2}, {"FehlerhafteWorte", 0}};
    Json p3{{"Kanal", 0}, {"RIC", 1234567}, {"Text", "Bpand"}, {"KorrigierteWorte", 0}, {"FehlerhafteWorte", 1}};
    EXPECT_TRUE(w.pruefen("POCDecodierung", 1.0, p1));
    EXPECT_FALSE(w.pruefen("POCDecodierung", 2.0, p2));
    EXPECT_TRUE(w.pruefen("POCDecodierung", 3.0, p3));  // another text is another message

    Json ton{{"Kanal", 0}, {"tonruf", 1}};
    auto t1 = ton, t2 = ton;
    EXPECT_TRUE(w.pruefen("TonrufDecodierungA", 1.0, t1));
    EXPECT_TRUE(w.pruefen("TonrufDecodierungA", 1.5, t2));
    Json wert{{"wert", 1}};
    EXPECT_TRUE(w.pruefen("TonrufDecodierung", 1.5, wert));
    EXPECT_EQ(w.filter().unterdrueckt(), 2u);
}

TEST(AlarmMqtt, MessageCarriesTimeChannelAndFields) {
    const Json j = mqttNachricht("ZVEIDecodierung", 1.23449, Json{{"Kanal", 1}, {"ZVEINr", "21345"}});
    EXPECT_EQ(j["event"], "ZVEIDecodierung");
    EXPECT_DOUBLE_EQ(j["time"].get<double>(), 1.234);
    EXPECT_EQ(j["kanal"], "rechts");
    EXPECT_EQ(j["ZVEINr"], "21345");
    const std::string stempel = j["zeitstempel"];
    EXPECT_EQ(stempel.size(), 24u) << stempel;  // 2026-12-08T14:32:22.123Z
    EXPECT_EQ(stempel.back(), 'Z');
    EXPECT_EQ(mqttArt("POCDecodierung"), "pocsag");
    EXPECT_EQ(mqttArt("TonrufDecodierungA"), "tonruf");
    EXPECT_EQ(mqttArt("TonrufDecodierung"), "");
    EXPECT_EQ(mqttArt("Signalstaerke"), "");
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
    EXPECT_EQ(mqttAdresseLesen("mqtts://[::1]/x").port, 8883);
    EXPECT_EQ(mqttAdresseLesen("mqtts://[::1]/x").host, "::1");
    for (const char* falsch : {"http://h/x", "mqtt://", "mqtt://:1883/x", "mqtt://h:0/x", "mqtt://h:65536/x",
                               "mqtt://h:12a/x", "mqtt://h:/x", "mqtt://h/a/#", "mqtt://@h/x", "mqtt://[::1/x"})
        EXPECT_THROW(mqttAdresseLesen(falsch), std::invalid_argument) << falsch;
}

}  // namespace
}  // namespace tonwerk::werkzeug
