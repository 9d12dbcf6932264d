#include "tonwerk/formats/poc_korrektur.h"

#include <array>
#include <bit>
#include <cstdint>

namespace tonwerk {

namespace {

constexpr std::uint32_t kGenerator = 0x769;

// Remainder of a 31-bit polynomial (x^30 in bit 30) divided by the generator:
// 0 for every codeword, so the remainder of a received word is that of its errors.
constexpr std::uint32_t syndrom(std::uint32_t bits31) {
    std::uint32_t r = bits31;
    for (int grad = 30; grad >= 10; --grad)
        if (r & (1u << grad)) r ^= kGenerator << (grad - 10);
    return r;
}

// Error pattern (31 bits) of each syndrome that one or two wrong bits give; 0 for
// the syndromes of three or more. The 31 + 465 patterns have distinct syndromes.
constexpr std::array<std::uint32_t, 1024> fehlermusterTabelle() {
    std::array<std::uint32_t, 1024> t{};
    for (int i = 0; i < 31; ++i) {
        t[syndrom(1u << i)] = 1u << i;
        for (int j = i + 1; j < 31; ++j) t[syndrom((1u << i) | (1u << j))] = (1u << i) | (1u << j);
    }
    return t;
}

constexpr std::array<std::uint32_t, 1024> kFehlermuster = fehlermusterTabelle();

constexpr int belegteSyndrome() {
    int n = 0;
    for (std::uint32_t m : kFehlermuster) n += m != 0;
    return n;
}
static_assert(belegteSyndrome() == 31 + 465, "BCH(31,21): every one- and two-bit error has its own syndrome");

}  // namespace

PocPruefung PocKorrigieren(PocCodewort empfangen) {
    const std::uint32_t bits31 = empfangen >> 1;
    const bool paritaetFalsch = (std::popcount(empfangen) & 1) != 0;
    const std::uint32_t s = syndrom(bits31);
    if (s == 0) {
        if (!paritaetFalsch) return {empfangen, 0};
        return {empfangen ^ 1u, 1};  // the parity bit alone
    }
    const std::uint32_t muster = kFehlermuster[s];
    if (muster == 0) return {empfangen, kPocNichtKorrigierbar};
    const int imCode = std::popcount(muster);
    // Flipping the found bits must leave an even number of ones; if not, the
    // parity bit is wrong as well (one more error) or a third bit is.
    const bool paritaetDanach = paritaetFalsch != ((imCode & 1) != 0);
    if (!paritaetDanach) return {empfangen ^ (muster << 1), imCode};
    if (imCode == 1) return {(empfangen ^ (muster << 1)) ^ 1u, 2};
    return {empfangen, kPocNichtKorrigierbar};
}

}  // namespace tonwerk
