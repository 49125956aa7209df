// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/tabelle.h"
#include "strategie/zugwerte.h"

#include <optional>
#include <vector>

namespace wk {

// A choice after a roll: enter the five dice in the category of cell `zelle`
// (0..12), or, with `zelle` -1, keep the part `teil` of them (a Wuerfelmengen
// number) and roll the rest. `wert` is what the sheet still brings from this
// choice on, on average under the best play.
struct Wahl {
    double wert = 0;
    int zelle = -1;
    int teil = -1;
};

// The values of the choices a turn offers, from the table. It keeps the
// values of the last turn asked about and the last best choice, so asking
// again inside one turn costs little (the advice and the judgement of the
// decision that follows it ask alike). Not thread-safe.
class Bewerter {
public:
    // The table must outlive the Bewerter.
    explicit Bewerter(const Tabelle& tabelle) : m_tabelle(tabelle) {}

    const Tabelle& tabelle() const { return m_tabelle; }

    // The values of the turn that starts with the categories `offen` open
    // (solved by the table) and the upper sum `oben` (0 or more).
    const Zugwerte& zugwerte(Offen offen, int oben) const;

    // After roll `wuerfe` (1..3) of that turn, with the five dice `fuenfer`
    // (0..251): the best choice. Entering wins a tie with rolling again, an
    // earlier category a tie with a later one, the larger part a tie between
    // two parts kept.
    Wahl beste(Offen offen, int oben, int wuerfe, int fuenfer) const;

    // Every choice of that moment: each open category, then, while rolls are
    // left (wuerfe < 3), each part of the dice that can be kept.
    std::vector<Wahl> alle(Offen offen, int oben, int wuerfe, int fuenfer) const;

private:
    struct Beste {
        Offen offen;
        int oben, wuerfe, fuenfer;
        Wahl wahl;
    };

    const Tabelle& m_tabelle;
    mutable std::optional<Zugwerte> m_zug;
    mutable std::optional<Beste> m_beste;
};

} // namespace wk
