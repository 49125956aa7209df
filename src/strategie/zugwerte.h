// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/tabelle.h"

#include <array>

namespace wk {

// The values of one turn from one turn-start state, as far as a decision
// inside the turn needs them: what the sheet still brings under best play,
// counted from the moment of the decision.
class Zugwerte {
public:
    // `offen` must lie within the table's solved range; `oben` >= 0.
    Zugwerte(const Tabelle& tabelle, Offen offen, int oben);

    Offen offen() const { return m_offen; }
    int oben() const { return m_oben; }

    // The five dice `fuenfer` (0..251) entered now in the open category of
    // cell `zelle`.
    double eintrag(int fuenfer, int zelle) const;

    // The dice `menge` (0..461) kept and the others rolled, with `wuerfeUebrig`
    // rolls left in the turn (1 or 2).
    double behalten(int menge, int wuerfeUebrig) const {
        return wuerfeUebrig >= 2 ? m_zweiWuerfe[menge] : m_einWurf[menge];
    }

    // The best part of the five dice `fuenfer` to keep, with `wuerfeUebrig`
    // rolls left (1 or 2): a Wuerfelmengen number. On equal values the larger
    // part is kept.
    int besteTeilmenge(int fuenfer, int wuerfeUebrig) const;

private:
    const Tabelle& m_tabelle;
    Offen m_offen;
    int m_oben;
    std::array<double, Wuerfelmengen::Alle> m_einWurf{};
    std::array<double, Wuerfelmengen::Alle> m_zweiWuerfe{};
};

} // namespace wk
