#pragma once

#include "automat.h"
#include "fakes/fakemeldung.h"
#include "game/spiel.h"

#include <string>

// A game as the program sets it up: players chosen and named on the start
// window, the start button pressed, the game window loaded.
struct Tisch {
    Tisch(int spieler, int runden) {
        stand.Runden = runden;
        stand.spielerAnlegen(spieler);
        for (int p = 1; p <= spieler; ++p) {
            stand.Namen[p] = "Spieler " + std::to_string(p);
        }
        stand.spielStarten();
        spiel.Form_Load();
    }

    wk::Spielstand stand;
    wk::Zufall zufall;
    FakeMeldung meldung;
    int auswertungen = 0;
    wk::Spiel spiel{stand, zufall, meldung, [this] { ++auswertungen; }};
    Automat automat{spiel};
};
