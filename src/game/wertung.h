// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/spielfeld.h"

#include <array>
#include <string>
#include <string_view>

namespace wk {

enum class Regel {
    Augen,          // the dice showing one face, summed
    Pasch,          // N of a kind: the sum of all dice
    FullHaus,       // three and two (five of a kind counts, see Regelwerk): 25
    KleineStrasse,  // four faces in a row present: 30
    GrosseStrasse,  // five faces in a row present: 40
    Wurfkrone,      // five of a kind: 150 (see Regelwerk)
    Chance,         // the sum of all dice
};

// One category of the score sheet: the button that enters it, its caption,
// the cell it writes (0..12) and how it scores.
struct Kategorie {
    std::string_view knopf;
    std::string_view beschriftung;
    int zelle;
    Regel regel;
    int wert;  // the face for Augen, N for Pasch, unused otherwise
};

// In sheet order; the index of an entry is the cell it writes.
inline constexpr std::array<Kategorie, 13> Kategorien{{
    {"Command5", "1er", 0, Regel::Augen, 1},
    {"Command1", "2er", 1, Regel::Augen, 2},
    {"Command6", "3er", 2, Regel::Augen, 3},
    {"Command7", "4er", 3, Regel::Augen, 4},
    {"Command8", "5er", 4, Regel::Augen, 5},
    {"Command9", "6er", 5, Regel::Augen, 6},
    {"Command10", "3er Pasch", 6, Regel::Pasch, 3},
    {"Command11", "4er Pasch", 7, Regel::Pasch, 4},
    {"Command12", "Full Haus", 8, Regel::FullHaus, 0},
    {"Command13", "Kleine Strasse", 9, Regel::KleineStrasse, 0},
    {"Command16", "Grosse Strasse", 10, Regel::GrosseStrasse, 0},
    {"Command14", "Wurfkrone", 11, Regel::Wurfkrone, 0},
    {"Command15", "Chance", 12, Regel::Chance, 0},
}};

// The rule values that other dice games of this kind set differently; the
// coach's solver is also checked against published figures of those.
struct Regelwerk {
    int bonus = 100;                   // earned once the upper sum reaches bonusschwelle
    int bonusschwelle = 63;            // 1..105
    int wurfkrone = 150;               // five of a kind
    bool wurfkroneIstFullHaus = true;  // whether five of a kind also scores "Full Haus"
};

// The rules of this game.
inline constexpr Regelwerk Hausregeln{};

inline constexpr int Bonusschwelle = Hausregeln.bonusschwelle;
inline constexpr int Bonus = Hausregeln.bonus;

// What a category scores with the dice as they lie in the ten boxes. Counts of
// a face look at the Tags of all ten boxes; presence of a face and the sum of
// the dice look at the visible boxes only. An empty Tag is no die.
int punkte(const Kategorie& kategorie, const std::array<Wuerfelbox, 5>& tisch,
           const std::array<Wuerfelbox, 5>& ablage, const Regelwerk& regeln = Hausregeln);

// Recomputes the sum rows of a sheet from its 13 category cells (each read as
// the number at its start): Label1 0 the upper sum, 1 the bonus (written as
// "100" once the upper sum reaches 63, otherwise left as it is), 2 the upper
// total with bonus, 3 the lower sum, and Zahlen 13 the grand total.
void summenBilden(std::array<std::string, 17>& zahlen, std::array<std::string, 4>& label1);

} // namespace wk
