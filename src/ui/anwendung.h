// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/spielstand.h"
#include "game/zufall.h"
#include "highscore/highscore.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/gegnereinstellung.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace wk {

class Artwork;
class Eingabe;
class Einstellungen;
class FensterOben;
class LinkOeffner;
class Meldung;
class Tipptabelle;

// The services the program asks of the desktop; main() builds the real ones.
struct Dienste {
    Meldung& meldung;
    Eingabe& eingabe;
    LinkOeffner& links;
    FensterOben& fensterOben;
    Einstellungen& einstellungen;
};

// The program from its first window to its last: it owns the game state and
// the random generator for the whole run, shows the start window, opens a game
// window for each game and, after the game, enters the results and shows a
// fresh start window.
class Anwendung : public QObject {
    Q_OBJECT

public:
    Anwendung(const Dienste& dienste, const Artwork& artwork);
    // With the coach in every game window. The table is asked for once the
    // first start window has been painted, so that it is there by the first
    // roll; it must outlive the Anwendung.
    Anwendung(const Dienste& dienste, const Artwork& artwork, Tipptabelle& tipptabelle);
    ~Anwendung() override;

    // Shows the start window.
    void starten();

    Form1* form1() const { return m_form1; }
    Form2* form2() const { return m_form2; }
    const Spielstand& stand() const { return m_stand; }

signals:
    // "&Exit" was pressed: every window is gone and the program is to end now.
    void beendet();

private:
    void startfensterZeigen();
    void spielStarten();
    void Auswertung();
    void beenden();
    // The computer players: chosen on each start window, joining each game.
    void gegnerAnbieten(Form2& startfenster);
    void gegnerEinsetzen(Form1& spielfenster);

    Dienste m_dienste;
    const Artwork& m_artwork;
    Tipptabelle* m_tipptabelle = nullptr;
    Spielstand m_stand{};
    Zufall m_zufall{};
    Highscore m_highscore;
    QPointer<Form2> m_form2{};
    QPointer<Form1> m_form1{};
    Gegnerauswahl m_gegner{};
    bool m_gegnerGelesen = false;    // from the settings store, once per run
    bool m_gegnerGeaendert = false;  // by the person, since it was last stored
    std::unique_ptr<Tipptabelle> m_gegnertabelle;  // without the coach's table
};

} // namespace wk
