// Call-backs in flight. A call-back only has to ring: it is cleared after a
// bounded ring time, or at once when someone answers, on the PLCI that its
// CONNECT_CONF assigned. Until that confirmation arrives there is nothing to
// clear; a refused request leaves nothing behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace rufpilot {

class Rueckrufe {
public:
    struct Abbau {
        std::uint16_t nummer;  // the CONNECT_REQ's message number
        std::uint32_t plci;
    };
    enum class Bestaetigt { Fremd, Klingelt, Abgewiesen };

    // A CONNECT_REQ with message number `nummer` was put.
    void gewaehlt(std::uint16_t nummer, std::int64_t jetztMs);
    // A CONNECT_CONF arrived. Info values of class 0x00xx report success.
    Bestaetigt bestaetigt(std::uint16_t nummer, std::uint32_t plci, std::uint16_t info);
    // The call-backs whose ring time is over and that are not cleared yet.
    std::vector<Abbau> faellig(std::int64_t jetztMs, std::int64_t klingeldauerMs);
    // CONNECT_ACTIVE_IND: the call-back to clear now, if `plci` is one.
    std::optional<Abbau> angenommen(std::uint32_t plci);
    // The call is gone (its DISCONNECT_IND, or a clearing the driver refused).
    void vergessen(std::uint32_t plci);
    std::size_t offen() const { return rufe_.size(); }

private:
    struct Ruf {
        std::uint16_t nummer;
        std::int64_t seitMs;
        std::optional<std::uint32_t> plci;
        bool abgebaut = false;
    };
    // A driver that never confirms must not let the list grow without bound.
    static constexpr std::size_t kHoechstens = 16;
    std::deque<Ruf> rufe_;
};

}  // namespace rufpilot
