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

class Ansage;
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
//
// What the window adds to the game (the coach, its announcements, computer
// players) follows the game through the signals below and acts through
// handeln(), as the player's clicks and keys do.
class Form1 : public QWidget {
    Q_OBJECT

public:
    Form1(Spielstand& stand, Zufall& zufall, Meldung& meldung, FensterOben& fensterOben,
          const Artwork& artwork, std::function<void()> auswertung, QWidget* parent = nullptr);
    ~Form1() override;

    const Spiel& spiel() const { return m_spiel; }

    // Does what the control of `zug` does when clicked, if the game's state
    // lets that control take a click now (it is shown and enabled); otherwise
    // nothing, and no signal is sent. Works while the input is locked.
    void handeln(const Schritt& zug);
    // Whether the game could take `zug` now.
    bool moeglich(const Schritt& zug) const;

    // While locked, the game's controls (dice, roll buttons, categories) and
    // their keys take no input from the person at the computer; the window's
    // own controls (keep on top, the coach, closing) keep working.
    void setEingabeGesperrt(bool gesperrt);
    bool eingabeGesperrt() const { return m_eingabeGesperrt; }

    // Ends a roll that tumbles at once: the ticks the animation timer would
    // still deliver run now, unshown, so the dice come to rest with the same
    // values as at the timer's pace; then wurfBeendet(). Nothing while no
    // roll runs.
    void wurfAbschliessen();

    // Adds `text` to the window's key help, for the keys of what a part
    // added to the window brings along.
    void tastenhilfeErgaenzen(const QString& text);

    // Adds the coach (the "Tipp" button, the key H and the advice) with the
    // table it draws on; the table must outlive the window.
    void tippAnbieten(Tipptabelle& tabelle);
    // Whether one of the game's message boxes is open.
    bool meldungOffen() const { return m_meldungOffen; }

    // Has the screen reader speak `text` once, after what the window shows
    // now; nothing while no screen reader listens (see Ansage).
    void ansagen(const QString& text);

    // Five ticks of the animation arrive per interval of this length.
    static constexpr int TimerIntervallMs = 200;
    static constexpr int TakteJeIntervall = 5;

    // The keys of the game window.
    static QString tastenHilfe();
    // Those and the keys of what was added (the coach): the window's tooltip.
    const QString& hilfe() const { return m_hilfe; }

signals:
    // Right before the game handles `zug`, with the state before it.
    void vorDemZug(const wk::Schritt& zug);
    // After the game has handled `zug` and the window shows the result. For
    // the entry that ends a sheet this comes after its message box.
    void nachDemZug(const wk::Schritt& zug);
    // The dice of a roll have come to rest with their new values.
    void wurfBeendet();
    // One of the game's message boxes opens with `text`; the window shows the
    // state the message speaks of. meldungGeschlossen() follows when the
    // player has pressed OK.
    void meldungOeffnet(const QString& text);
    void meldungGeschlossen();

protected:
    // 1-5 click the dice on the table, A-E the dice in the tray, Return or R
    // the visible "Würfeln" button; a hidden or disabled control does nothing.
    // Other keys go to whoever watches the window's events (the coach: H).
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* ereignis) override;
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
    // Up to `takte` ticks of a roll, then the window shows where they led.
    void ticken(int takte);
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
    Ansage* m_ansage = nullptr;
    bool m_meldungOffen = false;
    bool m_eingabeGesperrt = false;
    QString m_hilfe;

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
