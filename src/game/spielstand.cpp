// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/spielstand.h"

namespace wk {

void Spielstand::spielerAnlegen(int anzahl) {
    AnzahlSpieler = anzahl;
    const auto groesse = static_cast<std::size_t>(anzahl) + 1;
    Namen.assign(groesse, std::string());
    Gesamtpunkte.assign(groesse, 0.0);
    RundenGespielt.assign(groesse, 0);
}

void Spielstand::spielStarten() {
    AktuellerSpieler = 1;
    for (int p = 1; p <= AnzahlSpieler; ++p) {
        RundenGespielt[static_cast<std::size_t>(p)] = 0;
    }
    Eingetragen = 0;
    Wuerfe = 0;
}

} // namespace wk
