// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/wertung.h"
#include "strategie/wuerfelmengen.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace wk {

// The categories still open on a sheet: bit i stands for the category that
// writes cell i (0..12); bits 0..5 are the upper section.
using Offen = unsigned;
inline constexpr Offen AlleOffen = (1u << 13) - 1;
inline constexpr int Kategorienzahl = 13;

// Runs auftrag(0) .. auftrag(anzahl - 1), each exactly once, in any order and
// possibly side by side, and returns when all of them have run.
using Verteiler = std::function<void(int anzahl, const std::function<void(int)>& auftrag)>;

// The Verteiler that runs the jobs one after the other on the calling thread.
void nacheinander(int anzahl, const std::function<void(int)>& auftrag);

// The value of every state at the start of a turn: the points a sheet still
// brings, the upper bonus included, on average under the best play, given the
// categories still open and the upper sum so far. Solved backwards from the
// full sheet, a layer of states with the same number of open categories at a
// time; the jobs of a layer go to the Verteiler.
//
// Every score is taken from wk::punkte with the given Regelwerk.
class Tabelle {
public:
    // Solves every state whose open categories all lie in `bereich` (by
    // default the whole sheet); states outside it stay unsolved.
    explicit Tabelle(const Regelwerk& regeln = Hausregeln, const Verteiler& verteiler = nacheinander,
                     Offen bereich = AlleOffen);

    // Whether the states of these open categories are solved.
    bool geloest(Offen offen) const { return offen <= AlleOffen && (offen & ~m_bereich) == 0; }

    // `offen` must be solved; `oben` is the upper sum so far
    // (0 or more; every sum from the bonus threshold on means the bonus is won).
    double wert(Offen offen, int oben) const;

    // The points a sheet still brings, on average under the best play, when
    // `punkte` are entered now in the open category of cell `zelle`: those
    // points, the bonus they win and the value of the state they lead to.
    double eintrag(Offen offen, int oben, int zelle, int punkte) const;

    // What the category of cell `zelle` scores with the five dice `fuenfer`
    // (a number of Wuerfelmengen, 0..251).
    int punkte(int fuenfer, int zelle) const { return m_punkte[fuenfer][zelle]; }
    // The same for all 252 five-dice multisets of one category, as numbers.
    const double* punkteSpalte(int zelle) const { return m_punkteSpalte[zelle].data(); }

    const Regelwerk& regeln() const { return m_regeln; }
    const Wuerfelmengen& mengen() const { return m_mengen; }
    Offen bereich() const { return m_bereich; }

    // The memory the table holds, in bytes.
    std::size_t bytes() const;

    // The upper sums a state of these open categories is solved for: from
    // `unten` on, `anzahl` of them, stored `breite` (a multiple of 4) apart.
    // Sums below `unten` can no longer reach the bonus and have its value;
    // sums above the range cannot occur.
    struct Spuren {
        int unten = 0;
        int anzahl = 1;
        int breite = 4;
    };
    const Spuren& spuren(Offen offen) const { return m_spuren[~offen & 63u]; }

    // For an upper category (cell 0..5): its distinct scores, and which of
    // them the five dice `fuenfer` give.
    const std::vector<int>& stufen(int zelle) const { return m_stufen[zelle]; }
    int stufe(int fuenfer, int zelle) const { return m_stufeVon[fuenfer][zelle]; }

private:
    struct Arbeitsplatz;
    void schichtRechnen(const std::vector<Offen>& schicht, int von, int bis, Arbeitsplatz& platz);

    Regelwerk m_regeln;
    Offen m_bereich;
    Wuerfelmengen m_mengen;
    std::array<std::array<short, Kategorienzahl>, Wuerfelmengen::Fuenfer> m_punkte{};
    std::array<std::array<double, Wuerfelmengen::Fuenfer>, Kategorienzahl> m_punkteSpalte{};
    std::array<std::vector<int>, 6> m_stufen;
    std::array<std::array<signed char, 6>, Wuerfelmengen::Fuenfer> m_stufeVon{};
    std::array<Spuren, 64> m_spuren{};  // by the filled upper categories
    std::vector<int> m_anfang;          // by open categories: first value, -1 unsolved
    std::vector<double> m_werte;
};

} // namespace wk
