#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

std::optional<int> AbtastrateStufe(std::int32_t abtastrate) {
    for (std::size_t i = 0; i < kAbtastraten.size(); ++i)
        if (kAbtastraten[i] == abtastrate) return static_cast<int>(i);
    return std::nullopt;
}

}  // namespace tonwerk
