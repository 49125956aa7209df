// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace wk {

class Form1;
struct Schritt;

// What the game window tells a blind player through the screen reader, each
// once, after the window shows it:
//   a roll once the dice have settled  "Gewürfelt: 2, leer, 3, 5, 6. Ablage: 6. Noch 1 Wurf."
//                                      (the table places 1 to 5, "leer" where no die
//                                      lies; the tray A to E up to its last die)
//   a die moved                        "6 in die Ablage." / "6 zurück auf den Tisch."
//   an entry                           "Full Haus: 25 Punkte eingetragen. Gesamt: 143."
//                                      and "Bonus erreicht." when it brings the bonus;
//                                      the last of a sheet as its message box opens
//   L                                  the dice as a roll is told, then
//                                      "Gesamt: 143. Noch 7 Kategorien offen."
//   F1, and once when the window opens the window's key help (its tooltip)
// A computer player's sheet is told by its entries only, as a person's are;
// at the pace "sofort" only by its total once the sheet is full:
//                                      "Blatt von Könner: 287 Punkte."
// It follows the game only through the window's signals and takes its keys
// with an event filter.
class Vorleser : public QObject {
    Q_OBJECT

public:
    explicit Vorleser(Form1& fenster);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void vorDemZug(const Schritt& zug);
    void nachDemZug(const Schritt& zug);
    void wurfBeendet();
    void eintragAnsagen();
    QString lage() const;

    // Who moves: a person, or a computer player told by its entries or, at
    // "sofort", by its sheet's total.
    enum class Wer { Mensch, Computer, ComputerSofort };
    Wer wer() const;

    Form1& m_fenster;
    bool m_geoeffnet = false;
    std::optional<int> m_eintrag;  // the cell being entered, until told
    bool m_bonusVorher = false;
    QString m_wuerfel;  // the value of the die being moved
    Wer m_wer = Wer::Mensch;  // who makes the entry being told
    QString m_name;           // his name
};

} // namespace wk
