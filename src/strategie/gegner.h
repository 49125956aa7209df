// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/spiel.h"
#include "strategie/bewerter.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace wk {

// A strength of the computer players. Each is defined by the mean total of a
// sheet it scores: the three weaker ones choose among the choices of a moment
// with a probability proportional to exp(-loss / temperatur), where loss is
// what a choice gives away against the best one in expected points; the
// strongest (temperatur 0) always takes the best choice.
struct Staerke {
    std::string_view name;          // as the start window offers it
    std::string_view beschreibung;  // one line: what to expect
    double temperatur;              // in points; 0: always the best choice
    double ziel;                    // the mean of a sheet it is tuned to; 0: the best play's
};

// Weakest first; a player's strength 1..4 is its place in this list.
inline constexpr std::array<Staerke, 4> Staerken{{
    {"Lehrling", "Kennt die Regeln, übersieht aber oft den besseren Zug: etwa 240 Punkte je Blatt.", 3.57, 240},
    {"Geselle", "Spielt ordentlich und verschenkt hier und da Punkte: etwa 280 Punkte je Blatt.", 2.19, 280},
    {"Könner", "Irrt sich selten und meist nur knapp: etwa 310 Punkte je Blatt.", 1.28, 310},
    {"Meister", "Wählt immer den besten Zug, wie der Tipp: etwa 332 Punkte je Blatt.", 0, 0},
}};

// A computer player: given the game's state, the next step. It decides once
// after each roll (keep a part of the dice and roll again, or enter a
// category) and carries a part out one die at a time, then rolls. It only
// reads the game; its randomness comes from a generator of its own, so the
// game's dice are drawn as for a person. Not thread-safe.
class Gegner {
public:
    // `saat` seeds the player's own generator.
    Gegner(const Staerke& staerke, std::uint64_t saat);

    // Until a table is set, the player cannot decide after a roll. The table
    // must outlive the Gegner.
    void tabelleSetzen(const Tabelle& tabelle);
    bool kannEntscheiden() const { return m_bewerter.has_value(); }

    // The next step for the game as it lies, always one the game takes now;
    // nothing while there is none: the dice tumble, the sheet is full, or
    // the table cannot judge the state (not set, or not solved for it).
    std::optional<Schritt> naechster(const Spielfeld& feld, const Spielstand& stand);

    // The choice made for the roll that lies (Wahl::zelle, or the part kept,
    // Wahl::teil), as of the last call of naechster(); nothing before it has
    // decided on this roll.
    std::optional<Wahl> entscheidung() const;

private:
    Wahl waehlen(Offen offen, int oben, int wuerfe, int fuenfer);

    struct Entscheidung {
        std::array<int, 6> lage{};  // whose sheet, which sheet, open, upper sum, rolls, dice
        Wahl wahl;
    };

    double m_temperatur = 0;
    Zufall m_zufall;
    std::optional<Bewerter> m_bewerter;
    std::optional<Entscheidung> m_entscheidung;
};

// Does what the control of `schritt` does when clicked, through the game's
// handlers, and runs a roll it starts to its end at once: play without a
// window. A step the game cannot take now does nothing, as a click on a
// hidden or disabled control does.
void ausfuehren(Spiel& spiel, const Schritt& schritt);

// How a strength is measured: one computer player of `staerke` plays
// `anzahl` sheets without a window, the game's generator seeded with `saat`
// and its own with another seed made from it. The total of each sheet.
// `nachDemSchritt`, when given, sees the game after each step.
std::vector<double> probeblaetter(const Tabelle& tabelle, const Staerke& staerke, int anzahl, std::uint64_t saat,
                                  const std::function<void(const Spiel&, const Schritt&)>& nachDemSchritt = {});

} // namespace wk
