// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/bewerter.h"
#include "strategie/zugstand.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wk {

// Prices closer to 0 than this are ties with the best decision.
inline constexpr double Gleichstand = 1e-9;

// One step of a sheet's course: a roll, a decision after a roll, or a change
// the coach could not judge (a decision made while the dice tumbled or before
// the table was there).
struct Bilanzschritt {
    enum class Art { Wurf, Entscheidung, Unbewertet };
    Art art = Art::Wurf;
    int zug = 1;           // the sheet's turn, 1..13
    double erwartung = 0;  // the sheet's final total to expect after this step
    // What the step changed that expectation by: a roll's luck, a decision's
    // price (0 for a best one, negative otherwise), or the unjudged change.
    double betrag = 0;
    // Entscheidung only: the category entered (cell 0..12), or -1 with the
    // dice `behalten` kept; the best choice of the moment likewise.
    int zelle = -1;
    Augenzahl behalten{};
    int besteZelle = -1;
    Augenzahl besteBehalten{};
};

// The balance of one sheet: the value of a fresh sheet, plus the luck of its
// rolls, plus the prices of its decisions (each 0 or negative), plus what the
// coach could not judge, is the sheet's total.
struct Blattbilanz {
    std::optional<double> anfang;  // the value of a fresh sheet; unknown while the table is not there
    double glueck = 0;
    double preis = 0;
    double unbewertet = 0;
    int entscheidungen = 0;  // judged ones, one per roll
    int nichtBeste = 0;      // of those, the ones that cost something
    int ohneUrteil = 0;      // decisions the coach could not judge
    std::optional<int> punkte;  // the total, once the sheet's last category is entered
    // The course: kept for the sheets in play and the one finished last.
    std::vector<Bilanzschritt> schritte;

    bool fertig() const { return anfang && punkte; }

    // One line each: "Blatt: 287 Punkte", "Erwartung am Anfang: 332,1",
    // "Glück: +3,4", "Entscheidungen: -48,5 (6 von 26 nicht die besten)" and,
    // when some were not judged, "nicht bewertet: 1 (+4,2)". Only for a
    // finished sheet; empty otherwise.
    std::string text() const;

    // Up to `anzahl` decisions that cost most, the costliest first, each as
    // "Zug 7: eintragen 3er Pasch statt behalten 6 6, -9,2"; one per line.
    // "Keine Entscheidung hat etwas gekostet." when none cost anything.
    std::string teuerste(int anzahl = 3) const;

    // Where the next judged step continues this course.
    std::optional<double> bisher;  // the expectation after the last step known
    Offen offen = AlleOffen;       // the categories open after it
    int wuerfe = 0;                // rolls made when it was a part kept; 0 after an entry, -1 unknown
};

// The balances of a game's sheets, kept by the coach as the decisions come:
// each judged decision with the best choice and the values the advice is
// computed from, so nothing is computed twice.
class Bilanzbuch {
public:
    // The table must outlive the book.
    void tabelleSetzen(const Tabelle& tabelle) { m_tabelle = &tabelle; }

    // A decision judged after roll `zug.wuerfe`: `beste` the best choice of
    // the moment, `gewaehlt` the value of the one made (Bewerter values, the
    // upper sum and total of `zug` not included), `zelle` the category entered
    // or -1 for the tray's dice kept. Returns its price (0 or negative).
    double entschieden(const Zugstand& zug, const Wahl& beste, double gewaehlt, int zelle);

    // A decision the coach could not judge: the category of cell `zelle`
    // entered for `punkte` (as the game scores the dice as they lie), or with
    // `zelle` -1, dice kept and rolled again.
    void ohneUrteil(const Zugstand& zug, int zelle, int punkte);

    // The balance of the sheet `blatt` (0 for the first) of player `spieler`;
    // nothing before its first decision.
    const Blattbilanz* blatt(int spieler, int blatt) const;
    // The sheet finished last, or nothing; and how many have been finished.
    const Blattbilanz* zuletztFertig() const { return m_zuletzt; }
    int fertige() const { return m_fertige; }
    // The prices of all decisions of `spieler` in this game, over all sheets.
    double preisImSpiel(int spieler) const;

private:
    Blattbilanz& anlegen(const Zugstand& zug);
    void schritt(Blattbilanz& b, Bilanzschritt s);
    void beenden(Blattbilanz& b, int punkte);

    const Tabelle* m_tabelle = nullptr;
    std::map<std::pair<int, int>, Blattbilanz> m_blaetter;
    Blattbilanz* m_zuletzt = nullptr;
    int m_fertige = 0;
};

// A choice in words: "eintragen Full Haus" for the category of cell `zelle`
// (0..12), or with `zelle` -1 "behalten 2 5 5" / "behalten nichts" for the
// dice kept; `zeichen` follows the verb (":" for "behalten: 2 5 5").
std::string wahlInWorten(int zelle, const Augenzahl& behalten, std::string_view zeichen = "");

// One decimal with a comma, rounded half away from zero: "312,4", "-3,1";
// with `vorzeichen` a positive value gets a "+". A value that rounds to 0 is
// "0,0".
std::string kommazahl(double wert, bool vorzeichen = false);

} // namespace wk
