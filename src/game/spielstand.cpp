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
    Computer.assign(groesse, 0);
}

int Spielstand::computerDazu(const std::vector<std::string>& namen, int staerke) {
    int dazu = 0;
    for (const std::string& name : namen) {
        if (AnzahlSpieler >= MaxSpieler) {
            break;
        }
        ++AnzahlSpieler;
        Namen.resize(static_cast<std::size_t>(AnzahlSpieler) + 1);
        Gesamtpunkte.resize(Namen.size(), 0.0);
        RundenGespielt.resize(Namen.size(), 0);
        Computer.resize(Namen.size(), 0);
        Namen.back() = name;
        Computer.back() = staerke;
        ++dazu;
    }
    return dazu;
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
