// Keys COM1, mapped to the pty named on the command line, the way the gateway
// does: open (lines to rest), DTR on, RTS on, DTR off, close. Exit 0 when every
// step succeeded. Run under the line observer; without it a pty refuses.
#include <cstdio>

#include "tonwerk/platform/termios_anschluss.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: %s PTY\n", argv[0]);
        return 2;
    }
    tonwerk::TermiosAnschluss anschluss;
    anschluss.geraetSetzen(1, argv[1]);
    if (!anschluss.oeffnen(1)) {
        std::fprintf(stderr, "%s lässt sich nicht öffnen\n", argv[1]);
        return 1;
    }
    const bool gut = anschluss.setzeDtr(true) && anschluss.setzeRts(true) && anschluss.setzeDtr(false);
    anschluss.schliessen();
    return gut ? 0 : 1;
}
