#include "rufpilot/routermonitor/zeilenpuffer.h"

namespace rufpilot {

Zeilenpuffer::Zeilen Zeilenpuffer::anhaengen(std::string_view bytes) {
    Zeilen z;
    // Each byte is looked at once: a huge line costs its length, not more.
    while (!bytes.empty()) {
        const std::size_t ende = bytes.find_first_of("\r\n");
        const std::string_view stueck = bytes.substr(0, ende);
        if (!verwerfen_) {
            if (angefangen_.size() + stueck.size() > hoechstens_) {
                // Counted once, when the line is first seen to be too long.
                verwerfen_ = true;
                angefangen_.clear();
                ++z.zuLang;
            } else {
                angefangen_.append(stueck);
            }
        }
        if (ende == std::string_view::npos) break;
        // The LF of a CR LF ends an empty line, which is skipped: a CR LF
        // split across two reads gives no line of its own.
        if (!verwerfen_ && !angefangen_.empty()) z.vollstaendig.push_back(std::move(angefangen_));
        angefangen_.clear();
        verwerfen_ = false;
        bytes.remove_prefix(ende + 1);
    }
    return z;
}

void Zeilenpuffer::leeren() {
    angefangen_.clear();
    verwerfen_ = false;
}

}  // namespace rufpilot
