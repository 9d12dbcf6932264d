#include "tonwerk/formats/poc_codewort.h"

#include <bit>

namespace tonwerk {

namespace {

constexpr std::uint32_t kGenerator = 0x769;

// Remainder of a 31-bit polynomial (x^30 in bit 30) divided by the generator.
std::uint32_t bchRest(std::uint32_t bits31) {
    std::uint32_t r = bits31;
    for (int grad = 30; grad >= 10; --grad) {
        if (r & (1u << grad)) r ^= kGenerator << (grad - 10);
    }
    return r;
}

PocCodewort vervollstaendigen(std::uint32_t info21) {
    const std::uint32_t bits31 = (info21 << 10) | PocBch(info21);
    return (bits31 << 1) | PocParitaet(bits31);
}

}  // namespace

std::uint32_t PocBch(std::uint32_t info21) { return bchRest((info21 & 0x1FFFFFu) << 10); }

std::uint32_t PocParitaet(std::uint32_t bits31) {
    return static_cast<std::uint32_t>(std::popcount(bits31 & 0x7FFFFFFFu)) & 1u;
}

PocCodewort PocAdresswort(Long ric, Long funktion) {
    const std::uint32_t adresse = (static_cast<std::uint32_t>(ric) >> 3) & 0x3FFFFu;
    const std::uint32_t bits = (funktion >= 1 && funktion <= 3) ? static_cast<std::uint32_t>(funktion) : 0u;
    return vervollstaendigen((adresse << 2) | bits);
}

PocCodewort PocNachrichtenwort(std::uint32_t bits20) {
    return vervollstaendigen((1u << 20) | (bits20 & 0xFFFFFu));
}

std::string PocWortAlsBits(PocCodewort wort) {
    std::string bits(32, '0');
    for (int i = 0; i < 32; ++i) {
        if (wort & (1u << (31 - i))) bits[static_cast<std::size_t>(i)] = '1';
    }
    return bits;
}

std::optional<PocCodewort> PocWortAusBits(std::string_view bits) {
    if (bits.size() != 32) return std::nullopt;
    PocCodewort wort = 0;
    for (char c : bits) {
        if (c != '0' && c != '1') return std::nullopt;
        wort = (wort << 1) | static_cast<PocCodewort>(c == '1');
    }
    return wort;
}

}  // namespace tonwerk
