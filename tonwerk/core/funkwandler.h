// Funkwandler: the control. It holds the settings, wires the capture and the
// decoders to the host's listener, and hands send requests to the transmitters.
// Everything runs on the host's thread: the host's event loop drives Timer1
// (60 ms, capture) and Timer2 (1000 ms, recording seconds) through `Zeitgeber`.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "tonwerk/core/aufnahme.h"
#include "tonwerk/core/blockverteiler.h"
#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/funk_tastung.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/core/records.h"
#include "tonwerk/core/wert.h"
#include "tonwerk/decoders/fms_decoder.h"
#include "tonwerk/decoders/poc_decoder.h"
#include "tonwerk/decoders/tonruf_decoder.h"
#include "tonwerk/decoders/zusatzton_decoder.h"
#include "tonwerk/decoders/zvei_decoder.h"
#include "tonwerk/platform/serieller_anschluss.h"
#include "tonwerk/platform/sound_ausgabe.h"
#include "tonwerk/platform/sound_eingang.h"
#include "tonwerk/platform/zeitgeber.h"
#include "tonwerk/transmit/tongenerator.h"

namespace tonwerk {

class Empfangsfilter;

// The platform pieces a control uses; the host owns them and keeps them alive
// as long as the control.
struct Plattform {
    SoundEingang& eingang;
    SoundAusgabe& ausgabe;
    SeriellerAnschluss& anschluss;
    Zeitgeber& timer1;
    Zeitgeber& timer2;
    Uhr& uhr;
};

class Funkwandler : private BlockEmpfaenger {
public:
    explicit Funkwandler(Plattform plattform);
    ~Funkwandler() override;
    Funkwandler(const Funkwandler&) = delete;
    Funkwandler& operator=(const Funkwandler&) = delete;

    // The host's event sink (may be null). Not owned.
    void setListener(FunkwandlerListener* listener) { listener_ = listener; }

    // --- methods ---
    Long SoundStart();
    Long Soundstop();
    Long GetSoundKartenCount();
    Long GetSoundkarteInfo(Long SCard, std::string& SName, Long& SFormat);
    Long FunkAufzeichnen(Long ZeitLaenge, const std::string& DateiName);
    Long FunkSenden(Long Leitung);
    Long FunkEmpfangen(Long Leitung);
    Long FMSSenden(const std::string& Kennung, Integer Richtung, Integer Status, Integer tki, Integer Baustufe,
                   const std::string& Text, Integer Funkkanal, Long FunkHalten);
    Long ZVEISenden(const std::string& rufnummer, Boolean DoppeltSenden, Long ZusatzTon, Integer Funkkanal,
                    Long FunkHalten);
    Long POCSenden(Long Baud, Long RIC, Long Funktion, const std::string& Text, Integer Funkkanal, Long FunkHalten);
    Long TonrufSenden(Long tonruf, Integer Funkkanal, Long FunkHalten);

