// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/spiel.h"
#include "game/wertung.h"

#include <array>

namespace wk::bench {

// A greedy player for the headless benchmarks, the same as the tests' Automat
// (tests/game/automat.h): roll, put aside the dice of the most frequent face,
// roll again, up to three rolls, then enter the open category that scores most.
// It reaches the game only through the handlers a player and the timers reach.
class Spieler {
public:
    explicit Spieler(Spiel& spiel) : m_spiel(spiel) {}

    // Starts the next roll: a roll of this turn, or the first roll of the next
    // turn after entering the best category. False once the game has ended.
    bool wurfBeginnen() {
        if (m_spiel.beendet()) {
            return false;
        }
        const Spielfeld& feld = m_spiel.feld();
        if (m_spiel.stand().Wuerfe > 0 && (m_spiel.stand().Wuerfe >= 3 || !feld.Command17.Visible)) {
            m_spiel.Kategorie_Click(besteKategorie());
            if (m_spiel.beendet()) {
                return false;
            }
        } else if (m_spiel.stand().Wuerfe > 0) {
            haeufigsteBehalten();
        }
        if (feld.Command17.Visible) {
            m_spiel.Command17_Click();
        } else {
            m_spiel.Command3_Click();
        }
        return m_spiel.feld().Timer1;
    }

    // Plays the game to its end.
    void spielen() {
        while (wurfBeginnen()) {
            while (m_spiel.feld().Timer1 && !m_spiel.beendet()) {
                m_spiel.Timer1_Timer();
            }
        }
    }

private:
    // The open, enabled category that scores most (the lowest cell on a tie).
    int besteKategorie() const {
        const Spielfeld& feld = m_spiel.feld();
        int beste = -1;
        int bestePunkte = -1;
        for (const Kategorie& k : Kategorien) {
            const Knopf& knopf = feld.Kategorien[static_cast<std::size_t>(k.zelle)];
            if (knopf.Visible && knopf.Enabled) {
                const int p = punkte(k, feld.w1, feld.Raus);
                if (p > bestePunkte) {
                    beste = k.zelle;
                    bestePunkte = p;
                }
            }
        }
        return beste;
    }

    void haeufigsteBehalten() {
        const Spielfeld& feld = m_spiel.feld();
        std::array<int, 7> anzahl{};
        for (const auto* boxen : {&feld.w1, &feld.Raus}) {
            for (const Wuerfelbox& b : *boxen) {
                if (b.Visible && !b.Tag.empty()) {
                    ++anzahl[static_cast<std::size_t>(b.Tag[0] - '0')];
                }
            }
        }
        int augen = 6;
        for (int f = 6; f >= 1; --f) {
            if (anzahl[static_cast<std::size_t>(f)] > anzahl[static_cast<std::size_t>(augen)]) {
                augen = f;
            }
        }
        for (int i = 0; i < 5; ++i) {
            const Wuerfelbox& b = m_spiel.feld().w1[static_cast<std::size_t>(i)];
            if (b.Visible && b.Tag == std::to_string(augen)) {
                m_spiel.w1_Click(i);
            }
        }
    }

    Spiel& m_spiel;
};

} // namespace wk::bench
