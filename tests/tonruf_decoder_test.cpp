#include "tonwerk/decoders/tonruf_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/aufnahmen.h"
#include "tests/tonfolge_audio.h"

namespace tonwerk {
namespace {

using namespace testaudio;

struct Ruf {
    Integer kanal;
    Long nr;
    bool operator==(const Ruf&) const = default;
};

void PrintTo(const Ruf& r, std::ostream* os) { *os << r.kanal << ':' << r.nr; }

struct Empfang {
    std::vector<Ruf> rufe;
    TonrufDecoder decoder{[this](TonrufType& t) { rufe.push_back({t.Kanal, t.tonruf}); }};
};

// A tone between a short pause and a little noise that ends it.
Signal ton(int rate, double hz, double sekunden) {
    Signal s;
    s.rate = rate;
    s.stille(0.2).ton(hz, sekunden).stille(0.05).rauschpause(0.2, 0.1, 5);
    return s;
}

std::vector<Ruf> dekodieren(const Signal& s, bool beideKanaele = false, Einstellungen e = {}) {
    e.Abtastrate = s.rate;
    Empfang empf;
    einspeisen(empf.decoder, stereo(s.x, beideKanaele ? s.x : std::vector<double>{}), e, konstantenFuer(e));
    return empf.rufe;
}

TEST(TonrufNummer, LengthLimitsPerKind) {
    EXPECT_FALSE(TonrufNummer(1, 524));
    EXPECT_EQ(TonrufNummer(1, 525), 0);
    EXPECT_EQ(TonrufNummer(1, 3500), 0);
    EXPECT_EQ(TonrufNummer(1, 3501), 1);
    EXPECT_EQ(TonrufNummer(1, 8750), 1);
    EXPECT_FALSE(TonrufNummer(1, 8751));
    EXPECT_FALSE(TonrufNummer(2, 639));
    EXPECT_EQ(TonrufNummer(2, 640), 2);
    EXPECT_EQ(TonrufNummer(2, 4270), 2);
    EXPECT_EQ(TonrufNummer(2, 4271), 3);
    EXPECT_EQ(TonrufNummer(2, 10674), 3);
    EXPECT_FALSE(TonrufNummer(2, 10675));
    EXPECT_FALSE(TonrufNummer(0, 1000));
}

TEST(TonrufDecoderAudio, ShortAndLongCallsAtEveryRate) {
    for (int rate : {11025, 22050, 44100}) {
        SCOPED_TRACE(rate);
        EXPECT_EQ(dekodieren(ton(rate, 1750, 1.0)), (std::vector<Ruf>{{0, 0}}));
        EXPECT_EQ(dekodieren(ton(rate, 1750, 4.0)), (std::vector<Ruf>{{0, 1}}));
        EXPECT_EQ(dekodieren(ton(rate, 2135, 1.0)), (std::vector<Ruf>{{0, 2}}));
        EXPECT_EQ(dekodieren(ton(rate, 2135, 4.0)), (std::vector<Ruf>{{0, 3}}));
    }
}

TEST(TonrufDecoderAudio, TonesOutsideLengthOrFrequencyGiveNothing) {
    EXPECT_TRUE(dekodieren(ton(11025, 1750, 0.25)).empty());
    EXPECT_TRUE(dekodieren(ton(11025, 1750, 5.5)).empty());
    EXPECT_TRUE(dekodieren(ton(11025, 2135, 5.2)).empty());
    EXPECT_TRUE(dekodieren(ton(11025, 1900, 1.0)).empty());
    EXPECT_TRUE(dekodieren(ton(22050, 1000, 1.0)).empty());
}

TEST(TonrufDecoderAudio, LeftChannelIsReportedBeforeRight) {
    EXPECT_EQ(dekodieren(ton(22050, 2135, 1.0), true), (std::vector<Ruf>{{0, 2}, {1, 2}}));
}

TEST(TonrufDecoderAudio, ReportWaitsForTheNextLevelZeroRun) {
    // After the tone the input stays exactly at mid-scale: the tone's end is not seen
    // until the next run at level 0 has ended.
    Einstellungen e;
    Empfang empf;
    const Ratenkonstanten k = konstantenFuer(e);
    Einspeiser<TonrufDecoder> ein(empf.decoder, e, k);
    Signal s;
    s.stille(0.1).ton(1750, 1.0).stille(2.0);
    ein.zufuehren(stereo(s.x, {}));
    EXPECT_TRUE(empf.rufe.empty());
    Signal rauschen;
    rauschen.stille(0.3).rauschen(0.1, 9);
    ein.zufuehren(stereo(rauschen.x, {}));
    EXPECT_EQ(empf.rufe, (std::vector<Ruf>{{0, 0}}));
}

// Integer periods: 2135 Hz as periods of 5 (40 sum to 200), 1750 Hz as 6, 6, 7, ...
// (40 sum to 253), at 11025 Hz. `ende` is the period that ends the tone.
std::vector<Ruf> perioden(int art, int anzahl, int ende = 30) {
    std::vector<Halbwelle> l;
    const auto periode = [&](int p) {
        l.push_back({static_cast<std::int16_t>(p / 2), 128});
        l.push_back({static_cast<std::int16_t>(p - p / 2), 0});
    };
    for (int i = 0; i < anzahl; ++i) periode(art == 2 ? 5 : (i % 3 == 2 ? 7 : 6));
    periode(ende);
    Einstellungen e;
    Empfang empf;
    const Ratenkonstanten k = konstantenFuer(e);
    // In slices, as buffers would deliver them.
    for (std::size_t ab = 0; ab < l.size(); ab += 1000) {
        empf.decoder.laufPruefung(0, Laeufe(l).subspan(ab, std::min<std::size_t>(1000, l.size() - ab)), e, k);
    }
    return empf.rufe;
}

TEST(TonrufDecoderRuns, LengthsCountedInPeriods) {
    EXPECT_TRUE(perioden(1, 524).empty());
    EXPECT_EQ(perioden(1, 525), (std::vector<Ruf>{{0, 0}}));
    EXPECT_EQ(perioden(1, 3500), (std::vector<Ruf>{{0, 0}}));
    EXPECT_EQ(perioden(1, 3501), (std::vector<Ruf>{{0, 1}}));
    EXPECT_EQ(perioden(1, 8750), (std::vector<Ruf>{{0, 1}}));
    EXPECT_TRUE(perioden(1, 8751).empty());
    EXPECT_EQ(perioden(2, 10674), (std::vector<Ruf>{{0, 3}}));
    // Timing stops at 10675 periods; the rest of the tone then starts a new
    // measurement that is too short to count.
    EXPECT_TRUE(perioden(2, 10675).empty());
    EXPECT_TRUE(perioden(2, 10675 + 600).empty());
    // ...or long enough to be a call of its own.
    EXPECT_EQ(perioden(2, 10675 + 700), (std::vector<Ruf>{{0, 2}}));
}

TEST(TonrufDecoderRuns, TheEndingPeriodDoesNotStartANewTone) {
    // A period of 4 ends a tone of fives; it lies in the start window but is consumed.
    EXPECT_EQ(perioden(2, 1000, 7), (std::vector<Ruf>{{0, 2}}));
}

TEST(TonrufDecoderSettings, ToleranceAndChannelNumbers) {
    Empfang empf;
    Einstellungen e;
    const Ratenkonstanten k = konstantenFuer(e);
    Signal s = ton(11025, 1750, 1.0);
    // A negative tolerance accepts no period: never a call.
    e.ZVEIDiffMax = -1;
    einspeisen(empf.decoder, stereo(s.x, s.x), e, k);
    EXPECT_TRUE(empf.rufe.empty());
    std::vector<Halbwelle> l(100, Halbwelle{3, 0});
    empf.decoder.laufPruefung(2, Laeufe(l), e, k);
    empf.decoder.laufPruefung(-1, Laeufe(l), e, k);
    EXPECT_TRUE(empf.rufe.empty());
}

TEST(TonrufDecoderFiles, RecordingFromAnIndependentGenerator) {
    const test::WavAufnahme a = test::aufnahme("tonruf_22050_snr40");
    ASSERT_EQ(a.rate, 22050);
    std::vector<Ruf> erwartet;
    for (const auto& ev : test::erwarteteEreignisse("tonruf_22050_snr40", "TONRUF"))
        erwartet.push_back({ev.at("Kanal").get<Integer>(), ev.at("tonruf").get<Long>()});
    ASSERT_EQ(erwartet.size(), 8u);
    Einstellungen e = einstellungenFuer(a.rate);
    Empfang empf;
    einspeisen(empf.decoder, a.rahmen, e, konstantenFuer(e));
    EXPECT_EQ(empf.rufe, erwartet);
}

}  // namespace
}  // namespace tonwerk
