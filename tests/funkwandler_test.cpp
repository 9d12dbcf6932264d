#include "tonwerk/core/funkwandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "test_plattform.h"
#include "tonwerk/core/mitglieder.h"

namespace tonwerk {
namespace {

using test::TestKontrolle;

TEST(FunkwandlerEigenschaften, DefaultsAfterInitialisation) {
    TestKontrolle t;
    Funkwandler& f = t.fw;
    EXPECT_EQ(f.SoundStatus(), 0);
    EXPECT_EQ(f.Samplerates(), 0);
    EXPECT_EQ(f.PocBaudRates(), 0);
    EXPECT_EQ(f.RecordPufferSize(), 5512);
    EXPECT_EQ(f.FMSVorlaufMin(), 7);
    EXPECT_EQ(f.FMSVorlaufMax(), 19);
    EXPECT_EQ(f.FMScrcCheck(), Wahr);
    EXPECT_EQ(f.FMSKurztextTRBOS(), Falsch);
    EXPECT_EQ(f.PocPraambels(), 500);
    EXPECT_EQ(f.PocSyncWord(), "01111100110100100001010111011000");
    EXPECT_EQ(f.PocIdleWord(), "01111010100010011100000110010111");
    EXPECT_EQ(f.FunkAnschluss(), 1);
    EXPECT_EQ(f.Ausgangspegel(), 60);
    EXPECT_EQ(f.PocSendPreambellaenge(), 576);
    EXPECT_EQ(f.FMSSendeVorlauf(), 200);
    for (Boolean b : {f.DecLinksFMS(), f.DecLinksZVEI(), f.DecLinksPOC(), f.DecLinksTonruf(), f.DecRechtsFMS(),
                      f.DecRechtsZVEI(), f.DecRechtsPOC(), f.DecRechtsTonruf()})
        EXPECT_EQ(b, Wahr);
    EXPECT_FALSE(f.Sendeverzeichnis().empty());
}

TEST(FunkwandlerEigenschaften, OutOfRangeValuesAreMappedNotRejected) {
    TestKontrolle t;
    Funkwandler& f = t.fw;
    f.Samplerates(7);
    EXPECT_EQ(f.Samplerates(), 0);
    EXPECT_EQ(f.einstellungen().Abtastrate, 11025);
    f.PocBaudRates(5);
    EXPECT_EQ(f.PocBaudRates(), 0);
    f.Ausgangspegel(-5);
    EXPECT_EQ(f.Ausgangspegel(), 0);
    f.Ausgangspegel(200);
    EXPECT_EQ(f.Ausgangspegel(), 127);
    f.PocAusgangspegel(300);
    EXPECT_EQ(f.PocAusgangspegel(), 127);
    f.FunkAnschluss(3);
    f.FunkAnschluss(0);
    f.FunkAnschluss(5);
    EXPECT_EQ(f.FunkAnschluss(), 3);
    f.DecLinksZVEI(5);
    EXPECT_EQ(f.DecLinksZVEI(), Wahr);
    EXPECT_EQ(f.einstellungen().Dekodieren[0][DekZVEI], 1);
    f.SoundStatus(2);
    EXPECT_EQ(f.SoundStatus(), 0);
}

TEST(FunkwandlerEigenschaften, VorlaufBoundsAreHeldDoubledAndOverflowThrows) {
    TestKontrolle t;
    t.fw.FMSVorlaufMin(9);
    EXPECT_EQ(t.fw.FMSVorlaufMin(), 9);
    EXPECT_EQ(t.fw.einstellungen().FMSVorlaufMin2, 18);
    EXPECT_THROW(t.fw.FMSVorlaufMin(20000), std::overflow_error);
    EXPECT_EQ(t.fw.FMSVorlaufMin(), 9);
    EXPECT_THROW(t.fw.FMSVorlaufMax(-16385), std::overflow_error);
    EXPECT_EQ(t.fw.FMSVorlaufMax(), 19);
    t.fw.FMSVorlaufMax(-16384);
    EXPECT_EQ(t.fw.FMSVorlaufMax(), -16384);
}

TEST(FunkwandlerEigenschaften, SamplerateWriteRecomputesConstantsAndBufferSize) {
    TestKontrolle t;
    Funkwandler& f = t.fw;
    f.RecordPufferSize(1000);
    f.Samplerates(1);
    EXPECT_EQ(f.RecordPufferSize(), 8196);
    EXPECT_EQ(f.konstanten().FmsLangMin, 8);
    f.RecordPufferSize(3000);
    EXPECT_EQ(f.RecordPufferSize(), 3000);
    f.ZVEI70msMin(90);
    EXPECT_EQ(f.konstanten().ZVEITonMin, 1610);
    f.Samplerates(0);
    EXPECT_EQ(f.konstanten().ZVEITonMin, 992);
    EXPECT_EQ(f.RecordPufferSize(), 5512);
}

TEST(FunkwandlerEigenschaften, BaudWriteRecomputesOnlyPocsagConstants) {
    TestKontrolle t;
    t.fw.Samplerates(2);
    t.fw.PocBaudRates(1);
    EXPECT_EQ(t.fw.PocBaudRates(), 1);
    EXPECT_EQ(t.fw.konstanten().PocBitLaenge, 38);
    EXPECT_EQ(t.fw.konstanten().FmsLangMin, 16);
}

TEST(FunkwandlerLebenszyklus, StartAndStopRunTheStatusMachine) {
    TestKontrolle t;
    EXPECT_FALSE(t.timer1.aktiv());
    EXPECT_EQ(t.fw.SoundStart(), 0);
    EXPECT_EQ(t.fw.SoundStatus(), 2);
    EXPECT_TRUE(t.timer1.aktiv());
    EXPECT_EQ(t.timer1.intervall(), 60);
    EXPECT_TRUE(t.timer2.aktiv());
    EXPECT_EQ(t.timer2.intervall(), 1000);
    EXPECT_EQ(t.fw.SoundStart(), 1);  // already running: nothing done
    EXPECT_EQ(t.fw.SoundStatus(), 2);
    const int vorher = t.uhr.lesungen();
    EXPECT_EQ(t.fw.Soundstop(), 0);
    EXPECT_GE(t.uhr.lesungen() - vorher, 8);  // waited for four changes of the second
    EXPECT_EQ(t.fw.SoundStatus(), 0);
    EXPECT_FALSE(t.timer1.aktiv());
    EXPECT_FALSE(t.timer2.aktiv());
}

TEST(FunkwandlerLebenszyklus, DeviceErrorStillEndsInRunningState) {
    TestKontrolle t;
    t.eingang.fehlerSetzen(11);
    EXPECT_EQ(t.fw.SoundStart(), 11);
    EXPECT_EQ(t.fw.SoundStatus(), 2);
    t.timer1.tick();  // never finds a filled buffer
    EXPECT_TRUE(t.ereignisse.pegel.empty());
    EXPECT_NE(t.fw.Soundstop(), 0);  // closing the unopened device fails
    EXPECT_EQ(t.fw.SoundStatus(), 0);
}

TEST(FunkwandlerLebenszyklus, SamplerateWriteWhileRunningRestartsCapture) {
    TestKontrolle t;
    t.fw.SoundStart();
    t.fw.Samplerates(2);
    EXPECT_EQ(t.fw.SoundStatus(), 2);
    EXPECT_EQ(t.eingang.abtastrate(), 44100);
    EXPECT_EQ(t.fw.RecordPufferSize(), 11025);
}

TEST(FunkwandlerLebenszyklus, StopWithoutStartStillWaitsAndReportsDeviceError) {
    TestKontrolle t;
    EXPECT_EQ(t.fw.Soundstop(), SimulierterEingang::kFehlerUngueltig);
    EXPECT_EQ(t.fw.SoundStatus(), 0);
    EXPECT_GE(t.uhr.lesungen(), 8);
}

TEST(FunkwandlerGeraete, DeviceInfoWritesOutputsOnlyOnSuccess) {
    TestKontrolle t;
    EXPECT_EQ(t.fw.GetSoundKartenCount(), 1);
    std::string name = "alt";
    Long format = -1;
    EXPECT_EQ(t.fw.GetSoundkarteInfo(0, name, format), 0);
    EXPECT_EQ(name, "Simulierter Eingang");
    EXPECT_EQ(format, 0xFFF);
    name = "alt";
    format = -1;
    EXPECT_NE(t.fw.GetSoundkarteInfo(3, name, format), 0);
    EXPECT_EQ(name, "alt");
    EXPECT_EQ(format, -1);
}

TEST(FunkwandlerZugriff, PropertiesByName) {
    TestKontrolle t;
    t.fw.schreiben("Samplerates", Long{2});
    EXPECT_EQ(std::get<Long>(t.fw.lesen("Samplerates")), 2);
    t.fw.schreiben("PocSyncWord", std::string("0101"));
    EXPECT_EQ(std::get<std::string>(t.fw.lesen("PocSyncWord")), "0101");
    EXPECT_EQ(std::get<Long>(t.fw.lesen("FMScrcCheck")), -1);
    EXPECT_THROW(t.fw.schreiben("Ausgangspegel", Long{70000}), std::out_of_range);
    EXPECT_EQ(t.fw.Ausgangspegel(), 60);
    EXPECT_THROW(t.fw.schreiben("Gibtsnicht", Long{1}), std::invalid_argument);
    EXPECT_THROW(t.fw.schreiben("PocIdleWord", Long{1}), std::invalid_argument);
    EXPECT_THROW(t.fw.schreiben("FMSVorlaufMin", Long{20000}), std::overflow_error);
}

// The member table states every property's default; a fresh control must have
// it, read by name, and take it back by name where the property can be written.
TEST(FunkwandlerZugriff, EveryPropertyOfTheTableReadsItsStatedDefaultByName) {
    TestKontrolle t;
    const auto alsText = [](const Mitglied& m, const Wert& w) -> std::string {
        if (const std::string* text = std::get_if<std::string>(&w)) return *text;
        const Long v = std::get<Long>(w);
        if (m.typ == "Boolean") return v == Wahr ? "True" : v == Falsch ? "False" : std::to_string(v);
        return std::to_string(v);
    };
    int geprueft = 0;
    for (const Mitglied& m : mitglieder()) {
        if (m.art != Art::Eigenschaft) continue;
        ++geprueft;
        ASSERT_NO_THROW(t.fw.lesen(m.name)) << m.name;
        const Wert wert = t.fw.lesen(m.name);
        EXPECT_EQ(std::holds_alternative<std::string>(wert), m.typ == "String") << m.name;
        EXPECT_EQ(alsText(m, wert), m.standard) << m.name;
        if (m.zugriff == Zugriff::Lesen) continue;
        EXPECT_NO_THROW(t.fw.schreiben(m.name, wert)) << m.name;
        EXPECT_EQ(t.fw.lesen(m.name), wert) << m.name;
    }
    EXPECT_EQ(geprueft, 43);  // with the two switches of the additional signals and the POCSAG error control
}

// Every method of the table is reached by name and takes the parameters listed.
TEST(FunkwandlerZugriff, EveryMethodOfTheTableIsCalledByNameWithItsParameterCount) {
    TestKontrolle t;
    for (const Mitglied& m : mitglieder()) {
        if (m.art != Art::Methode || m.parameter.empty()) continue;
        const auto anzahl = std::count(m.parameter.begin(), m.parameter.end(), ',') + 1;
        std::vector<Wert> zuViele(static_cast<std::size_t>(anzahl) + 1, Long{0});
        try {
            t.fw.aufrufen(m.name, zuViele);
            ADD_FAILURE() << m.name;
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(std::string(e.what()), m.name + ": " + std::to_string(anzahl) + " Argumente erwartet, " +
                                                 std::to_string(anzahl + 1) + " erhalten");
        }
    }
}

TEST(FunkwandlerZugriff, MethodsByNameWriteBackOutputs) {
    TestKontrolle t;
    std::vector<Wert> args{Long{0}, std::string(), Long{0}};
    EXPECT_EQ(std::get<Long>(t.fw.aufrufen("GetSoundkarteInfo", args)), 0);
    EXPECT_EQ(std::get<std::string>(args[1]), "Simulierter Eingang");
    // A failed call leaves the outputs as they were, whatever they hold.
    std::vector<Wert> fehlt{Long{3}, std::string("alt"), Long{-1}};
    EXPECT_NE(std::get<Long>(t.fw.aufrufen("GetSoundkarteInfo", fehlt)), 0);
    EXPECT_EQ(fehlt, (std::vector<Wert>{Long{3}, std::string("alt"), Long{-1}}));
    std::vector<Wert> vertauscht{Long{3}, Long{7}, std::string("x")};
    EXPECT_NE(std::get<Long>(t.fw.aufrufen("GetSoundkarteInfo", vertauscht)), 0);
    EXPECT_EQ(vertauscht, (std::vector<Wert>{Long{3}, Long{7}, std::string("x")}));
    std::vector<Wert> keine;
    EXPECT_EQ(std::get<Long>(t.fw.aufrufen("SoundStart", keine)), 0);
    EXPECT_THROW(t.fw.aufrufen("SoundStart", args), std::invalid_argument);
}

}  // namespace
}  // namespace tonwerk
