// Home Assistant discovery: the configurations and states the tool publishes
// for aliased vehicles, RICs and ZVEI numbers, checked as pure data and
// against a real mosquitto (retained where Home Assistant must find them
// after a restart, plain where they are events).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "alarm/home_assistant.h"
#include "befehle.h"
#include "mqtt_testbroker.h"

namespace tonwerk::werkzeug {
namespace {

using testhilfe::TestAbonnent;
using testhilfe::TestBroker;
using Json = nlohmann::json;
using OJson = nlohmann::ordered_json;

AliasTabelle tabelle(const std::string& text) {
    AliasTabelle a;
    std::istringstream ein(text);
    a.laden(ein, "test.csv");
    return a;
}

TEST(HomeAssistant, OneConfigurationPerEntryTiedToTheAvailabilityTopic) {
    const HomeAssistant ha(tabelle("fms;6a1b2345;Florian 1/44-1\npocsag;1234567;FF Musterstadt\n"
                                   "pocsag;1234567/C;FF Probealarm\nzvei;21345;Löschzug\n"),
                           "wache/nord");
    const auto k = ha.konfigurationen();
    ASSERT_EQ(k.size(), 4u);
    struct Erwartet {
        const char* thema;
        const char* zustand;
        Json typen;
    };
    const Erwartet erwartet[] = {
        {"homeassistant/sensor/tonwerk_wache_nord/fms_6A1B2345/config", "wache/nord/fahrzeug/6A1B2345", nullptr},
        {"homeassistant/event/tonwerk_wache_nord/pocsag_1234567/config", "wache/nord/alarm/pocsag/1234567",
         Json{"A", "B", "C", "D"}},
        {"homeassistant/event/tonwerk_wache_nord/pocsag_1234567_3/config", "wache/nord/alarm/pocsag/1234567/3",
         Json{"C"}},
        {"homeassistant/event/tonwerk_wache_nord/zvei_21345/config", "wache/nord/alarm/zvei/21345", Json{"alarm"}},
    };
    for (std::size_t i = 0; i < k.size(); ++i) {
        SCOPED_TRACE(erwartet[i].thema);
        EXPECT_EQ(k[i].thema, erwartet[i].thema);
        EXPECT_TRUE(k[i].behalten);
        const Json c = Json::parse(k[i].nutzlast);
        EXPECT_EQ(c["state_topic"], erwartet[i].zustand);
        EXPECT_EQ(c["availability_topic"], "wache/nord/status");
        EXPECT_EQ(c["device"]["identifiers"], Json{"tonwerk_wache_nord"});
        if (erwartet[i].typen.is_null())
            EXPECT_EQ(c["value_template"], "{{ value_json.Statuszeichen }}");
        else
            EXPECT_EQ(c["event_types"], erwartet[i].typen);
    }
    EXPECT_EQ(Json::parse(k[3].nutzlast)["name"], "Löschzug");
}

TEST(HomeAssistant, StatesGoToTheEntryTheMessageBelongsTo) {
    const HomeAssistant ha(tabelle("fms;6A1B2345;F\npocsag;1234567;R\npocsag;1234567/C;RC\nzvei;21345;Z\n"), "w");
    struct Fall {
        const char* art;
        OJson nachricht;
        const char* thema;  // nullptr: nothing
        bool behalten;
        const char* typ;
    };
    const Fall faelle[] = {
        {"fms", {{"Kennung", "6A1B2345"}, {"Richtung", 0}, {"Status", 3}}, "w/fahrzeug/6A1B2345", true, nullptr},
        {"fms", {{"Kennung", "6A1B2345"}, {"Richtung", 1}, {"Status", 3}}, nullptr, false, nullptr},  // an order
        {"fms", {{"Kennung", "11111111"}, {"Richtung", 0}, {"Status", 3}}, nullptr, false, nullptr},
        {"pocsag", {{"RIC", 1234567}, {"Funktion", 3}}, "w/alarm/pocsag/1234567/3", false, "C"},
        {"pocsag", {{"RIC", 1234567}, {"Funktion", 1}}, "w/alarm/pocsag/1234567", false, "A"},
        {"pocsag", {{"RIC", 7654321}, {"Funktion", 1}}, nullptr, false, nullptr},
        {"zvei", {{"ZVEINr", "21345"}}, "w/alarm/zvei/21345", false, "alarm"},
        {"zvei", {{"ZVEINr", "99999"}}, nullptr, false, nullptr},
        {"tonruf", {{"tonruf", 2}}, nullptr, false, nullptr},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.nachricht.dump());
        const auto z = ha.zustaende(f.art, f.nachricht);
        if (!f.thema) {
            EXPECT_TRUE(z.empty());
            continue;
        }
        ASSERT_EQ(z.size(), 1u);
        EXPECT_EQ(z[0].thema, f.thema);
        EXPECT_EQ(z[0].behalten, f.behalten);
        const Json j = Json::parse(z[0].nutzlast);
        if (f.typ)
            EXPECT_EQ(j["event_type"], f.typ);
        else
            EXPECT_EQ(j["Status"], 3);
    }
}

void werkzeug(std::vector<std::string> argumente) {
    CLI::App app;
    decodeBefehl(app);
    sendeZveiBefehl(app);
    argumente.insert(argumente.begin(), "tonwerk");
    std::vector<const char*> argv;
    for (const auto& a : argumente) argv.push_back(a.c_str());
    testing::internal::CaptureStdout();
    app.parse(static_cast<int>(argv.size()), argv.data());
    testing::internal::GetCapturedStdout();
}

TEST(HomeAssistant, ABrokerHoldsTheConfigurationsAndTheVehiclesLastStatus) {
    TestBroker broker;
    TestAbonnent live(broker.port(), "#");
    const auto v = std::filesystem::temp_directory_path() / ("tonwerk_ha_" + std::to_string(::getpid()));
    std::filesystem::create_directories(v);
    // 226E236A sends status 3; 2554017C only gets an order from the control centre.
    std::ofstream(v / "alias.csv") << "fms;226E236A;Florian 1\nfms;2554017C;Florian 2\nzvei;21345;Löschzug\n";
    const std::string zvei = (v / "zvei.wav").string();
    werkzeug({"send", "zvei", "21345", "-o", zvei});
    for (const std::string& aufnahme : {std::string(TONWERK_TESTDATA) + "/fms_11025_snr40.wav", zvei})
        werkzeug({"decode", aufnahme, "--mqtt", broker.url("wache"), "--mqtt-ha", "--alias",
                  (v / "alias.csv").string()});

    ASSERT_TRUE(live.warteAuf(1, [](const auto& n) { return n.thema == "wache/alarm/zvei/21345"; }));
    for (const auto& n : live.nachrichten())
        if (n.thema == "wache/alarm/zvei/21345") {
            EXPECT_EQ(Json::parse(n.nutzlast)["event_type"], "alarm");
            EXPECT_EQ(Json::parse(n.nutzlast)["Name"], "Löschzug");
        }

    // What a Home Assistant starting now finds.
    TestAbonnent spaeter(broker.port(), "#");
    ASSERT_TRUE(spaeter.warteAuf(5, [](const auto& n) { return n.behalten; }));
    std::map<std::string, std::string> behalten;
    for (const auto& n : spaeter.nachrichten()) {
        EXPECT_TRUE(n.behalten) << n.thema;
        behalten[n.thema] = n.nutzlast;
    }
    EXPECT_EQ(behalten.size(), 5u);
    EXPECT_EQ(behalten.count("homeassistant/sensor/tonwerk_wache/fms_226E236A/config"), 1u);
    EXPECT_EQ(behalten.count("homeassistant/sensor/tonwerk_wache/fms_2554017C/config"), 1u);
    EXPECT_EQ(behalten.count("homeassistant/event/tonwerk_wache/zvei_21345/config"), 1u);
    EXPECT_EQ(behalten["wache/status"], "offline");
    const Json stand = Json::parse(behalten["wache/fahrzeug/226E236A"]);
    EXPECT_EQ(stand["Statuszeichen"], "3");
    EXPECT_EQ(stand["Name"], "Florian 1");
    std::filesystem::remove_all(v);
}

}  // namespace
}  // namespace tonwerk::werkzeug
