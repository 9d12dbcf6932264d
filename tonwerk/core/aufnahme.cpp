#include "tonwerk/core/aufnahme.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <limits>
#include <stdexcept>

#include "tonwerk/transmit/wav_kopf.h"

namespace tonwerk {
namespace {

// The header's lengths are 32-bit: audio beyond that would make them lie.
constexpr std::uint64_t kMaxDatenBytes = std::numeric_limits<std::uint32_t>::max() - 36;

// 8-bit stereo at the capture rate.
std::array<std::uint8_t, kWavKopfGroesse> aufnahmeKopf(std::uint64_t daten, Long rate) {
    return WavKopf(static_cast<std::uint32_t>(daten), 2, static_cast<std::uint32_t>(rate), 8);
}

// Write errors are not reported to anyone: the header states what was meant.
void allesSchreiben(int fd, const std::uint8_t* daten, std::size_t bytes) {
    while (bytes > 0) {
        ssize_t n = ::write(fd, daten, bytes);
        if (n <= 0) return;
        daten += n;
        bytes -= static_cast<std::size_t>(n);
    }
}

}  // namespace

Aufnahme::Aufnahme(const Einstellungen& einstellungen, std::function<void()> zeitAbgelaufen)
    : e_(einstellungen), zeitAbgelaufen_(std::move(zeitAbgelaufen)) {}

Aufnahme::~Aufnahme() { beenden(); }

Long Aufnahme::FunkAufzeichnen(Long ZeitLaenge, const std::string& DateiName) {
    if (ZeitLaenge == 0) return 2;
    if (ZeitLaenge < std::numeric_limits<Integer>::min() || ZeitLaenge > std::numeric_limits<Integer>::max())
        throw std::overflow_error("FunkAufzeichnen: Überlauf");
    if (aktiv_) {
        sekunden_ = 0;
        dauer_ = static_cast<Integer>(ZeitLaenge);
        return 1;
    }
    dauer_ = static_cast<Integer>(ZeitLaenge);
    name_ = DateiName;
    datei_ = ::open(DateiName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (datei_ < 0) {
        aktiv_ = false;
        return 0;
    }
    // The header's place is taken now, with the lengths of an empty recording.
    auto kopf = aufnahmeKopf(0, e_.Abtastrate);
    allesSchreiben(datei_, kopf.data(), kopf.size());
    aktiv_ = true;
    bloecke_ = 0;
    datenBytes_ = 0;
    sekunden_ = 0;
    return 0;
}

void Aufnahme::blockSchreiben(const std::uint8_t* daten, std::size_t bytes) {
    if (!aktiv_ || datenBytes_ + bytes > kMaxDatenBytes) return;
    allesSchreiben(datei_, daten, bytes);
    datenBytes_ += bytes;
    ++bloecke_;
}

void Aufnahme::sekunde() {
    if (!aktiv_) return;
    ++sekunden_;
    if (sekunden_ >= dauer_) {
        Aufnahmeschluss();
        zeitAbgelaufen_();
        return;
    }
    laengenSchreiben();
}

void Aufnahme::laengenSchreiben() {
    // Only the RIFF size (offset 4) and the data size (offset 40) change.
    const auto kopf = aufnahmeKopf(datenBytes_, e_.Abtastrate);
    for (const off_t stelle : {off_t{4}, off_t{40}}) {
        if (::pwrite(datei_, kopf.data() + stelle, 4, stelle) < 0) {
            // Ignored like every write error of the recording.
        }
    }
}

void Aufnahme::beenden() {
    if (aktiv_) Aufnahmeschluss();
}

void Aufnahme::Aufnahmeschluss() {
    aktiv_ = false;
    auto kopf = aufnahmeKopf(datenBytes_, e_.Abtastrate);
    // Written through the handle still open rather than by reopening the name,
    // so a file renamed meanwhile still gets its header.
    if (::pwrite(datei_, kopf.data(), kopf.size(), 0) < 0) {
        // Ignored like every write error of the recording.
    }
    ::close(datei_);
    datei_ = -1;
}

}  // namespace tonwerk
