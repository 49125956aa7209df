// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/meldung.h"
#include "game/spielfeld.h"
#include "game/spielstand.h"
#include "game/zufall.h"

#include <functional>
#include <string>

namespace wk {

// What a player does, as a click does it: roll with the "Würfeln" button that
// is shown, put the die of table box `index` (0..4) aside, take the die of
// tray box `index` back, or enter the dice in the category of cell `index`
// (0..12).
enum class Aktion { Wuerfeln, Ablegen, Zuruecknehmen, Eintragen };
struct Schritt {
    Aktion aktion = Aktion::Wuerfeln;
    int index = -1;
    bool operator==(const Schritt&) const = default;
};

// The rules and the turn flow of one game, played on the game window's state.
// A window creates one Spiel per game, forwards every click and every tick of
// the roll animation to it, and afterwards draws feld().
//
// The handlers behave as the window's controls do: a click on a hidden or
// disabled control, and anything that arrives while one of the game's
// message boxes is open or after the game has ended, is ignored.
class Spiel {
public:
    // `auswertung` is called once, after the closing message of the last
    // sheet; it enters the results and ends the game window. The Spiel must
    // not be used after it has run (the window that owns it may be gone).
    Spiel(Spielstand& stand, Zufall& zufall, Meldung& meldung, std::function<void()> auswertung);

    const Spielfeld& feld() const { return m_feld; }
    const Spielstand& stand() const { return m_stand; }
    bool beendet() const { return m_beendet; }

    void Form_Load();
    void Command3_Click();
    void Command17_Click();
    // One tick of any of the five animation timers; ignored while they are off.
    void Timer1_Timer();
    void w1_Click(int i);                 // 0..4
    void Raus_Click(int i);               // 0..4
    void Kategorie_Click(int zelle);      // the button of category cell 0..12
    // The handler of the hidden button Command2, which no player can reach.
    void Command2_Click();
    // The handler of the control `schritt` names; Command17 lies in front of
    // Command3 and takes the click when both show.
    void klicken(const Schritt& schritt);

    // What the category of cell 0..12 would score with the dice as they lie
    // now; entering it writes exactly this.
    int wuerdeBringen(int zelle) const;

    // Ticks from the start of a roll to its end.
    static constexpr int TakteJeWurf = 28;

private:
    void neu_wuerfeln();
    void gewonnen();
    void rechnen();
    void wuerfelReset(int i);
    void wurfStarten();
    void meldungZeigen(const std::string& text);
    void nochFrei();
    bool gesperrt() const { return m_meldungOffen || m_beendet; }

    Spielstand& m_stand;
    Zufall& m_zufall;
    Meldung& m_meldung;
    std::function<void()> m_auswertung;
    Spielfeld m_feld;
    bool m_meldungOffen = false;
    bool m_beendet = false;
};

} // namespace wk
