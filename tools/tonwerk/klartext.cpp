#include "klartext.h"

#include <string_view>

namespace tonwerk::werkzeug {

std::string klartext(const std::string& text) {
    constexpr std::string_view nul = "[NULL]";
    std::string_view t = text;
    for (;;) {
        if (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r' || t.back() == '\n'))
            t.remove_suffix(1);
        else if (t.size() >= nul.size() && t.substr(t.size() - nul.size()) == nul)
            t.remove_suffix(nul.size());
        else
            break;
    }
    return std::string(t);
}

}  // namespace tonwerk::werkzeug