    // --- properties (getter and setter share the name) ---
    Long SoundCard() const { return e_.SoundCard; }
    void SoundCard(Long v) { e_.SoundCard = v; }
    Long Samplerates() const;
    void Samplerates(Long v);
    Long RecordPufferSize() const { return e_.RecordPufferSize; }
    void RecordPufferSize(Long v) { e_.RecordPufferSize = v; }
    Long SoundStatus() const { return soundStatus_; }
    void SoundStatus(Long) {}
    Integer PocBaudRates() const { return e_.PocBaud == 1200 ? 1 : 0; }
    void PocBaudRates(Integer v);
    Integer PocPraambels() const { return e_.PocPraambels; }
    void PocPraambels(Integer v) { e_.PocPraambels = v; }
    std::string PocSyncWord() const { return e_.PocSyncWord; }
    void PocSyncWord(const std::string& v) { e_.PocSyncWord = v; }
    std::string PocIdleWord() const { return e_.PocIdleWord; }
    void PocIdleWord(const std::string& v) { e_.PocIdleWord = v; }
    Boolean FMScrcCheck() const { return e_.FMScrcCheck; }
    void FMScrcCheck(Boolean v) { e_.FMScrcCheck = v; }
    Integer FMSVorlaufMin() const { return static_cast<Integer>(e_.FMSVorlaufMin2 / 2); }
    void FMSVorlaufMin(Integer v);  // throws std::overflow_error outside -16384..16383
    Integer FMSVorlaufMax() const { return static_cast<Integer>(e_.FMSVorlaufMax2 / 2); }
    void FMSVorlaufMax(Integer v);
    Long FMSOrtLaenge() const { return e_.FMSOrtLaenge; }
    void FMSOrtLaenge(Long v) { e_.FMSOrtLaenge = v; }
    Boolean FMSKurztextTRBOS() const { return e_.FMSKurztextTRBOS; }
    void FMSKurztextTRBOS(Boolean v) { e_.FMSKurztextTRBOS = v; }
    Long ZVEI70msMin() const { return e_.ZVEI70msMin; }
    void ZVEI70msMin(Long v) { e_.ZVEI70msMin = v; }
    Long ZVEI70msMax() const { return e_.ZVEI70msMax; }
    void ZVEI70msMax(Long v) { e_.ZVEI70msMax = v; }
    Long ZVEIPrueflaenge() const { return e_.ZVEIPrueflaenge; }
    void ZVEIPrueflaenge(Long v) { e_.ZVEIPrueflaenge = v; }
    Long ZVEIFehlerMax() const { return e_.ZVEIFehlerMax; }
    void ZVEIFehlerMax(Long v) { e_.ZVEIFehlerMax = v; }
    Long ZVEIDiffMax() const { return e_.ZVEIDiffMax; }
    void ZVEIDiffMax(Long v) { e_.ZVEIDiffMax = v; }
    Integer SampleFehlerRate() const { return e_.SampleFehlerRate; }
    void SampleFehlerRate(Integer v) { e_.SampleFehlerRate = v; }
    Boolean DecLinksFMS() const { return schalter(0, DekFMS); }
    void DecLinksFMS(Boolean v) { schalter(0, DekFMS, v); }
    Boolean DecLinksZVEI() const { return schalter(0, DekZVEI); }
    void DecLinksZVEI(Boolean v) { schalter(0, DekZVEI, v); }
    Boolean DecLinksPOC() const { return schalter(0, DekPOC); }
    void DecLinksPOC(Boolean v) { schalter(0, DekPOC, v); }
    Boolean DecLinksTonruf() const { return schalter(0, DekTonruf); }
    void DecLinksTonruf(Boolean v) { schalter(0, DekTonruf, v); }
    Boolean DecRechtsFMS() const { return schalter(1, DekFMS); }
    void DecRechtsFMS(Boolean v) { schalter(1, DekFMS, v); }
    Boolean DecRechtsZVEI() const { return schalter(1, DekZVEI); }
    void DecRechtsZVEI(Boolean v) { schalter(1, DekZVEI, v); }
    Boolean DecRechtsPOC() const { return schalter(1, DekPOC); }
    void DecRechtsPOC(Boolean v) { schalter(1, DekPOC, v); }
    Boolean DecRechtsTonruf() const { return schalter(1, DekTonruf); }
    void DecRechtsTonruf(Boolean v) { schalter(1, DekTonruf, v); }
    // Our own: the additional signals of ZVEISenden (ZusatztonDecodierung).
    Boolean DecLinksZusatzton() const { return schalter(0, DekZusatzton); }
    void DecLinksZusatzton(Boolean v) { schalter(0, DekZusatzton, v); }
    Boolean DecRechtsZusatzton() const { return schalter(1, DekZusatzton); }
    void DecRechtsZusatzton(Boolean v) { schalter(1, DekZusatzton, v); }
    Integer FunkAnschluss() const { return tastung_.FunkAnschluss(); }
    void FunkAnschluss(Integer v);
    Integer Ausgangspegel() const { return e_.Ausgangspegel; }
    void Ausgangspegel(Integer v);
    Integer PocAusgangspegel() const { return e_.PocAusgangspegel; }
    void PocAusgangspegel(Integer v);
    Boolean PocPhaseUmkehren() const { return e_.PocPhaseUmkehren; }
    void PocPhaseUmkehren(Boolean v) { e_.PocPhaseUmkehren = v; }
    Long PocSendPreambellaenge() const { return e_.PocSendPreambellaenge; }
    void PocSendPreambellaenge(Long v) { e_.PocSendPreambellaenge = v; }
    Long FMSSendeVorlauf() const { return e_.FMSSendeVorlauf; }
    void FMSSendeVorlauf(Long v) { e_.FMSSendeVorlauf = v; }

