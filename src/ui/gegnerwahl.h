// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/gegnereinstellung.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;

namespace wk {

// The computer players on the start window: three combo boxes beside
// "&Exit", each with a visible label bound to it (which gives it its name
// for a screen reader and its access key), reached by Tab after "&Exit":
// "Computergegner" ("keiner", "1" .. "5"), "Stärke" (weakest first) and
// "Tempo" ("zuschauen", "schnell", "sofort"). The strengths and paces
// describe themselves in their tooltips. When the people chosen and the
// computer players would be more than six, a line below says how many join.
//
// The boxes are made right after the start window's first paint, so that
// they never delay it; gebaut() tells when they are there.
class Gegnerwahl : public QWidget {
    Q_OBJECT

public:
    // Lies in the free space of the start window `startfenster` beside
    // "&Exit"; learns the number of people from its player options.
    Gegnerwahl(QWidget& startfenster, const Gegnerauswahl& auswahl);

    Gegnerauswahl auswahl() const { return m_auswahl; }
    // Shows `auswahl` without reporting a change.
    void setAuswahl(const Gegnerauswahl& auswahl);

signals:
    // The person changed the choice.
    void geaendert(const wk::Gegnerauswahl& auswahl);
    // The boxes are there (sent once).
    void gebaut();

protected:
    // The start window's first paint.
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void aufbauen();
    void zeigen();
    void hinweisZeigen();

    QWidget& m_startfenster;
    Gegnerauswahl m_auswahl;
    int m_menschen = 0;  // people chosen so far on the start window
    bool m_geplant = false;
    QComboBox* m_anzahl = nullptr;  // null until built
    QComboBox* m_staerke = nullptr;
    QComboBox* m_tempo = nullptr;
    QLabel* m_hinweis = nullptr;
};

// The names of the computer players of `auswahl`: the strength's name,
// numbered when there are several ("Geselle 1", "Geselle 2").
std::vector<std::string> computerNamen(const Gegnerauswahl& auswahl);

} // namespace wk
