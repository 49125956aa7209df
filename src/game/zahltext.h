// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace wk {

// Reads the decimal number at the start of a text: leading blanks (spaces and
// tabs) are skipped, then an optional sign, digits and an optional fraction
// after a full stop. A text that does not start with a number reads as 0, and
// so does a number too large to be held as a finite double.
// Examples: "245" -> 245, " 12abc" -> 12, "-5" -> -5, ".." -> 0, "abc" -> 0.
double zahlAusText(std::string_view text);

// Writes a whole number as plain decimal digits without a leading blank and
// without a decimal point ("0", "245", "-3"). A fractional value is rounded to
// the nearest whole number; a value that is not finite is written as "0".
std::string zahlAlsText(double wert);

} // namespace wk
