// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <span>
#include <vector>

namespace wk {

// Dice as a multiset: how many dice show each face. Index 0 is unused, 1..6
// are the faces; the counts add up to 0..5.
using Augenzahl = std::array<int, 7>;

// Every multiset of 0 to 5 dice, numbered 0..461: the 252 of five dice first
// (0..251), then those of four, three, two and one die, and last the empty one
// (461). So a multiset's subsets all have higher numbers than the multiset.
class Wuerfelmengen {
public:
    static constexpr int Fuenfer = 252;  // multisets of five dice: 0..251
    static constexpr int Alle = 462;
    static constexpr int Leer = Alle - 1;

    Wuerfelmengen();

    const Augenzahl& anzahl(int menge) const { return m_anzahl[menge]; }
    int groesse(int menge) const { return m_groesse[menge]; }

    // The multiset with one die more showing `augen` (1..6). Only for
    // multisets of fewer than five dice.
    int mit(int menge, int augen) const { return m_mit[menge][augen]; }

    // The multisets with one die less, one for each face present (0..5 of them).
    std::span<const int> ohne(int menge) const { return {m_ohne[menge].data(), std::size_t(m_ohneAnzahl[menge])}; }

    // Every part of the five dice `fuenfer` (0..251) that can be kept, from
    // all five to none (1..32 of them).
    std::span<const int> teile(int fuenfer) const {
        return {m_teile.data() + m_teileAb[fuenfer], std::size_t(m_teileAb[fuenfer + 1] - m_teileAb[fuenfer])};
    }

    // How likely five dice thrown show this multiset of five (0..251).
    double wahrscheinlichkeit(int fuenfer) const { return m_wahrscheinlichkeit[fuenfer]; }

    // The number of the multiset with these counts; -1 when a count is negative
    // or the dice are more than five.
    int nummer(const Augenzahl& anzahl) const;

private:
    std::array<Augenzahl, Alle> m_anzahl{};
    std::array<int, Alle> m_groesse{};
    std::array<std::array<int, 7>, Alle> m_mit{};
    std::array<std::array<int, 5>, Alle> m_ohne{};
    std::array<int, Alle> m_ohneAnzahl{};
    std::array<double, Fuenfer> m_wahrscheinlichkeit{};
    std::vector<int> m_teile;
    std::array<int, Fuenfer + 1> m_teileAb{};
    std::array<short, 6 * 6 * 6 * 6 * 6 * 6> m_nummer{};  // by the counts read as a number in base 6
};

} // namespace wk
