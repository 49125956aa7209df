// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/fakemeldung.h"
#include "game/spiel.h"

#include <string>

// Plays a game headless through the handlers a player and the timers reach,
// as a greedy player would: roll, keep the dice of the most frequent face,
// roll again, and enter the open category that scores most.
class Automat {
public:
    explicit Automat(wk::Spiel& spiel) : m_spiel(spiel) {}

    // Runs the animation until the roll has ended; returns the ticks used.
    int wurfAbwarten() {
        int takte = 0;
        for (; m_spiel.feld().Timer1 && !m_spiel.beendet(); ++takte) m_spiel.Timer1_Timer();
        return takte;
    }

    // Clicks the visible roll button and waits for the roll to end.
    void wuerfeln() {
        m_spiel.feld().Command17.Visible ? m_spiel.Command17_Click() : m_spiel.Command3_Click();
        wurfAbwarten();
    }

    // The enterable category that scores most now (the lowest cell on a tie), or -1.
    int besteKategorie() const {
        int beste = -1;
        for (int zelle = 0; zelle < 13; ++zelle) {
            const wk::Knopf& k = m_spiel.feld().Kategorien[zelle];
            if (k.Visible && k.Enabled && (beste < 0 || m_spiel.wuerdeBringen(zelle) > m_spiel.wuerdeBringen(beste))) beste = zelle;
        }
        return beste;
    }

    // One whole turn: up to three rolls, keeping the most frequent face (the
    // higher on a tie), then one category.
    void zug() {
        wuerfeln();
        while (m_spiel.stand().Wuerfe < 3 && m_spiel.feld().Command17.Visible && !m_spiel.beendet()) {
            // How many dice show face s, on the table and in the tray: what the
            // upper category of s (cell s - 1) would score, divided by s.
            int anzahl[7] = {}, seite = 6;
            for (int s = 1; s <= 6; ++s) anzahl[s] = m_spiel.wuerdeBringen(s - 1) / s;
            for (int s = 5; s >= 1; --s) seite = anzahl[s] > anzahl[seite] ? s : seite;
            for (int i = 0; i < 5; ++i) {
                if (m_spiel.feld().w1[i].Tag == std::to_string(seite)) m_spiel.w1_Click(i);  // a hidden box has no value
            }
            wuerfeln();
        }
        m_spiel.Kategorie_Click(besteKategorie());
    }

    // Plays until the game has ended; returns the number of turns played.
    int spielen() {
        int zuege = 0;
        for (; !m_spiel.beendet() && zuege < 100000; ++zuege) zug();
        return zuege;
    }

private:
    wk::Spiel& m_spiel;
};

// A game as the program sets it up: players "Spieler 1".. chosen on the start
// window, the start button pressed, the game window loaded.
struct Tisch {
    Tisch(int spieler, int runden) {
        stand.Runden = runden;
        stand.spielerAnlegen(spieler);
        for (int p = 1; p <= spieler; ++p) stand.Namen[p] = "Spieler " + std::to_string(p);
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
