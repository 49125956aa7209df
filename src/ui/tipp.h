// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/berater.h"

#include <QObject>

class QLabel;
class QPushButton;

namespace wk {

class Form1;
class Tippmarken;
class Tipptabelle;
struct Zug;

// The coach in the game window: a small "Tipp" button on free felt, the
// advice in a panel beside it (accessible name "Tipp", the advice's text as
// its accessible description) and marks on the felt: the table dice to put
// aside, the tray dice to take back and then the roll button, or the category
// button to press. Asked for with the button or the key H, it shows the
// advice for the dice as they lie; the next action of the player hides it.
// It only reads the game, and judges each decision as the window reports it.
class Tipp : public QObject {
    Q_OBJECT

public:
    Tipp(Form1& fenster, Tipptabelle& tabelle);

    void zeigen();
    void verbergen();
    bool sichtbar() const;

    const Rat& rat() const { return m_rat; }

protected:
    // The key H of the game window.
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void vorDemZug(const Zug& zug);

    Form1& m_fenster;
    Berater m_berater;
    Rat m_rat;
    QPushButton* m_knopf = nullptr;
    QLabel* m_anzeige = nullptr;
    Tippmarken* m_marken = nullptr;
};

} // namespace wk
