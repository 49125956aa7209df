// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "game/meldung.h"
#include "game/spielstand.h"
#include "highscore/einstellungen.h"

namespace wk {

// Places per list; place 1 is the best result.
inline constexpr int ListenLaenge = 20;

// The game lengths in Runden that have a list, in the order the lists are
// cleared and offered on the start window.
inline constexpr std::array<int, 4> Spiellaengen{1, 5, 10, 25};

// One list in memory: index n holds place n (1..ListenLaenge). Index 0 is
// never stored; it is only the source of the shift when a result enters at
// place 1.
using Punkteliste = std::array<double, ListenLaenge + 1>;
using Namensliste = std::array<std::string, ListenLaenge + 1>;

// The place 1..ListenLaenge at which `ergebnis` enters the list: the first
// place whose points are strictly smaller. 0 when no place is smaller, so a
// result equal to a stored one goes below it, a result equal to place 20
// stays out, and 0 never enters a list of zeros. A result that is not a
// finite number never enters. punkte[0] is not looked at.
int einfuegePlatz(const Punkteliste& punkte, double ergebnis);

// Puts `name` and `ergebnis` at `platz`: the places from `platz` to 19 move
// down by one and the old place 20 is lost. A `platz` outside
// 1..ListenLaenge leaves both lists unchanged.
void einfuegen(Namensliste& namen, Punkteliste& punkte, int platz, const std::string& name,
               double ergebnis);

// What the start window shows for one list. Element n-1 belongs to place n.
struct HighscoreAnzeige {
    std::string titel;                                  // "Highscore bei 5 Rundenspiel."
    std::array<std::string, ListenLaenge> namen;        // as stored, untrimmed
    std::array<std::string, ListenLaenge> punkte;       // "245" or "245 Punkte"
};

// One list in memory, as Highscore::BestenNamen/BestenPunkte hold it.
struct Bestenliste {
    Namensliste namen{};
    Punkteliste punkte{};
};

// The four lists, in the order of Spiellaengen.
using Bestenlisten = std::array<Bestenliste, Spiellaengen.size()>;

// Applies `auftrag` to `listen`: a clearing writes ".." and 0 into every
// place of all four, results enter the list of their game length one player
// after another (einfuegePlatz, einfuegen). A game length without a list
// changes nothing.
void anwenden(Bestenlisten& listen, const Auftrag& auftrag);

// Enters `auftraege`, the oldest first (by zeit, then id), into the lists
// of `eintraege`, in the caller's transaction: all four lists are read in
// one go, and each list that changed is written back whole, points key
// before name key, places rising, names trimmed, points as whole numbers.
// Their other entries (Auftrag::setzen) are written after the lists, in the
// same order; one that names a highscore section or no section is passed
// over.
void eintragen(Eintraege& eintraege, std::vector<Auftrag> auftraege);

// The four highscore lists in the settings store, one section per game
// length ("Highscore1", "Highscore5", ...). Every value is a text: key "n"
// holds the points of place n as a whole number, key "Name" followed by n its
// name. A missing key reads as "0", names included. The lists are never sorted; the
// insertion keeps them falling.
//
// BestenNamen and BestenPunkte hold the list that was shown last.
class Highscore final : private Einstellungen::Beobachter {
public:
    // Both references must outlive this object.
    Highscore(Einstellungen& einstellungen, Meldung& meldung);
    ~Highscore() override;
    Highscore(const Highscore&) = delete;
    Highscore& operator=(const Highscore&) = delete;

    // Hands the totals of players 1..AnzahlSpieler, in player order, to the
    // store as one Auftrag for the list of `stand.Runden`, and returns at
    // once; the store enters them (eintragen()) as soon as it can. Players
    // beyond the end of `Namen` or `Gesamtpunkte` are skipped, and so are
    // computer players (Spielstand::Computer): the lists are people's. Shows
    // no message while the results are entered; when the store reports that
    // it could not enter them now, tells the player once what happens to them.
    void Auswertung(const Spielstand& stand);

    // Loads the list of `laenge` into BestenNamen/BestenPunkte, all from one
    // state of the store and without waiting for another program, and
    // returns its captions. `beimLaden` is true when the start window is
    // being loaded; then every points caption carries " Punkte". Names are
    // shown as stored. A length without a list reads as an empty list.
    HighscoreAnzeige highscore_anzeigen(int laenge, bool beimLaden);

    // Tells the player that the lists are being cleared, waits for OK, then
    // hands the clearing of all four lists to the store, like Auswertung.
    // The lists in memory stay as they are.
    void highscore_loeschen();

    // `neu` runs whenever a save has entered results, of this program or of
    // another one (not after a clearing alone).
    void beiNeuenErgebnissen(std::function<void()> neu) { m_neueErgebnisse = std::move(neu); }

    const Namensliste& BestenNamen() const { return m_liste.namen; }
    const Punkteliste& BestenPunkte() const { return m_liste.punkte; }

private:
    void eingetragen(const std::vector<Auftrag>& auftraege) override;
    void verzoegert(const Auftrag& auftrag, bool vorgemerkt) override;

    Einstellungen& m_einstellungen;
    Meldung& m_meldung;
    Bestenliste m_liste{};
    std::set<std::string> m_unterwegs{};  // ids of the work handed over and not yet told about
    std::function<void()> m_neueErgebnisse{};
};

} // namespace wk
