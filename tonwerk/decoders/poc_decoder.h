// POCSAG decoder: pager messages at 512 or 1200 bit/s from the runs of the
// receiver's discriminator audio, one state machine per channel.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwelle.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/core/records.h"
#include "tonwerk/formats/poc_codewort.h"
#include "tonwerk/formats/poc_korrektur.h"

namespace tonwerk {

class PocDecoder {
public:
    using Melder = std::function<void(POCType&)>;

    // Message bits kept per message: 512 message codewords (1462 characters),
    // over five times the longest message the control sends itself.
    static constexpr std::size_t kMaxNachrichtenBits = 512 * 20;
    // A run holding more bits than two codewords cannot come from a transmission
    // whose codewords carry check bits; it is the carrier gone.
    static constexpr long kMaxLaufBits = 64;
    // Runs shorter than half a bit are glitches; more of them than this within one
    // codeword are noise: the transmission has ended.
    static constexpr int kMaxKurzeLaeufe = 8;
    // Messages held back until their codewords' alignment is confirmed: one batch
    // holds at most 16 addresses.
    static constexpr std::size_t kMaxZurueckgestellt = 16;

    explicit PocDecoder(Melder melden);

    // Processes the runs of one buffer of channel `kanal` (0 or 1) in order.
    void laufPruefung(Integer kanal, Laeufe laeufe, const Einstellungen& einstellungen,
                      const Ratenkonstanten& konstanten);
    // The channel's input has stopped changing sign: the carrier is gone, a
    // pending message is reported.
    void signalEnde(Integer kanal);

    // The longest run (samples) sliced into bits rather than taken as the end of
    // a transmission, at `abtastrate` and `baud` (512 or 1200).
    static std::int32_t laengsterLauf(Long abtastrate, Long baud);

private:
    struct Kanalzustand {
        bool synchron = false;
        Long praambelZaehler = 0;
        int startPegel = 0;  // level of the zeros
        PocCodewort wort = 0;
        int bitZaehler = 0;
        int codewortZaehler = 0;  // 0 = synchronisation codeword, 1..16 = frames 0..7
        Long ric = 0;
        Long funktion = 0;
        std::string nachrichtBits;
        long offenerLauf = 0;  // samples of buffers without a run end
        int kurzeLaeufe = 0;   // runs of no whole bit in the current codeword
        std::uint32_t letztesBit = 0;  // of the last run sliced
        Long korrigiert = 0;   // codewords of the pending message with corrected bits
        Long fehlerhaft = 0;   // its message codewords beyond correction
        // Error control: messages ended but not yet reported (see wortPruefung).
        struct Zurueckgestellt {
            Long ric = 0;
            Long funktion = 0;
            Long korrigiert = 0;
            Long fehlerhaft = 0;
            std::string bits;
        };
        std::array<Zurueckgestellt, kMaxZurueckgestellt> zurueck;
        std::size_t anzahlZurueck = 0;
        bool korrekturAktiv = false;  // PocFehlerkorrektur at the last buffer
        int schlupf = 0;  // bits the synchronisation codeword just read was short (+) or long (-)
    };

    struct Schnitt {
        Long abtastrate;
        Long baud;
        PocCodewort sync;
        PocCodewort idle;
        bool korrektur;  // PocFehlerkorrektur
        // The synchronisation and idle codewords turned by one and two bits either
        // way: what correction makes of them when the bit count has slipped.
        std::array<PocCodewort, 8> verschoben;
    };

    static long bitsImLauf(long laenge, const Schnitt& schnitt);
    void schneiden(Integer kanal, Kanalzustand& k, std::uint32_t bit, long n, const Schnitt& schnitt);
    void wortPruefung(Integer kanal, Kanalzustand& k, const Schnitt& schnitt);
    // A run ending reception in the batch's last codeword: its level completes
    // that codeword, which is read when it checks as a message codeword.
    void letztesWortVollenden(Integer kanal, Kanalzustand& k, std::uint32_t bit, const Schnitt& schnitt);
    static bool istSync(PocCodewort wort, const Schnitt& schnitt);
    // 1 when `wort` is `sync` with one bit lost inside it (its last bit is then
    // the next codeword's first), -1 with one bit gained, each with at most two
    // other wrong bits; 0 otherwise.
    static int schlupfImSync(PocCodewort wort, PocCodewort sync);
    static bool verrutscht(PocCodewort empfangen, const PocPruefung& p, const Schnitt& schnitt);
    static void adresseLesen(Kanalzustand& k, const Schnitt& schnitt);
    void nachrichtAusgeben(Integer kanal, const Kanalzustand& k);
    void melden(Integer kanal, Long ric, Long funktion, const std::string& bits, Long korrigiert, Long fehlerhaft);
    void zurueckstellen(Integer kanal, Kanalzustand& k);
    void bestaetigen(Integer kanal, Kanalzustand& k);
    // Ends reception; `melden` false drops what is pending (the bit count slipped).
    void zuruecksetzen(Integer kanal, Kanalzustand& k, bool meldenOk = true);

    Melder melden_;
    Schnitt schnitt_{};  // of the last buffer, for signalEnde

    std::array<Kanalzustand, 2> kanaele_;
    POCType meldung_;
};

}  // namespace tonwerk
