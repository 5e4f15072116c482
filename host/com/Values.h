#pragma once

// Reading the host's answers as the values the tool needs, and making the values it sends.
// A value of the wrong kind is the one HostError, naming the call (`operation`).

#include <string>

#include "host/Host.h"
#include "host/com/ComTypes.h"

namespace host::com {

// Whether a value of variant type `type` (without VT_ARRAY or VT_BYREF) is a number.
bool isNumber(VARTYPE type);

double numberOf(const VARIANT& value, const std::string& operation);
long integerOf(const VARIANT& value, const std::string& operation);
// The object a call gave; nothing or no object is the wrong kind (`expected`: "a spread").
ComPtr<IDispatch> objectOf(const VARIANT& value, const std::string& operation,
                           const std::string& expected);

// Bounds from a one-dimensional array of four numbers, doubles or variants holding numbers,
// whose first index is 0 or 1: top, left, bottom, right in that order.
Bounds boundsOf(const VARIANT& value, const std::string& operation);
// An angle in degrees brought into [0, 360): a later host reports (-180, 180], the tool's geometry
// is defined for [0, 360). Minus zero and a negative angle too small to keep below a full turn
// both give 0; a value that is not finite is passed on.
double angleWithinTurn(double degrees);
// Four bounds as an array indexed 0 to 3, of variants holding doubles or of doubles.
Variant variantArrayOf(const Bounds& bounds);
Variant doubleArrayOf(const Bounds& bounds);

}  // namespace host::com
