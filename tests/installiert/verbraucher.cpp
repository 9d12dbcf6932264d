#include <tonwerk/funkwandler.h>
#include <tonwerk/platform/ohne_hardware.h>
#include <tonwerk/platform/simulierter_eingang.h>

#include <cstdio>

int main() {
    tonwerk::SimulierterEingang eingang;
    tonwerk::KeineAusgabe ausgabe;
    tonwerk::KeinAnschluss anschluss;
    tonwerk::HandZeitgeber t1, t2;
    tonwerk::SchrittUhr uhr;
    tonwerk::Funkwandler fw({eingang, ausgabe, anschluss, t1, t2, uhr});
    std::printf("Tonwerk installiert: %zu Mitglieder, SoundStatus %d\n", tonwerk::mitglieder().size(),
                static_cast<int>(fw.SoundStatus()));
    return fw.SoundStatus() == 0 ? 0 : 1;
}
