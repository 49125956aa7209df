// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <vector>

namespace wk {

// Players at one game, people and computer players together.
inline constexpr int MaxSpieler = 6;

// The state of the game that outlives the game window: the start window fills
// it before a game, the game window plays on it, and the end-of-game
// evaluation reads it after the last sheet. The program owns exactly one and
// hands it to the windows by reference.
//
// The per-player lists are indexed by player number 1..AnzahlSpieler; index 0
// exists but is never used.
struct Spielstand {
    int Runden = 1;                        // sheets per player: 1, 5, 10 or 25
    int AnzahlSpieler = 0;                 // 1..6 once players are chosen
    std::vector<std::string> Namen;        // UTF-8, may be empty
    std::vector<double> Gesamtpunkte;      // points over all finished sheets
    std::vector<int> RundenGespielt;       // finished sheets, 0..Runden
    // Who plays: 0 a person, 1..4 a computer player of that strength (1 the
    // weakest). Computer players follow the people.
    std::vector<int> Computer;
    int AktuellerSpieler = 1;              // 1..AnzahlSpieler
    int Eingetragen = 0;                   // categories scored on this sheet, 0..13
    int Wuerfe = 0;                        // rolls made this turn, 0..3
    int Takt = 0;                          // ticks of the running roll, 0..28
    std::array<int, 6> Phase{};            // tumbling frame per table box (0..4 used)

    // Sizes the player lists afresh for 1..6 players: names empty, counters 0,
    // every player a person.
    void spielerAnlegen(int anzahl);

    // Adds computer players of strength `staerke` (1..4) after the players so
    // far, named by `namen`, as many as fit within MaxSpieler. Returns how
    // many joined.
    int computerDazu(const std::vector<std::string>& namen, int staerke);
    bool istComputer(int p) const {
        return p >= 0 && static_cast<std::size_t>(p) < Computer.size() && Computer[static_cast<std::size_t>(p)] > 0;
    }

    // What the start button does before the game window opens: player 1 to
    // move, every sheet count 0, a fresh sheet and turn.
    void spielStarten();
};

} // namespace wk
