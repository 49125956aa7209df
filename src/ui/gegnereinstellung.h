// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string_view>

namespace wk {

class Einstellungen;

// How fast a computer player's sheet goes by: every step to follow, a sheet
// in a few seconds, or the sheet filled at once.
enum class Tempo { Zuschauen, Schnell, Sofort };
inline constexpr std::array<std::string_view, 3> TempoNamen{"zuschauen", "schnell", "sofort"};

// The most computer players one can ask for on the start window.
inline constexpr int MaxComputer = 5;

// The computer players the start window offers for the next game.
struct Gegnerauswahl {
    int anzahl = 0;   // 0..MaxComputer; 0: none
    int staerke = 2;  // 1..4, weakest first (wk::Staerken)
    Tempo tempo = Tempo::Zuschauen;
    bool operator==(const Gegnerauswahl&) const = default;
};

// The choice as the settings store keeps it between runs, in a section of its
// own ("Computergegner": "Anzahl", "Staerke", "Tempo"); the highscore
// sections are never touched. A missing or unreadable value reads as the
// default above.
Gegnerauswahl gegnerauswahlLesen(const Einstellungen& einstellungen);
void gegnerauswahlSchreiben(Einstellungen& einstellungen, const Gegnerauswahl& auswahl);

} // namespace wk
