// The synchronisation and idle codewords as the control holds them: bit texts that
// a host may set to anything.
#pragma once

#include <string_view>

#include "tonwerk/formats/poc_codewort.h"

namespace tonwerk {

// The first 32 characters of `bits` as a codeword; a text shorter than 32
// characters or with characters other than "0" and "1" among them stands for
// `standard`, so that a malformed setting can neither produce audio outside the
// two NRZ levels nor make the receiver read every idle codeword as an address.
PocCodewort PocWortEinstellung(std::string_view bits, PocCodewort standard);

}  // namespace tonwerk
