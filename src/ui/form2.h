// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/frmabout.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <string>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace wk {

class Ansage;
class Artwork;
class Eingabe;
class Highscore;
class LinkOeffner;
struct Spielstand;

// The start window: game length, players and their names, the highscore
// lists, the links and the way into the game. It writes the game state that
// a game starts from; opening the game window is left to whoever listens to
// spielStarten().
class Form2 : public QWidget {
    Q_OBJECT

public:
    Form2(Spielstand& stand, Highscore& highscore, Eingabe& eingabe, LinkOeffner& links,
          const Artwork& artwork, QWidget* parent = nullptr);

    // Shows the list on screen again as the store holds it now, in the same
    // form (with " Punkte" while no list button was pressed).
    void listeAktualisieren();

    // The About dialog while it is open, otherwise null.
    FrmAbout* about() const { return m_about; }

protected:
    bool event(QEvent* ereignis) override;

signals:
    // "&Spiel Starten": the counters are reset; the game window is to open.
    void spielStarten();
    // "&Exit": the program is to end at once, writing nothing.
    void programmBeenden();
    // The window has been painted for the first time: emitted once, right
    // after that paint, for work that is not to delay it.
    void gemalt();

private:
    void aufbauen();
    // Icon and link pointers: put in place right after the first paint, so
    // that drawing them never delays the window's first appearance.
    void schmuecken();
    void Form_Load();
    void highscore_anzeigen(int laenge, bool beimLaden);
    void spielerWaehlen(int index);
    void Command1_Click();
    void aboutZeigen();
    void mail_senden(const std::string& adresse, const std::string& betreff, const std::string& text);

    Spielstand& m_stand;
    Highscore& m_highscore;
    Eingabe& m_eingabe;
    LinkOeffner& m_links;
    const Artwork& m_artwork;
    bool m_geschmueckt = false;
    int m_laenge = 1;         // of the list on screen
    bool m_beimLaden = true;  // it shows " Punkte"
    QPointer<FrmAbout> m_about{};
    Ansage* m_ansage = nullptr;  // made when a list is first told

    QLabel* m_label4 = nullptr;
    QLabel* m_label5 = nullptr;
    std::array<QLabel*, 20> m_label3{};
    std::array<QLabel*, 20> m_vorname{};
    std::array<QLabel*, 20> m_punkt{};
    std::array<QRadioButton*, 4> m_option1{};
    std::array<QRadioButton*, 6> m_option2{};
    QButtonGroup* m_spieler = nullptr;
    QPushButton* m_command1 = nullptr;
};

} // namespace wk
