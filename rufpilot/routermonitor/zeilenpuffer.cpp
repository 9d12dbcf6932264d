#include "rufpilot/routermonitor/zeilenpuffer.h"

namespace rufpilot {

Zeilenpuffer::Zeilen Zeilenpuffer::anhaengen(std::string_view bytes) {
    Zeilen z;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        const std::string_view stueck = bytes.substr(0, lf);
        if (!verwerfen_) {
            // One byte of room for the CR of a CR LF end.
            if (angefangen_.size() + stueck.size() > hoechstens_ + 1) {
                // Counted once, when the line is first seen to be too long.
                verwerfen_ = true;
                angefangen_.clear();
                ++z.zuLang;
            } else {
                angefangen_.append(stueck);
            }
        }
        if (lf == std::string_view::npos) break;
        if (!verwerfen_) {
            if (!angefangen_.empty() && angefangen_.back() == '\r') angefangen_.pop_back();
            if (angefangen_.size() > hoechstens_)
                ++z.zuLang;
            else if (!angefangen_.empty())
                z.vollstaendig.push_back(std::move(angefangen_));
        }
        angefangen_.clear();
        verwerfen_ = false;
        bytes.remove_prefix(lf + 1);
    }
    return z;
}

void Zeilenpuffer::leeren() {
    angefangen_.clear();
    verwerfen_ = false;
}

}  // namespace rufpilot
