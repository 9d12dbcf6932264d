#include "rufpilot/simulation/simulierte_zeit.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace rufpilot {

void SimulierteZeit::Timer::aktivieren(int intervallMs, std::function<void()> tick) {
    intervall_ = std::max(intervallMs, 1);
    tick_ = std::move(tick);
    faellig_ = zeit_.monotonMs() + intervall_;
    aktiv_ = true;
}

void SimulierteZeit::ereignisseVerarbeiten() {
    // Earliest due first; each timer at most once per call, and missed ticks
    // are lost, as with a window timer that fires late.
    std::vector<Timer*> faellige;
    for (Timer& t : timer_)
        if (t.aktiv_ && t.faellig_ <= jetzt_) faellige.push_back(&t);
    std::stable_sort(faellige.begin(), faellige.end(),
                     [](const Timer* a, const Timer* b) { return a->faellig_ < b->faellig_; });
    for (Timer* t : faellige) {
        if (!t->aktiv_ || t->faellig_ > jetzt_) continue;  // a nested call ran it already
        t->faellig_ += t->intervall_;
        if (t->faellig_ <= jetzt_) t->faellig_ = jetzt_ + t->intervall_;
        if (t->tick_) t->tick_();
    }
}

void SimulierteZeit::vorruecken(std::int64_t ms) {
    if (ms <= 0) return;
    jetzt_ += ms;
    for (auto& f : beobachter_) f(jetzt_);
}

void SimulierteZeit::laufen(std::int64_t ms) {
    const std::int64_t ende = jetzt_ + ms;
    while (true) {
        std::int64_t naechster = std::numeric_limits<std::int64_t>::max();
        for (const Timer& t : timer_)
            if (t.aktiv_) naechster = std::min(naechster, t.faellig_);
        if (naechster > ende) break;
        vorruecken(naechster - jetzt_);
        ereignisseVerarbeiten();
    }
    vorruecken(ende - jetzt_);
}

Ortszeit SimulierteZeit::jetzt() const {
    using namespace std::chrono;
    const sys_days tag0 = year_month_day{year{start_.jahr}, month{static_cast<unsigned>(start_.monat)},
                                         day{static_cast<unsigned>(start_.tag)}};
    const milliseconds seitTag0 =
        hours{start_.stunde} + minutes{start_.minute} + seconds{start_.sekunde} + milliseconds{start_.millisekunde + jetzt_};
    const sys_time<milliseconds> t = tag0 + seitTag0;
    const sys_days tag = floor<days>(t);
    const year_month_day ymd{tag};
    const hh_mm_ss<milliseconds> uhr{t - tag};
    return Ortszeit{int(ymd.year()),
                    static_cast<int>(unsigned(ymd.month())),
                    static_cast<int>(unsigned(ymd.day())),
                    static_cast<int>(uhr.hours().count()),
                    static_cast<int>(uhr.minutes().count()),
                    static_cast<int>(uhr.seconds().count()),
                    static_cast<int>(uhr.subseconds().count())};
}

}  // namespace rufpilot
