#pragma once

#include "game/spiel.h"
#include "game/wertung.h"

#include <functional>

// Plays a game headless through the handlers a player and the timers reach,
// as a greedy player would: roll, keep the dice of the most frequent face,
// roll again, and enter the open category that scores most.
class Automat {
public:
    explicit Automat(wk::Spiel& spiel) : m_spiel(spiel) {}

    // Runs the animation until the roll has ended; returns the ticks used.
    int wurfAbwarten() {
        int takte = 0;
        while (m_spiel.feld().Timer1 && !m_spiel.beendet()) {
            m_spiel.Timer1_Timer();
            ++takte;
        }
        return takte;
    }

    // The open, enabled category that scores most with the dice as they lie
    // (the lowest cell on a tie), or -1 when none can be entered.
    int besteKategorie() const {
        const wk::Spielfeld& feld = m_spiel.feld();
        int beste = -1;
        int bestePunkte = -1;
        for (const wk::Kategorie& k : wk::Kategorien) {
            const wk::Knopf& knopf = feld.Kategorien[k.zelle];
            if (!knopf.Visible || !knopf.Enabled) {
                continue;
            }
            const int p = wk::punkte(k, feld.w1, feld.Raus);
            if (p > bestePunkte) {
                beste = k.zelle;
                bestePunkte = p;
            }
        }
        return beste;
    }

    // Puts aside every table die that shows the most frequent face.
    void haeufigsteBehalten() {
        const wk::Spielfeld& feld = m_spiel.feld();
        int anzahl[7] = {};
        for (const auto* boxen : {&feld.w1, &feld.Raus}) {
            for (const wk::Wuerfelbox& b : *boxen) {
                if (b.Visible && !b.Tag.empty()) {
                    ++anzahl[b.Tag[0] - '0'];
                }
            }
        }
        int face = 6;
        for (int f = 6; f >= 1; --f) {
            if (anzahl[f] > anzahl[face]) {
                face = f;
            }
        }
        for (int i = 0; i < 5; ++i) {
            const wk::Wuerfelbox& b = m_spiel.feld().w1[i];
            if (b.Visible && b.Tag == std::to_string(face)) {
                m_spiel.w1_Click(i);
            }
        }
    }

    // One whole turn: up to three rolls, then one category.
    void zug() {
        const wk::Spielfeld& feld = m_spiel.feld();
        if (feld.Command17.Visible) {
            m_spiel.Command17_Click();
        } else {
            m_spiel.Command3_Click();
        }
        wurfAbwarten();
        while (m_spiel.stand().Wuerfe < 3 && feld.Command17.Visible && !m_spiel.beendet()) {
            haeufigsteBehalten();
            m_spiel.Command17_Click();
            wurfAbwarten();
        }
        if (vorDemEintragen) {
            vorDemEintragen();
        }
        m_spiel.Kategorie_Click(besteKategorie());
    }

    // Plays until the game has ended; returns the number of turns played.
    int spielen(int hoechstens = 100000) {
        int zuege = 0;
        while (!m_spiel.beendet() && zuege < hoechstens) {
            zug();
            ++zuege;
        }
        return zuege;
    }

    std::function<void()> vorDemEintragen;

private:
    wk::Spiel& m_spiel;
};
