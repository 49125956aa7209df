// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace wk {

// A finished game's results, the clearing of all four lists, or other
// entries to set, on its way into the store. It may wait and be entered
// later, by this program or another one; its id makes sure that it is
// entered once.
struct Auftrag {
    std::string id;             // letters and digits, unique among all programs; given by the store
    std::int64_t zeit = 0;      // when it was made, in ms since 1970; orders the work of several programs
    bool loeschen = false;      // a clearing of all four lists; else results
    int runden = 0;             // the game length of the results; 0 for none
    std::vector<std::pair<std::string, double>> ergebnisse;  // name and points, in player order
    // Entries outside the highscore lists ("Abschnitt/Schlüssel" and its
    // text), such as a choice kept for the next start.
    std::vector<std::pair<std::string, std::string>> setzen;

    bool operator==(const Auftrag&) const = default;
};

// The entries of the store as one transaction sees them: texts by section
// and key. Keys are read as "Abschnitt/Schlüssel", the way QSettings names a
// key of a section.
class Eintraege {
public:
    virtual ~Eintraege() = default;

    // The texts of `schluessel`, in that order; `vorgabe` stands for a key
    // that is missing or holds no text. Writes made so far are seen.
    virtual std::vector<std::string> lesen(const std::vector<std::string>& schluessel,
                                           const std::string& vorgabe) const = 0;
    virtual void schreiben(const std::string& abschnitt, const std::string& schluessel,
                           const std::string& wert) = 0;
};

// The per-user settings store of the application. Reading never waits for
// another program. Work is handed over with vormerken() and entered by the
// store under its lock, at once or later; the store never loses it while
// the disk can take a journal of it, and says when it could not enter it.
// Implementations never throw.
class Einstellungen {
public:
    // Told on the thread that made the store, between its events.
    class Beobachter {
    public:
        virtual ~Beobachter() = default;
        // A save has entered `auftraege`: this program's or other programs'.
        virtual void eingetragen(const std::vector<Auftrag>& auftraege) = 0;
        // `auftrag`, handed to this store, could not be entered now. It
        // waits in a journal beside the store (`vorgemerkt`) or, when not
        // even that could be written, in memory only. Told once per Auftrag.
        virtual void verzoegert(const Auftrag& auftrag, bool vorgemerkt) = 0;
    };

    virtual ~Einstellungen() = default;

    // The texts of `schluessel` ("Abschnitt/Schlüssel"), all from one saved
    // state of the store; `vorgabe` for a key that is missing or unreadable.
    virtual std::vector<std::string> lesen(const std::vector<std::string>& schluessel,
                                           const std::string& vorgabe) const = 0;

    // Hands `auftrag` over to be entered (by eintragen()) and returns the id
    // it is known by. Returns at once.
    virtual std::string vormerken(Auftrag auftrag) = 0;

    // Enters the work that other programs left waiting, without waiting.
    virtual void nachtragen() {}

    virtual void anmelden(Beobachter& beobachter) = 0;
    virtual void abmelden(Beobachter& beobachter) = 0;
};

} // namespace wk
