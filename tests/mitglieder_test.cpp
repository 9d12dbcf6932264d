#include "tonwerk/core/mitglieder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tonwerk {
namespace {

std::vector<std::string> namen(Art art) {
    std::vector<std::string> n;
    for (const Mitglied& m : mitglieder())
        if (m.art == art) n.push_back(m.name);
    return n;
}

TEST(Mitgliedertabelle, DispatchOrderWithGetterBeforeSetter) {
    const auto& t = mitglieder();
    ASSERT_GE(t.size(), 8u);
    EXPECT_EQ(t[0].name, "FMScrcCheck");
    EXPECT_EQ(t[0].zugriff, Zugriff::Lesen);
    EXPECT_EQ(t[3].name, "ZVEISenden");
    std::vector<std::string> eigenschaften = namen(Art::Eigenschaft);
    EXPECT_EQ(eigenschaften.back(), "RecordPufferSize");
    auto setter = std::find_if(t.begin(), t.end(), [](const Mitglied& m) {
        return m.name == "FMScrcCheck" && m.zugriff == Zugriff::Schreiben;
    });
    ASSERT_NE(setter, t.end());
    EXPECT_EQ(setter - t.begin(), 22);
    EXPECT_EQ(namen(Art::Ereignis),
              (std::vector<std::string>{"Signalstaerke", "FMSDecodierung", "ZVEIDecodierung", "POCDecodierung",
                                        "PufferUeberlauf", "WaveRecordEnd", "TonrufDecodierung",
                                        "TonrufDecodierungA", "ZusatztonDecodierung"}));
    EXPECT_EQ(namen(Art::Methode).size(), 11u);
}

TEST(Mitgliedertabelle, HelpStringsFollowTheFamilies) {
    EXPECT_EQ(findeMitglied("DecRechtsTonruf")->hilfe,
              "Gibt an, ob auf dem rechten Kanal Tonrufe decodiert werden.\r\nFalse = Nein\r\nTrue = Ja (default)");
    EXPECT_EQ(findeMitglied("DecLinksPOC")->hilfe,
              "Gibt an, ob auf dem linken Kanal POCSAG decodiert wird.\r\nFalse = Nein\r\nTrue = Ja (default)");
    EXPECT_EQ(findeMitglied("DecLinksZusatzton")->hilfe,
              "Gibt an, ob auf dem linken Kanal Zusatztöne decodiert werden.\r\nFalse = Nein\r\nTrue = Ja (default)");
    EXPECT_EQ(findeMitglied("FMSVorlaufMax")->hilfe, "Interner Wert\r\nStandard=19");
    EXPECT_EQ(findeMitglied("SampleFehlerRate")->hilfe, "Interner Wert\r\nStandard=1");
    for (const char* ohne : {"PocSendPreambellaenge", "RecordPufferSize", "TonrufDecodierung", "TonrufDecodierungA"})
        EXPECT_TRUE(findeMitglied(ohne)->hilfe.empty()) << ohne;
    for (const Mitglied& m : mitglieder()) {
        const bool ohneHilfe = m.name == "PocSendPreambellaenge" || m.name == "RecordPufferSize" ||
                               (m.art == Art::Ereignis && m.name.rfind("Tonruf", 0) == 0);
        if (ohneHilfe) continue;
        EXPECT_FALSE(m.hilfe.empty()) << m.name;
    }
    EXPECT_NE(findeMitglied("SoundStatus")->hilfe.find("4 = OCX wrd initialisiert"), std::string::npos);
}

TEST(Mitgliedertabelle, UnknownNameIsNotFound) { EXPECT_EQ(findeMitglied("Gibtsnicht"), nullptr); }

}  // namespace
}  // namespace tonwerk
