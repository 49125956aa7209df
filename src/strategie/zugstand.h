// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/tabelle.h"

namespace wk {

// A turn as the coach sees it in the game window's state.
struct Zugstand {
    Offen offen = 0;     // the categories still open
    int oben = 0;        // the upper sum so far
    int gesamt = 0;      // the sheet's grand total so far, bonus included
    int wuerfe = 0;      // rolls made in this turn, 1..3
    Augenzahl tisch{};   // the dice on the table
    Augenzahl ablage{};  // the dice in the tray
    int spieler = 0;     // whose sheet: AktuellerSpieler
    int blatt = 0;       // which of his sheets: his RundenGespielt
};

} // namespace wk
