// Keying around a status sent by the real dispatch core on real time, watched
// on a pty through the real serial port: order of key-up, telegrams and
// key-down, the lead time and acknowledgement waits (as lower bounds only:
// a loaded machine makes everything later, never earlier), the levels with
// and without inversion, the release after a failing sound output, and a
// second call handled inside the first one's waits.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "leitungsbeobachtung.h"
#include "temp_verzeichnis.h"

#ifdef RUFPILOT_STATUSPROBE

namespace rufpilot {
namespace {

constexpr std::int64_t kVorlaufUs = 150'000;  // the probe's fmsVorlaufMs
constexpr std::int64_t kQuittungsfensterUs = 1'000'000;

// One line of the shared file: a line state from the observer or an event of
// the probe (see statusprobe.cpp).
struct Eintrag {
    std::int64_t us = 0;
    std::string ereignis;  // "leitung" for a line state
    int wert = 0;          // line of "senden", result of "ergebnis"
    bool dtr = false, rts = false;
};

std::vector<Eintrag> zeitfolgeLesen(const std::filesystem::path& datei) {
    std::vector<Eintrag> folge;
    std::ifstream f(datei);
    for (std::string zeile; std::getline(f, zeile);) {
        Eintrag e;
        long long us = 0;
        int fd = 0, dtr = 0, rts = 0, wert = 0;
        char wort[32] = {};
        if (std::sscanf(zeile.c_str(), "%lld fd=%d dtr=%d rts=%d", &us, &fd, &dtr, &rts) == 4) {
            e.ereignis = "leitung";
            e.dtr = dtr == 1;
            e.rts = rts == 1;
        } else if (const int n = std::sscanf(zeile.c_str(), "%lld %31s %d", &us, wort, &wert); n >= 2) {
            e.ereignis = wort;
            e.wert = n == 3 ? wert : 0;
        } else {
            ADD_FAILURE() << "unreadable: " << zeile;
            continue;
        }
        e.us = us;
        folge.push_back(e);
    }
    return folge;
}

// What happened during one StatusSenden.
struct Sendevorgang {
    int leitung = 0;
    std::vector<Eintrag> leitungen;
    std::vector<std::pair<std::int64_t, std::int64_t>> toene;  // start, end
    std::vector<std::int64_t> quittungen;
    std::vector<std::int64_t> tonfehler;
    int ergebnis = -1;
};

struct Lauf {
    int exitcode = -1;
    std::vector<Eintrag> beimOeffnen;  // line states until both are put to rest
    std::vector<Sendevorgang> sendungen;
    std::vector<Eintrag> sonst;        // line states between sends: there should be none
    bool fertig = false;
};

Lauf probeLaufen(const std::string& pegelumkehr, const std::string& ausgabe, const std::vector<std::string>& sendungen) {
    test::Pty pty;
    EXPECT_FALSE(pty.name.empty());
    test::TempVerzeichnis dir;
    const auto protokoll = dir / "zeitfolge.log";
    std::vector<std::string> argv{RUFPILOT_STATUSPROBE, pty.name, protokoll.string(), pegelumkehr, ausgabe};
    argv.insert(argv.end(), sendungen.begin(), sendungen.end());
    Lauf lauf;
    lauf.exitcode = test::unterLeitungsbeobachtung(argv, protokoll);

    bool geprueft = false;
    Sendevorgang* laufend = nullptr;
    for (const Eintrag& e : zeitfolgeLesen(protokoll)) {
        if (lauf.fertig) break;  // closing the port drops both lines: not the core's doing
        if (e.ereignis == "leitung") {
            if (!geprueft) lauf.beimOeffnen.push_back(e);
            else if (laufend) laufend->leitungen.push_back(e);
            else lauf.sonst.push_back(e);
        } else if (e.ereignis == "portgeprueft") {
            geprueft = true;
        } else if (e.ereignis == "senden") {
            laufend = &lauf.sendungen.emplace_back();
            laufend->leitung = e.wert;
        } else if (e.ereignis == "fertig") {
            lauf.fertig = true;
        } else if (laufend == nullptr) {
            ADD_FAILURE() << e.ereignis << " outside StatusSenden";
        } else if (e.ereignis == "tonanfang") {
            laufend->toene.emplace_back(e.us, -1);
        } else if (e.ereignis == "tonende") {
            EXPECT_FALSE(laufend->toene.empty());
            if (!laufend->toene.empty()) laufend->toene.back().second = e.us;
        } else if (e.ereignis == "quittung") {
            laufend->quittungen.push_back(e.us);
        } else if (e.ereignis == "tonfehler") {
            laufend->tonfehler.push_back(e.us);
        } else if (e.ereignis == "ergebnis") {
            laufend->ergebnis = e.wert;
            laufend = nullptr;
        }
    }
    return lauf;
}

// The levels of both lines when `getastet` (0 = none, 1 = DTR, 2 = RTS) is keyed.
std::string pegel(int getastet, bool umkehr) {
    auto hoch = [&](bool an) { return an != umkehr ? '1' : '0'; };
    return {hoch(getastet == 1), hoch(getastet == 2)};
}

std::string pegel(const Eintrag& e) { return {e.dtr ? '1' : '0', e.rts ? '1' : '0'}; }

// Exactly one key-up of the send's line and one key-down, the other line at
// rest throughout. Returns the times of key-up and key-down.
std::pair<std::int64_t, std::int64_t> tastungPruefen(const Sendevorgang& s, bool umkehr) {
    EXPECT_EQ(s.leitungen.size(), 2u) << "the line stays keyed throughout";
    if (s.leitungen.size() != 2) return {0, 0};
    EXPECT_EQ(pegel(s.leitungen[0]), pegel(s.leitung, umkehr)) << "key-up of line " << s.leitung;
    EXPECT_EQ(pegel(s.leitungen[1]), pegel(0, umkehr)) << "key-down of line " << s.leitung;
    return {s.leitungen[0].us, s.leitungen[1].us};
}

TEST(StatusTastung, UnacknowledgedDtrStaysKeyedThroughBothTelegramsAndWaits) {
    const Lauf lauf = probeLaufen("0", "spielt", {"1", "2q"});
    ASSERT_EQ(lauf.exitcode, 0);
    ASSERT_TRUE(lauf.fertig);
    ASSERT_FALSE(lauf.beimOeffnen.empty());
    EXPECT_EQ(pegel(lauf.beimOeffnen.back()), "00") << "both lines at rest after opening";
    EXPECT_TRUE(lauf.sonst.empty()) << "no line moves between sends";
    ASSERT_EQ(lauf.sendungen.size(), 2u);

    // DTR, no answer: the telegram, a window, the repeat, a window, key-down.
    const Sendevorgang& dtr = lauf.sendungen[0];
    const auto [ein, aus] = tastungPruefen(dtr, false);
    ASSERT_EQ(dtr.toene.size(), 2u);
    EXPECT_EQ(dtr.ergebnis, 0);
    EXPECT_GE(dtr.toene[0].first - ein, kVorlaufUs) << "lead time between key-up and the telegram";
    EXPECT_GE(dtr.toene[0].second, dtr.toene[0].first);
    EXPECT_GE(dtr.toene[1].first - dtr.toene[0].second, kQuittungsfensterUs) << "waited for an answer before repeating";
    EXPECT_GE(dtr.toene[1].second, dtr.toene[1].first);
    EXPECT_GE(aus - dtr.toene[1].second, kQuittungsfensterUs) << "waited for an answer to the repeat before key-down";

    // RTS, answered: one telegram, key-down once the answer is in.
    const Sendevorgang& rts = lauf.sendungen[1];
    const auto [rtsEin, rtsAus] = tastungPruefen(rts, false);
    ASSERT_EQ(rts.toene.size(), 1u);
    ASSERT_EQ(rts.quittungen.size(), 1u);
    EXPECT_EQ(rts.ergebnis, 1);
    EXPECT_GE(rts.toene[0].first - rtsEin, kVorlaufUs);
    EXPECT_GE(rts.quittungen[0], rts.toene[0].second);
    EXPECT_GE(rtsAus, rts.quittungen[0]);
}

TEST(StatusTastung, InvertedLinesRestHighFromTheStartAndKeyLow) {
    const Lauf lauf = probeLaufen("1", "spielt", {"1q", "2q"});
    ASSERT_EQ(lauf.exitcode, 0);
    ASSERT_TRUE(lauf.fertig);
    ASSERT_FALSE(lauf.beimOeffnen.empty());
    // Opening must not pass through the keyed (low) level on its way to rest.
    for (const Eintrag& e : lauf.beimOeffnen) EXPECT_EQ(pegel(e), "11");
    EXPECT_TRUE(lauf.sonst.empty());
    ASSERT_EQ(lauf.sendungen.size(), 2u);
    for (const Sendevorgang& s : lauf.sendungen) {
        SCOPED_TRACE("line " + std::to_string(s.leitung));
        const auto [ein, aus] = tastungPruefen(s, true);
        ASSERT_EQ(s.toene.size(), 1u);
        ASSERT_EQ(s.quittungen.size(), 1u);
        EXPECT_EQ(s.ergebnis, 1);
        EXPECT_GE(s.toene[0].first - ein, kVorlaufUs);
        EXPECT_GE(aus, s.quittungen[0]);
    }
}

TEST(StatusTastung, AFailingSoundOutputStillReleasesTheLine) {
    const Lauf lauf = probeLaufen("0", "defekt", {"1", "2"});
    ASSERT_EQ(lauf.exitcode, 0);
    ASSERT_TRUE(lauf.fertig);
    EXPECT_TRUE(lauf.sonst.empty());
    ASSERT_EQ(lauf.sendungen.size(), 2u);
    for (const Sendevorgang& s : lauf.sendungen) {
        SCOPED_TRACE("line " + std::to_string(s.leitung));
        const auto [ein, aus] = tastungPruefen(s, false);
        ASSERT_EQ(s.tonfehler.size(), 1u) << "nothing went on air, so nothing is repeated";
        EXPECT_GE(s.tonfehler[0], ein);
        EXPECT_GE(aus, s.tonfehler[0]) << "released after the failure";
        EXPECT_TRUE(s.toene.empty());
        EXPECT_EQ(s.ergebnis, 0);
    }
}


// A second call handled inside the first one's waits, on the same or the other
// line, at every point of the first call's dispatch where events run: each
// telegram plays with its line keyed, no line drops while a send still holds
// it, and both are at rest at the end.
struct Verschachtelung {
    int telegramme = 0;
    int tiefsteEbene = 0;
};

Verschachtelung verschachteltPruefen(const std::vector<std::string>& sendungen) {
    test::Pty pty;
    EXPECT_FALSE(pty.name.empty());
    test::TempVerzeichnis dir;
    const auto protokoll = dir / "zeitfolge.log";
    std::vector<std::string> argv{RUFPILOT_STATUSPROBE, pty.name, protokoll.string(), "0", "spielt"};
    argv.insert(argv.end(), sendungen.begin(), sendungen.end());
    EXPECT_EQ(test::unterLeitungsbeobachtung(argv, protokoll), 0);

    Verschachtelung v;
    struct Halter {
        int leitung;
        bool hoch = false;
    };
    std::vector<Halter> stapel;
    std::string zustand = "00";
    bool geprueft = false, fertig = false;
    auto hoch = [&](int leitung) { return zustand[leitung == 1 ? 0 : 1] == '1'; };
    // A line that dropped: only its last holder may let it go, so the next
    // event must be that send's end.
    std::optional<std::pair<int, std::int64_t>> abfall;
    for (const Eintrag& e : zeitfolgeLesen(protokoll)) {
        if (fertig) break;  // closing the port drops both lines
        if (e.ereignis != "leitung" && abfall) {
            const int l = abfall->first;
            const bool letzter = e.ereignis == "ergebnis" && !stapel.empty() && stapel.back().leitung == l &&
                                 std::none_of(stapel.begin(), stapel.end() - 1,
                                              [&](const Halter& h) { return h.leitung == l; });
            EXPECT_TRUE(letzter) << "line " << l << " dropped at " << abfall->second << " while a send still holds it";
            abfall.reset();
        }
        if (e.ereignis == "leitung") {
            zustand = pegel(e);
            if (!geprueft) continue;
            for (Halter& h : stapel) {
                if (hoch(h.leitung)) h.hoch = true;
                else if (h.hoch) abfall = std::make_pair(h.leitung, e.us);
            }
        } else if (e.ereignis == "portgeprueft") {
            geprueft = true;
        } else if (e.ereignis == "senden") {
            stapel.push_back({e.wert});
            v.tiefsteEbene = std::max(v.tiefsteEbene, static_cast<int>(stapel.size()));
        } else if (e.ereignis == "ergebnis") {
            EXPECT_FALSE(stapel.empty());
            if (!stapel.empty()) stapel.pop_back();
        } else if (e.ereignis == "tonanfang" || e.ereignis == "tonende") {
            EXPECT_FALSE(stapel.empty());
            if (stapel.empty()) continue;
            EXPECT_TRUE(hoch(stapel.back().leitung))
                << e.ereignis << " at " << e.us << " with line " << stapel.back().leitung << " at rest";
            if (e.ereignis == "tonende") ++v.telegramme;
        } else if (e.ereignis == "fertig") {
            fertig = true;
        }
    }
    EXPECT_TRUE(fertig);
    EXPECT_TRUE(stapel.empty());
    EXPECT_EQ(zustand, "00") << "both lines at rest at the end";
    return v;
}

// The first call unanswered (telegram, repeat), the second answered, started
// during the lead time, after the first telegram and after the repeat.
TEST(StatusTastung, ASecondCallOnTheSameLineLeavesItKeyedForTheFirst) {
    const Verschachtelung v = verschachteltPruefen({"1/1q@v", "1/1q@1", "1/1q@2"});
    EXPECT_EQ(v.telegramme, 9);
    EXPECT_EQ(v.tiefsteEbene, 2);
}

TEST(StatusTastung, ASecondCallOnTheOtherLineLeavesTheFirstKeyed) {
    const Verschachtelung v = verschachteltPruefen({"1/2q@v", "2/1q@1", "1/2q@2"});
    EXPECT_EQ(v.telegramme, 9);
    EXPECT_EQ(v.tiefsteEbene, 2);
}

}  // namespace
}  // namespace rufpilot

#endif
