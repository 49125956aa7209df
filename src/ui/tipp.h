// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/berater.h"

#include <QObject>

class QLabel;
class QPushButton;

namespace wk {

class Bilanzanzeige;
class Form1;
class Tippmarken;
class Tipptabelle;
struct Schritt;

// The coach in the game window: a small "Tipp" button on free felt, the
// advice in a panel beside it (accessible name "Tipp", the advice's text as
// its accessible description) and marks on the felt: the table dice to put
// aside, the tray dice to take back and then the roll button, or the category
// button to press. Asked for with the button or the key H, it shows the
// advice for the dice as they lie; the next action of the player hides it.
// It only reads the game, and judges each decision as the window reports it.
//
// When a sheet's last category is entered the panel shows the sheet's
// balance without being asked, with its course on the felt, and the screen
// reader speaks it; both stay until the next action (the next sheet's first
// roll), and H shows them again until then.
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
    void vorDemZug(const Schritt& zug);
    // A message box opens: after the entry that ended a sheet, its balance.
    void meldungOeffnet();
    void bilanzZeigen();
    void panelZeigen(const QString& text, bool bilanz);

    Form1& m_fenster;
    Berater m_berater;
    Rat m_rat;
    QPushButton* m_knopf = nullptr;
    QLabel* m_anzeige = nullptr;
    Tippmarken* m_marken = nullptr;
    Bilanzanzeige* m_bilanzen = nullptr;
    int m_bilanzenGezeigt = 0;  // finished sheets whose balance was shown
    bool m_bilanzOffen = false; // a sheet's balance is due until the next action
};

} // namespace wk
