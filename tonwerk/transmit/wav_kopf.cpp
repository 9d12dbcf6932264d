#include "tonwerk/transmit/wav_kopf.h"

#include <cstring>

namespace tonwerk {

namespace {

void le32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void le16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

std::array<std::uint8_t, kWavKopfGroesse> WavKopf(std::uint32_t datenBytes, std::uint16_t kanaele,
                                                  std::uint32_t abtastrate, std::uint16_t bitsJeProbe) {
    std::array<std::uint8_t, kWavKopfGroesse> k{};
    const auto blockAusrichtung = static_cast<std::uint16_t>(kanaele * ((bitsJeProbe + 7) / 8));
    std::memcpy(&k[0], "RIFF", 4);
    le32(&k[4], datenBytes + 36);
    std::memcpy(&k[8], "WAVE", 4);
    std::memcpy(&k[12], "fmt ", 4);
    le32(&k[16], 16);
    le16(&k[20], 1);
    le16(&k[22], kanaele);
    le32(&k[24], abtastrate);
    le32(&k[28], abtastrate * blockAusrichtung);
    le16(&k[32], blockAusrichtung);
    le16(&k[34], bitsJeProbe);
    std::memcpy(&k[36], "data", 4);
    le32(&k[40], datenBytes);
    return k;
}

}  // namespace tonwerk
