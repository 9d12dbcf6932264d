// The additional signals of a five-tone call (ZusatzTon 1 to 6), made here with
// exact tones rather than by the control's transmitter: each is reported once,
// on its channel, at every rate down to 6 dB in both reception paths, and
// nothing else (FMS, ZVEI with its 2600 Hz repeat tone, POCSAG, tone calls,
// noise, a steady 2600 Hz tone) ever raises one.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "fms_hilfen.h"
#include "empfangssignale.h"
#include "test_plattform.h"
#include "tonfolge_audio.h"
#include "tonwerk/decoders/zusatzton_decoder.h"

namespace tonwerk {
namespace {

using testaudio::Signal;

test::Mitschrift hoeren(const std::vector<double>& x, int rate, Integer kanal, bool filter) {
    test::TestKontrolle k;
    k.fw.Samplerates(rate == 22050 ? 1 : rate == 44100 ? 2 : 0);
    k.fw.Empfangsfilter(filter ? Wahr : Falsch);
    EXPECT_EQ(k.fw.SoundStart(), 0);
    k.einspeisen(kanal == 0 ? test::stereo(x, {}) : test::stereo({}, x));
    return k.ereignisse;
}

TEST(ZusatztonDecoder, EverySignalAtEveryRateOnceDownTo6Db) {
    for (int nummer = 1; nummer <= 6; ++nummer) {
        for (int rate : {11025, 22050, 44100}) {
            for (double snr : {20.0, 6.0}) {
                double leistung = 0;
                std::vector<double> x = test::zusatztonSignal(nummer, rate, leistung);
                if (snr > 10) {
                    // Cut after 2.6 s (the report comes by then), to keep the suite fast;
                    // at 6 dB the whole signal, reported once.
                    x.resize(static_cast<std::size_t>(3.2 * rate));
                    x.resize(x.size() + static_cast<std::size_t>(rate / 4), 0.0);
                }
                test::mitRauschen(x, leistung, snr, static_cast<unsigned>(nummer * 7 + rate));
                const auto kanal = static_cast<Integer>(nummer % 2);
                // The decoder reads the samples alike in both paths; the raw one is
                // checked at the lower SNR at one rate.
                for (bool filter : {true, false}) {
                    if (!filter && (snr > 10 || rate != 22050)) continue;
                    SCOPED_TRACE("Zusatzton " + std::to_string(nummer) + ", " + std::to_string(rate) + " Hz, " +
                                 std::to_string(snr) + " dB, Filter " + (filter ? "an" : "aus"));
                    const test::Mitschrift m = hoeren(x, rate, kanal, filter);
                    ASSERT_EQ(m.zusatzton.size(), 1u);
                    EXPECT_EQ(m.zusatzton[0].Kanal, kanal);
                    EXPECT_EQ(m.zusatzton[0].Zusatzton, nummer);
                    EXPECT_TRUE(m.fms.empty() && m.poc.empty()) << m.fms.size() << " FMS, " << m.poc.size() << " POCSAG";
                }
            }
        }
    }
}

TEST(ZusatztonDecoder, IsReportedAfterTwoSecondsOfATwoToneSignalAndAtTheSecondWakeUpBurst) {
    // Cut short, a signal is not reported: 1.8 s of two tones, one burst of
    // 2600 Hz; 2.2 s and the first 0.6 s of a second burst are.
    struct Fall {
        int nummer;
        double sekunden;
        bool gemeldet;
    };
    for (const Fall& f : {Fall{4, 1.8, false}, Fall{4, 2.2, true}, Fall{1, 1.0, false}, Fall{1, 1.6, true}}) {
        SCOPED_TRACE(std::to_string(f.nummer) + " " + std::to_string(f.sekunden));
        double leistung = 0;
        std::vector<double> x = test::zusatztonSignal(f.nummer, 11025, leistung);
        x.resize(static_cast<std::size_t>((0.6 + f.sekunden) * 11025));
        x.resize(x.size() + 11025, 0.0);
        EXPECT_EQ(hoeren(x, 11025, 0, true).zusatzton.size(), f.gemeldet ? 1u : 0u);
    }
}

TEST(ZusatztonDecoder, SwitchesAndQuietInput) {
    double leistung = 0;
    const std::vector<double> x = test::zusatztonSignal(3, 22050, leistung);
    test::TestKontrolle k;
    k.fw.Samplerates(1);
    EXPECT_EQ(k.fw.DecLinksZusatzton(), Wahr);
    EXPECT_EQ(std::get<Long>(k.fw.lesen("DecRechtsZusatzton")), Wahr);
    k.fw.schreiben("DecLinksZusatzton", Wert{Long{0}});
    ASSERT_EQ(k.fw.SoundStart(), 0);
    k.einspeisen(test::stereo(x, x), false);
    ASSERT_EQ(k.ereignisse.zusatzton.size(), 1u);
    EXPECT_EQ(k.ereignisse.zusatzton[0].Kanal, 1);

    // 50 dB below full scale the 8-bit samples hold little more than the sign.
    std::vector<double> leise(x);
    for (double& v : leise) v *= std::pow(10.0, -44.0 / 20);
    EXPECT_EQ(hoeren(leise, 22050, 0, false).zusatzton.size(), 1u);
    EXPECT_EQ(hoeren(leise, 22050, 0, true).zusatzton.size(), 1u);
}

// Feeds 8-bit mono audio straight to a decoder on the left channel.
std::size_t meldungen(const std::vector<std::uint8_t>& mono, int rate) {
    std::size_t n = 0;
    ZusatztonDecoder d([&n](ZusatztonType&) { ++n; });
    const auto s = test::stereo(mono, {});
    constexpr std::size_t kPuffer = 2 * 5000;
    for (std::size_t i = 0; i < s.size(); i += kPuffer) {
        const auto bytes = std::min(kPuffer, s.size() - i);
        d.pufferPruefung(0, s.data() + i, static_cast<int>(bytes / 2), rate);
    }
    return n;
}

std::vector<std::uint8_t> bytes(const std::vector<double>& x) {
    std::vector<std::uint8_t> b(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) b[i] = test::alsByte(x[i]);
    return b;
}

TEST(ZusatztonDecoder, NeverFromOtherSignalsOrNoise) {
    const int rate = 11025;
    struct Fall {
        std::string name;
        std::vector<std::uint8_t> audio;
    };
    std::vector<Fall> faelle;
    // ZVEI calls whose repeat tone is 2600 Hz, back to back for 4 s.
    {
        Signal s;
        for (int i = 0; i < 8; ++i)
            for (double f : {1060.0, 2600.0, 1060.0, 2600.0, 1060.0}) s.ton(f, 0.07);
        faelle.push_back({"ZVEI 1W1W1", bytes(s.x)});
    }
    {
        Signal s;
        s.ton(2600, 5.0);
        faelle.push_back({"2600 Hz 5 s", bytes(s.x)});
    }
    {
        Signal s;
        s.ton(1750, 4.0).stille(0.5).ton(2135, 4.0).stille(0.5).ton(675, 3.0);
        faelle.push_back({"Tonrufe, 675 Hz allein", bytes(s.x)});
    }
    {
        std::string bits;
        for (int i = 0; i < 40; ++i) bits += "1111111111110001101101010101100101" + std::string(14, i % 2 ? '0' : '1');
        faelle.push_back({"FMS", test::ffskAudio(bits)});
    }
    for (Long baud : {512, 1200}) {
        std::string bits;
        for (int i = 0; i < 6; ++i) bits += test::pocNachricht(1234567 + i, 3, "Einsatz Brand Wohnung Keller 2. OG");
        test::NrzParameter p;
        p.baud = baud;
        p.rauschen = 10;
        faelle.push_back({"POCSAG " + std::to_string(baud), test::nrzAudio(bits, p)});
    }
    faelle.push_back({"Rauschen", test::rauschen(static_cast<std::size_t>(60 * rate), 40, 5)});
    for (const Fall& f : faelle) EXPECT_EQ(meldungen(f.audio, rate), 0u) << f.name;
}

}  // namespace
}  // namespace tonwerk
