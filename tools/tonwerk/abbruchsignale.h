// Ctrl+C, SIGTERM and SIGHUP while the tool holds something that must be given
// back (a keyed line, a running sound card): while an Abbruchsignale lives they
// only note their arrival, so the holder ends through its normal path and
// releases what it holds; the caller then leaves with 128 + the signal.
// Guards nest (a command holds one while its loop holds another); a signal is
// kept from the outermost guard's start. Used from the main thread only.
#pragma once

namespace tonwerk::werkzeug {

class Abbruchsignale {
public:
    Abbruchsignale();
    ~Abbruchsignale();
    Abbruchsignale(const Abbruchsignale&) = delete;
    Abbruchsignale& operator=(const Abbruchsignale&) = delete;

    // The last signal that arrived, 0 while none has.
    static int empfangen();
};

// Thrown after a signal has been honoured: the tool exits with 128 + signal.
struct Abgebrochen {
    int signal;
};

}  // namespace tonwerk::werkzeug
