#include "tonwerk/core/funkwandler.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>

#include "tonwerk/empfang/empfangsfilter.h"
#include "tonwerk/formats/abtastrate.h"
#include "tonwerk/transmit/fms_senden.h"
#include "tonwerk/transmit/poc_senden.h"
#include "tonwerk/transmit/sendedatei.h"
#include "tonwerk/transmit/tonruf_senden.h"
#include "tonwerk/transmit/zvei_senden.h"

namespace tonwerk {

Funkwandler::Funkwandler(Plattform plattform)
    : p_(plattform),
      zvei_([this](ZVEIType& r) {
          if (listener_) listener_->ZVEIDecodierung(r);
      }),
      fms_([this](FmsTlgType& r) {
          if (listener_) listener_->FMSDecodierung(r);
      }),
      poc_([this](POCType& r) {
          if (listener_) listener_->POCDecodierung(r);
      }),
      tonruf_([this](TonrufType& r) {
          if (!listener_) return;
          listener_->TonrufDecodierungA(r);
          Long nummer = r.tonruf;
          listener_->TonrufDecodierung(nummer);
      }),
      zusatzton_([this](ZusatztonType& r) {
          if (listener_) listener_->ZusatztonDecodierung(r);
      }),
      aufnahme_(e_,
                [this] {
                    Long wert = 0;
                    if (listener_) listener_->WaveRecordEnd(wert);
                }),
      empfang_(std::make_unique<class Empfangsfilter>()),
      tastung_(p_.anschluss) {
    soundStatus_ = 4;
    e_.Sendeverzeichnis = standardSendeverzeichnis();
    // Every setting already holds its default (Einstellungen); the decoders hold
    // their initial per-channel state.
    konstantenBerechnen();
    soundStatus_ = 0;
}

Funkwandler::~Funkwandler() {
    if (soundStatus_ == 2) Soundstop();
}


void Funkwandler::konstantenBerechnen() {
    k_ = berechneRatenkonstanten(e_.Abtastrate, e_.ZVEI70msMin, e_.ZVEI70msMax);
    e_.RecordPufferSize = k_.RecordPufferSize;
    berechnePocKonstanten(k_, e_.Abtastrate, e_.PocBaud);
}

// ---- lifecycle ----

Long Funkwandler::SoundStart() {
    if (soundStatus_ != 0) return 1;
    soundStatus_ = 1;
    const Long ergebnis = verteiler_.starten(p_.eingang, e_.SoundCard, e_.Abtastrate, e_.RecordPufferSize);
    p_.timer1.aktivieren(60, [this] { timer1Tick(); });
    p_.timer2.aktivieren(1000, [this] { timer2Tick(); });
    soundStatus_ = 2;
    return ergebnis;
}

Long Funkwandler::Soundstop() {
    soundStatus_ = 3;
    p_.timer1.deaktivieren();
    p_.timer2.deaktivieren();
    aufnahme_.beenden();
    // The device gets three to four seconds to settle before it is reset.
    for (int i = 0; i < 4; ++i) {
        const int sekunde = p_.uhr.sekunde();
        while (p_.uhr.sekunde() == sekunde) {
        }
    }
    const Long ergebnis = verteiler_.stoppen(p_.eingang);
    soundStatus_ = 0;
    return ergebnis;
}

Long Funkwandler::GetSoundKartenCount() { return p_.eingang.geraeteAnzahl(); }

Long Funkwandler::GetSoundkarteInfo(Long SCard, std::string& SName, Long& SFormat) {
    std::string name;
    Long formate = 0;
    const Long ergebnis = p_.eingang.geraeteInfo(SCard, name, formate);
    if (ergebnis == 0) {
        SName = name.substr(0, name.find('\0'));
        SFormat = formate;
    }
    return ergebnis;
}

void Funkwandler::timer1Tick() { verteiler_.tick(p_.eingang, *this, e_.SampleFehlerRate); }

void Funkwandler::timer2Tick() { aufnahme_.sekunde(); }

// ---- dispatcher callbacks ----

void Funkwandler::pegel(SignalstaerkeType& wert) {
    if (listener_) listener_->Signalstaerke(wert);
}

void Funkwandler::blockSchreiben(const std::uint8_t* daten, std::size_t bytes) {
    aufnahme_.blockSchreiben(daten, bytes);
}

void Funkwandler::dekodieren(const std::array<Laeufe, 2>& laeufe) { pufferDekodieren(laeufe, nullptr, 0); }

void Funkwandler::pufferDekodieren(const std::array<Laeufe, 2>& laeufe, const std::uint8_t* daten, int frames) {
    const std::array<Laeufe, 2>* zvei = &laeufe;
    const std::array<Laeufe, 2>* fms = &laeufe;
    const std::array<Laeufe, 2>* poc = &laeufe;
    const std::array<Laeufe, 2>* tonruf = &laeufe;
    if (e_.Empfangsfilter != Falsch && daten != nullptr) {
        const class Empfangsfilter::Tabellen& t = empfang_->aufbereiten(daten, frames, e_);
        zvei = tonruf = &t.ton;
        fms = &t.fms;
        poc = &t.poc;
    }
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (e_.Dekodieren[kanal][DekZVEI]) zvei_.laufPruefung(kanal, (*zvei)[kanal], e_, k_);
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (e_.Dekodieren[kanal][DekFMS]) fms_.laufPruefung(kanal, (*fms)[kanal], e_, k_);
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (e_.Dekodieren[kanal][DekPOC]) poc_.laufPruefung(kanal, (*poc)[kanal], e_, k_);
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (e_.Dekodieren[kanal][DekTonruf]) tonruf_.laufPruefung(kanal, (*tonruf)[kanal], e_, k_);
    // The additional signals read the samples themselves, alike in both paths.
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (e_.Dekodieren[kanal][DekZusatzton]) zusatzton_.pufferPruefung(kanal, daten, frames, e_.Abtastrate);
}

std::int32_t Funkwandler::laengsterLauf() const {
    // FMS half-waves, the tone decoders' periods with their tolerance, and
    // POCSAG's runs of equal bits, by far the longest.
    const std::int64_t ton = std::int64_t{k_.TonPeriodeMax} + std::max<Long>(e_.ZVEIDiffMax, 0);
    const std::int64_t laengster =
        std::max({std::int64_t{k_.FmsLangMax}, ton, std::int64_t{PocDecoder::laengsterLauf(e_.Abtastrate, e_.PocBaud)}});
    return static_cast<std::int32_t>(std::min<std::int64_t>(laengster, std::numeric_limits<std::int32_t>::max()));
}

void Funkwandler::signalEnde(const std::array<bool, 2>& kanaele) {
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (kanaele[kanal] && e_.Dekodieren[kanal][DekZVEI]) zvei_.signalEnde(kanal);
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (kanaele[kanal] && e_.Dekodieren[kanal][DekFMS]) fms_.signalEnde(kanal, e_, k_);
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (kanaele[kanal] && e_.Dekodieren[kanal][DekPOC]) poc_.signalEnde(kanal);
    for (Integer kanal = 0; kanal < 2; ++kanal)
        if (kanaele[kanal] && e_.Dekodieren[kanal][DekTonruf]) tonruf_.signalEnde(kanal);
}

void Funkwandler::ueberlauf(Long zaehler) {
    if (listener_) listener_->PufferUeberlauf(zaehler);
}

// ---- property setters with rules ----

Long Funkwandler::Samplerates() const { return AbtastrateStufe(e_.Abtastrate).value_or(0); }

void Funkwandler::Samplerates(Long v) {
    const Long rate = kAbtastraten[v == 1 || v == 2 ? static_cast<std::size_t>(v) : 0];
    const bool neustart = soundStatus_ == 2;
    if (neustart) Soundstop();
    e_.Abtastrate = rate;
    konstantenBerechnen();
    if (neustart) SoundStart();
}

void Funkwandler::PocBaudRates(Integer v) {
    e_.PocBaud = v == 1 ? 1200 : 512;
    berechnePocKonstanten(k_, e_.Abtastrate, e_.PocBaud);
}

namespace {
Integer verdoppelt(Integer v, const char* name) {
    if (v < -16384 || v > 16383) throw std::overflow_error(std::string(name) + ": Überlauf");
    return static_cast<Integer>(2 * v);
}
Integer pegelBegrenzt(Integer v) { return v < 0 ? Integer{0} : v > 127 ? Integer{127} : v; }
}  // namespace

void Funkwandler::FMSVorlaufMin(Integer v) { e_.FMSVorlaufMin2 = verdoppelt(v, "FMSVorlaufMin"); }
void Funkwandler::FMSVorlaufMax(Integer v) { e_.FMSVorlaufMax2 = verdoppelt(v, "FMSVorlaufMax"); }
void Funkwandler::Ausgangspegel(Integer v) { e_.Ausgangspegel = pegelBegrenzt(v); }
void Funkwandler::PocAusgangspegel(Integer v) { e_.PocAusgangspegel = pegelBegrenzt(v); }

void Funkwandler::FunkAnschluss(Integer v) {
    tastung_.FunkAnschluss(v);
    e_.FunkAnschluss = tastung_.FunkAnschluss();
}

// ---- send methods ----

Long Funkwandler::FMSSenden(const std::string& Kennung, Integer Richtung, Integer Status, Integer tki,
                            Integer Baustufe, const std::string& Text, Integer /*Funkkanal*/, Long /*FunkHalten*/) {
    return tonwerk::FMSSenden(ton_, p_.ausgabe, e_, Kennung, Richtung, Status, tki, Baustufe, Text);
}

Long Funkwandler::POCSenden(Long Baud, Long RIC, Long Funktion, const std::string& Text, Integer /*Funkkanal*/,
                            Long /*FunkHalten*/) {
    return tonwerk::POCSenden(ton_, p_.ausgabe, e_, PocSendeauftrag{Baud, RIC, Funktion, Text});
}

// ---- recording and keying ----

Long Funkwandler::FunkAufzeichnen(Long ZeitLaenge, const std::string& DateiName) {
    return aufnahme_.FunkAufzeichnen(ZeitLaenge, DateiName);
}
Long Funkwandler::FunkSenden(Long Leitung) { return tastung_.FunkSenden(Leitung); }
Long Funkwandler::FunkEmpfangen(Long Leitung) { return tastung_.FunkEmpfangen(Leitung); }

Long Funkwandler::ZVEISenden(const std::string& rufnummer, Boolean DoppeltSenden, Long ZusatzTon,
                             Integer /*Funkkanal*/, Long /*FunkHalten*/) {
    return tonwerk::ZVEISenden(ton_, p_.ausgabe, e_, rufnummer, DoppeltSenden, ZusatzTon);
}

Long Funkwandler::TonrufSenden(Long tonruf, Integer /*Funkkanal*/, Long /*FunkHalten*/) {
    return tonwerk::TonrufSenden(ton_, p_.ausgabe, e_, tonruf);
}

}  // namespace tonwerk
