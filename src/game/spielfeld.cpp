// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/spielfeld.h"

namespace wk {

std::array<Wuerfelbox, 5> Spielfeld::tischEntwurf() {
    // Where the designer left the dice; the first dice reset moves them to rest.
    constexpr std::array<std::array<int, 2>, 5> ort{{{3840, 3840}, {5280, 3840}, {6240, 3720},
                                                     {7560, 3720}, {8880, 3720}}};
    std::array<Wuerfelbox, 5> boxen;
    for (int i = 0; i < 5; ++i) {
        boxen[i] = Wuerfelbox{"", true, true, ort[i][0], ort[i][1], Bild{BildArt::Seite, i}};
    }
    return boxen;
}

std::array<Wuerfelbox, 5> Spielfeld::ablageEntwurf() {
    std::array<Wuerfelbox, 5> boxen;
    for (int i = 0; i < 5; ++i) {
        boxen[i] = Wuerfelbox{"", false, true, AblageLeft[i], AblageTop[i], Bild{}};
    }
    return boxen;
}

} // namespace wk
