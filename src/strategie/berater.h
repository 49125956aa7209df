// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/spielfeld.h"
#include "game/spielstand.h"
#include "strategie/bewerter.h"
#include "strategie/bilanz.h"
#include "strategie/tabelle.h"

#include <array>
#include <optional>
#include <string>

namespace wk {

// Whether the coach has advice for the dice as they lie, or why not.
enum class Ratlage {
    Rat,            // advice follows
    Rechnet,        // the table is still being computed
    VorDemWurf,     // nothing rolled in this turn yet, or the turn's entry is made
    WuerfelRollen,  // the dice tumble
    MeldungOffen,   // a message box of the game is open
    BlattVoll,      // the sheet's last category has been entered
};

// Reads the turn into `zug` and tells whether advice can be given on it:
// Ratlage::Rat once a roll of this turn has ended and until its entry, with
// five dice at rest. Never Ratlage::Rechnet or Ratlage::MeldungOffen.
Ratlage lesen(const Spielfeld& feld, const Spielstand& stand, Zugstand& zug);

struct Rat {
    Ratlage lage = Ratlage::Rechnet;
    // With Ratlage::Rat only:
    int zelle = -1;                       // the category to enter now (cell 0..12), or -1: roll again
    Augenzahl behalten{};                 // rolling again: the dice to keep
    std::array<bool, 5> ablegen{};        // the table boxes whose dice to put aside
    std::array<bool, 5> zuruecknehmen{};  // the tray boxes whose dice to take back
    double erwartung = 0;                 // the sheet's final total to expect under best play from here
    // Whenever known: what the player's last decision on this sheet cost in
    // expected points, 0 for a best one, negative otherwise.
    std::optional<double> letzterZug;
    // All of it in words, one line each: "behalten: 2 5 5" / "behalten: nichts" /
    // "eintragen: Full Haus", "Erwartung: 312,4", "letzter Zug: -3,1"; or
    // why there is no advice.
    std::string text;
};

// The coach of one game: advice on request, the price of the players'
// decisions and the balance of each sheet. It only reads the game's state; it
// changes nothing and draws no random numbers. Not thread-safe (it keeps the
// values of the last turn asked about).
class Berater {
public:
    // Until a table is set, the coach only says that it is still computing;
    // so it does for states the table has not solved. The table must outlive
    // the Berater.
    void tabelleSetzen(const Tabelle& tabelle);

    // Call right before the game handles a click on Command17 (rolling again
    // with the tray as it lies) or on the category button of `zelle`: notes
    // the decision, to be judged against the best one of that moment. An entry
    // the coach cannot judge (made while the dice tumble, or before the table
    // is there) leaves no price and counts as unjudged in the sheet's balance.
    void vorDemWuerfeln(const Spielfeld& feld, const Spielstand& stand);
    void vorDemEintragen(const Spielfeld& feld, const Spielstand& stand, int zelle);

    Rat rat(const Spielfeld& feld, const Spielstand& stand, bool meldungOffen = false) const;

    // The balances of the sheets played so far.
    const Bilanzbuch& buch() const { return m_buch; }

private:
    // The price of the last decision and whose sheet it was made on.
    struct Entscheidung {
        int spieler = 0;
        int blatt = 0;
        double preis = 0;
    };

    // Judges the decision, or, where the table cannot, counts it as unjudged
    // with the `punkte` an entry brings.
    void entscheiden(const Zugstand& zug, int zelle, int punkte);
    Wahl besteWahl(const Zugstand& zug, int fuenfer) const;
    void ratFinden(const Spielfeld& feld, const Zugstand& zug, Rat& rat) const;

    const Tabelle* m_tabelle = nullptr;
    std::optional<Bewerter> m_bewerter;
    std::optional<Entscheidung> m_letzte;
    Bilanzbuch m_buch;
};

} // namespace wk
