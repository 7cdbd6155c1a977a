#pragma once
// The band codes of the contest, in the order of the main window's band menu:
// the texts a contact's band holds and the band box accepts.
#include <array>

namespace setup {

inline constexpr std::array<const char*, 12> kBandCodes = {
    "160", "80", "40", "20", "15", "10", "6", "2", "222", "432", "902", "1.3 G"};

}  // namespace setup
