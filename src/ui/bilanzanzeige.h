// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/bilanz.h"

#include <QObject>

#include <array>

class QLabel;
class QWidget;

namespace wk {

class Form1;
class Verlauf;

// What the game window shows of the sheets' balances besides the coach's
// panel: the course of a finished sheet on the felt below the dice, and,
// while the game's closing message is open, in its place each player's price
// of his decisions over the whole game (elements "Bilanz Spieler N", text
// "Entscheidungen: -61,2", beside the player's name).
class Bilanzanzeige : public QObject {
public:
    explicit Bilanzanzeige(Form1& fenster);

    void blattZeigen(const Blattbilanz& bilanz);
    void spielZeigen(const Bilanzbuch& buch);
    void verbergen();

private:
    Form1& m_fenster;
    Verlauf* m_verlauf = nullptr;
    QWidget* m_spiel = nullptr;
    std::array<QLabel*, 6> m_namen{};
    std::array<QLabel*, 6> m_preise{};
};

} // namespace wk