    // Our own: tones sent at their exact frequency (see Tongenerator::setzeGenau).
    Boolean GenaueFrequenzen() const { return e_.GenaueFrequenzen; }
    void GenaueFrequenzen(Boolean v) { e_.GenaueFrequenzen = v != 0 ? Wahr : Falsch; }

    // Our own: the directory of the transmit files (test.wav, pocaus.wav).
    const std::filesystem::path& Sendeverzeichnis() const { return e_.Sendeverzeichnis; }
    void Sendeverzeichnis(const std::filesystem::path& v) { e_.Sendeverzeichnis = v; }

    // Our own: False (default) the decoders read the capture's run tables as
    // they are; True each reads audio conditioned for its signal, which holds
    // up in far more noise and against DC and AC coupling (see tonwerk/empfang).
    Boolean Empfangsfilter() const { return e_.Empfangsfilter; }
    void Empfangsfilter(Boolean v) { e_.Empfangsfilter = v != 0 ? Wahr : Falsch; }

    // Our own: True (default) every POCSAG codeword is checked and up to two wrong
    // bits corrected; an address beyond correction starts no message. False reads
    // codewords unchecked, as the classic control did.
    Boolean PocFehlerkorrektur() const { return e_.PocFehlerkorrektur; }
    void PocFehlerkorrektur(Boolean v) { e_.PocFehlerkorrektur = v != 0 ? Wahr : Falsch; }

    // --- access by name through the member table (see mitglieder.h) ---
    Wert lesen(const std::string& name) const;
    void schreiben(const std::string& name, const Wert& wert);
    Wert aufrufen(const std::string& name, std::vector<Wert>& argumente);

    // Read-only views for tests and tools.
    const Einstellungen& einstellungen() const { return e_; }
    const Ratenkonstanten& konstanten() const { return k_; }
    const Blockverteiler& verteiler() const { return verteiler_; }
    const Aufnahme& aufnahme() const { return aufnahme_; }

private:
    Plattform p_;
    FunkwandlerListener* listener_ = nullptr;
    Einstellungen e_;
    Ratenkonstanten k_;
    Long soundStatus_ = 4;
    Blockverteiler verteiler_;
    ZveiDecoder zvei_;
    FmsDecoder fms_;
    PocDecoder poc_;
    TonrufDecoder tonruf_;
    ZusatztonDecoder zusatzton_;
    Tongenerator ton_;  // sample count and phases shared by the send methods
    Aufnahme aufnahme_;
    std::unique_ptr<class Empfangsfilter> empfang_;  // the reception path, allocated once
    FunkTastung tastung_;

    Boolean schalter(int kanal, Dekoder d) const { return e_.Dekodieren[kanal][d] != 0 ? Wahr : Falsch; }
    void schalter(int kanal, Dekoder d, Boolean v) { e_.Dekodieren[kanal][d] = v != 0 ? 1 : 0; }
    void konstantenBerechnen();
    void timer1Tick();
    void timer2Tick();

    // BlockEmpfaenger
    void pegel(SignalstaerkeType& wert) override;
    void blockSchreiben(const std::uint8_t* daten, std::size_t bytes) override;
    void dekodieren(const std::array<Laeufe, 2>& laeufe) override;
    void pufferDekodieren(const std::array<Laeufe, 2>& laeufe, const std::uint8_t* daten, int frames) override;
    std::int32_t laengsterLauf() const override;
    void signalEnde(const std::array<bool, 2>& kanaele) override;
    void ueberlauf(Long zaehler) override;
};

}  // namespace tonwerk
