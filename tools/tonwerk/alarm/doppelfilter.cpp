#include "alarm/doppelfilter.h"

#include <iterator>

namespace tonwerk::werkzeug {

bool Doppelfilter::wiederholung(const std::string& art, int kanal, const std::string& absender,
                                const std::string& inhalt, double zeit) {
    if (fenster_ <= 0) return false;
    // Forget what has left the window, so a station running for months keeps
    // only the last few seconds' events.
    for (auto it = durchgelassen_.begin(); it != durchgelassen_.end();)
        it = zeit - it->second.zeit > fenster_ ? durchgelassen_.erase(it) : std::next(it);
    const std::string schluessel = art + '\x1f' + std::to_string(kanal) + '\x1f' + absender;
    const auto it = durchgelassen_.find(schluessel);
    if (it != durchgelassen_.end() && it->second.inhalt == inhalt && zeit >= it->second.zeit &&
        zeit - it->second.zeit <= fenster_) {
        ++unterdrueckt_;
        return true;
    }
    durchgelassen_[schluessel] = Letztes{inhalt, zeit};
    return false;
}

}  // namespace tonwerk::werkzeug
