#include "tonwerk/empfang/empfangsfilter.h"

namespace tonwerk {

Empfangsfilter::Empfangsfilter() : speicher_(static_cast<std::size_t>(6) * kPlatz) {}

void Empfangsfilter::einrichten(Long abtastrate, Long baud) {
    rate_ = abtastrate;
    baud_ = baud;
    for (int kanal = 0; kanal < 2; ++kanal) {
        fms_[static_cast<std::size_t>(kanal)].einrichten(abtastrate);
        poc_[static_cast<std::size_t>(kanal)].einrichten(abtastrate, baud);
        ton_[static_cast<std::size_t>(kanal)].einrichten(abtastrate);
    }
}

const Empfangsfilter::Tabellen& Empfangsfilter::aufbereiten(const std::uint8_t* puffer, int frames,
                                                            const Einstellungen& e) {
    if (e.Abtastrate != rate_ || e.PocBaud != baud_) einrichten(e.Abtastrate, e.PocBaud);
    for (int kanal = 0; kanal < 2; ++kanal) {
        const auto k = static_cast<std::size_t>(kanal);
        const auto& an = e.Dekodieren[k];
        for (int pfad = 0; pfad < 3; ++pfad) schreiber_[static_cast<std::size_t>(pfad)][k].beginnen(tabelle(pfad, kanal), kPlatz);
        if (an[DekFMS]) fms_[k].verarbeiten(puffer, frames, kanal, schreiber_[PfadFms][k]);
        if (an[DekPOC]) poc_[k].verarbeiten(puffer, frames, kanal, schreiber_[PfadPoc][k]);
        if (an[DekZVEI] || an[DekTonruf]) ton_[k].verarbeiten(puffer, frames, kanal, schreiber_[PfadTon][k]);
        tabellen_.fms[k] = schreiber_[PfadFms][k].laeufe();
        tabellen_.poc[k] = schreiber_[PfadPoc][k].laeufe();
        tabellen_.ton[k] = schreiber_[PfadTon][k].laeufe();
    }
    return tabellen_;
}

}  // namespace tonwerk
