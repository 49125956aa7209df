// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/gegner.h"
#include "ui/gegnereinstellung.h"

#include <QObject>

#include <array>
#include <map>
#include <optional>

class QFrame;
class QPushButton;
class QTimer;

namespace wk {

class Form1;
class Tipptabelle;

// Plays the sheets of the computer players in a game window (the players
// whose Spielstand::Computer is set), through Form1::handeln as a person's
// clicks do, and only through it: the same dice, timer and rules. While one
// plays, the person's game controls are locked; the window's own controls
// (keep on top, the coach, closing) keep working, and the messages between
// sheets wait for the person's OK as ever.
//
// Pace, all of it by timers (nothing waits on the GUI thread): each step of
// a computer player is one die moved, a roll or an entry; the category it
// enters is marked a moment before. Durations are multiples of the window's
// animation interval (Timer1, 200 ms), so a window with a quicker animation
// paces its computer players quicker too:
//   zuschauen  the dice tumble as for a person; two intervals (0.4 s) between
//              steps, four with the category marked;
//   schnell    the tumbling at a twentieth of that, the pauses at a tenth:
//              a sheet in about five seconds;
//   sofort     the roll's ticks run unshown (Form1::wurfAbschliessen), the
//              steps follow each other in slices of about 2 ms, and the
//              window is drawn at the end: the same ticks, so the same dice
//              as at the other paces.
// The key T or the button "schneller" switches to the next faster pace for
// the rest of the sheet; each computer sheet starts at the pace chosen.
// While the coach's advice is shown (H), the next step waits a while for
// the person to read it. A computer player waits for the coach's table
// (Tipptabelle::fertig) when it is not there yet.
class Computerspieler : public QObject {
    Q_OBJECT

public:
    // Asks for the table if nobody has; the table must outlive the window.
    Computerspieler(Form1& fenster, Tipptabelle& tabelle, Tempo tempo);

    // The pace of the computer's sheet in progress, or the one chosen.
    Tempo tempo() const { return m_tempo; }
    // The next faster pace, for the rest of this sheet.
    void schneller();

protected:
    // The key T of the game window.
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    struct Blatt {
        int spieler = 0;
        int nummer = 0;  // his RundenGespielt
        int grundintervall = 200;  // Timer1's interval as the sheet began
        bool operator==(const Blatt& b) const { return spieler == b.spieler && nummer == b.nummer; }
    };

    bool computerAmZug() const;
    void weiter();
    void schritt();
    void sofortSchritte();
    bool einSchritt();
    void blattBeginnen();
    void blattBeenden();
    void tempoAnwenden();
    void planen(int teile);
    void markieren(int zelle);
    Gegner& gegner();

    Form1& m_fenster;
    Tipptabelle& m_tabelle;
    Tempo m_gewaehlt;
    Tempo m_tempo;
    std::map<int, Gegner> m_gegner;  // by player number
    std::optional<Blatt> m_blatt;    // the computer's sheet in progress
    int m_markiert = -1;             // the category marked for the next entry
    bool m_tippGelesen = false;      // the step waited once for the advice shown
    QTimer* m_takt = nullptr;
    QPushButton* m_knopf = nullptr;
    QFrame* m_marke = nullptr;
};

} // namespace wk
