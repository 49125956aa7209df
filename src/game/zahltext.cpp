// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/zahltext.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace wk {

double zahlAusText(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negativ = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negativ = text[pos] == '-';
        ++pos;
    }
    const std::size_t anfang = pos;
    std::size_t ziffern = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        ++pos;
        ++ziffern;
    }
    if (pos < text.size() && text[pos] == '.') {
        std::size_t nachkomma = 0;
        std::size_t p = pos + 1;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
            ++p;
            ++nachkomma;
        }
        if (nachkomma > 0) {
            pos = p;
            ziffern += nachkomma;
        }
    }
    if (ziffern == 0) {
        return 0.0;
    }
    double wert = 0.0;
    const auto [ende, fehler] =
        std::from_chars(text.data() + anfang, text.data() + pos, wert, std::chars_format::fixed);
    if (fehler != std::errc() || ende != text.data() + pos || !std::isfinite(wert)) {
        return 0.0;
    }
    return negativ ? -wert : wert;
}

std::string zahlAlsText(double wert) {
    if (!std::isfinite(wert)) {
        return "0";
    }
    const double gerundet = std::round(wert);
    if (gerundet == 0.0) {
        return "0";  // never "-0"
    }
    char puffer[400];
    std::snprintf(puffer, sizeof puffer, "%.0f", gerundet);
    return puffer;
}

} // namespace wk
