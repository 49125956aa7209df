// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace wk {

// A player's text (UTF-8) as it is placed into a text of the game: between
// U+2068 FIRST STRONG ISOLATE and U+2069 POP DIRECTIONAL ISOLATE, so that
// whatever direction its letters or control characters (U+202E and the like)
// set ends with it, and the text around it reads as written. The empty text
// stays empty.
inline std::string isoliert(std::string_view text) {
    std::string ergebnis;
    if (!text.empty()) ergebnis.append("\u2068").append(text).append("\u2069");
    return ergebnis;
}

} // namespace wk
