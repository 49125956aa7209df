// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/meldung.h"
#include "game/spiel.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace wk {

class Artwork;
class FensterOben;
class Tipp;
class Tipptabelle;
class Wuerfelfeld;

// The game window. It shows the state of its Spiel and forwards every click
// and every tick of the roll animation to it; the rules live in Spiel.
//
// The window is created for one game. `auswertung` runs once when the last
// sheet has been finished and its closing message confirmed; it is expected to
// enter the results and close this window.
class Form1 : public QWidget {
    Q_OBJECT

public:
    Form1(Spielstand& stand, Zufall& zufall, Meldung& meldung, FensterOben& fensterOben,
          const Artwork& artwork, std::function<void()> auswertung, QWidget* parent = nullptr);
    ~Form1() override;

    const Spiel& spiel() const { return m_spiel; }

    // Adds the coach (the "Tipp" button, the key H and the advice) with the
    // table it draws on; the table must outlive the window.
    void tippAnbieten(Tipptabelle& tabelle);
    // Whether one of the game's message boxes is open.
    bool meldungOffen() const { return m_meldungOffen; }

    // Five ticks of the animation arrive per interval of this length.
    static constexpr int TimerIntervallMs = 200;
    static constexpr int TakteJeIntervall = 5;

    // The keys of the game window, also shown as its tooltip.
    static QString tastenHilfe();

protected:
    // 1-5 click the dice on the table, A-E the dice in the tray, Return or R
    // the visible "Würfeln" button; a hidden or disabled control does nothing.
    // H shows the coach's advice, if the window has the coach.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Shows the game's state before a message box opens, so the player sees
    // the sheet the message speaks of.
    class FensterMeldung : public Meldung {
    public:
        FensterMeldung(Form1& fenster, Meldung& meldung) : m_fenster(fenster), m_meldung(meldung) {}
        void zeigen(const std::string& text) override;

    private:
        Form1& m_fenster;
        Meldung& m_meldung;
    };

    void aufbauen();
    void darstellen();
    void ausfuehren(const std::function<void()>& handlung);
    void kategorienZeigen();

private slots:
    // One interval of the animation timer: up to five ticks, then a repaint.
    void takt();

private:
    const Artwork& m_artwork;
    FensterOben& m_fensterOben;
    FensterMeldung m_meldung;
    Spiel m_spiel;
    QTimer* m_timer = nullptr;  // Timer1: the five animation timers as one
    Tipp* m_tipp = nullptr;
    bool m_meldungOffen = false;

    std::array<QLabel*, 17> m_zahlen{};
    std::array<QLabel*, 4> m_label1{};
    QLabel* m_label3 = nullptr;
    std::array<QLabel*, 6> m_label2{};
    std::array<QLabel*, 6> m_punkt{};
    std::array<QPushButton*, 13> m_kategorien{};
    QPushButton* m_command3 = nullptr;
    QPushButton* m_command17 = nullptr;
    QPushButton* m_command2 = nullptr;
    QCheckBox* m_check1 = nullptr;
    std::array<Wuerfelfeld*, 5> m_w1{};
    std::array<Wuerfelfeld*, 5> m_raus{};
};

} // namespace wk
