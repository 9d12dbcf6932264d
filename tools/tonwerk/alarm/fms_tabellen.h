// What the digits of an FMS telegram mean to people: the organisation (BOS
// digit), the federal state (Land digit) and the status in both directions,
// after the assignments in common use. Local practice differs in places; the
// alias table gives names, these tables only the nationwide meaning.
#pragma once

#include <string>

namespace tonwerk::werkzeug {

// The organisation of BOS digit 0..15; empty outside.
std::string fmsOrganisation(int bos);
// The federal state of Land digit 0..15. Digits E and F are shared by two states
// each, told apart by the first Ort digit (0-4 and 5-9); `ort` may be empty,
// then both names are given.
std::string fmsLand(int land, const std::string& ort);
// How the status shows on a display: 0-9 as digits, 10-15 from the vehicle as
// A-F; from the control centre the letter of the order.
std::string fmsStatusZeichen(int status, int richtung);
// The status text; `richtung` 0 = vehicle to control centre, 1 = back.
std::string fmsStatusText(int status, int richtung);
// True for the statuses a control centre acknowledges a telegram with.
bool fmsIstQuittung(int status, int richtung);

}  // namespace tonwerk::werkzeug
