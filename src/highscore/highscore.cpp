// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "highscore/highscore.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <tuple>
#include <vector>

#include "game/zahltext.h"

namespace wk {

namespace {

constexpr std::string_view AbschnittVorsilbe = "Highscore";
constexpr std::string_view NamensVorsilbe = "Name";
constexpr std::string_view FehlenderWert = "0";
constexpr std::string_view GeloeschterName = "..";
constexpr std::string_view LoeschHinweis = " Highscore wird gelöscht.";
constexpr std::string_view PunkteZusatz = " Punkte";
// What the player is told when work could not be entered now: [clearing][in
// the journal]. In lines that fit a message box.
constexpr std::string_view Verzoegert[2][2] = {
    {"Die Ergebnisse konnten nicht gespeichert werden,\nauch nicht vorläufig. Das Spiel versucht es weiter,\n"
     "solange es läuft; wird es vorher beendet,\ngehen sie verloren.",
     "Die Ergebnisse konnten noch nicht gespeichert werden.\nSie sind vorgemerkt und werden eingetragen, sobald\n"
     "die Highscore-Datei wieder beschrieben werden kann."},
    {"Die Highscore-Listen konnten nicht gelöscht werden,\nauch nicht vorläufig. Das Spiel versucht es weiter,\n"
     "solange es läuft; wird es vorher beendet,\nunterbleibt das Löschen.",
     "Die Highscore-Listen konnten noch nicht\ngelöscht werden. Das Löschen ist vorgemerkt\n"
     "und geschieht, sobald die Highscore-Datei\nwieder beschrieben werden kann."}};
constexpr std::string_view Leerzeichen = " \t\r\n\f\v";

std::string abschnittFuer(int laenge) {
    return std::string(AbschnittVorsilbe) + std::to_string(laenge);
}

std::string punkteSchluessel(int platz) { return std::to_string(platz); }

std::string namensSchluessel(int platz) {
    return std::string(NamensVorsilbe) + std::to_string(platz);
}

std::string titelFuer(int laenge) {
    return "Highscore bei " + std::to_string(laenge) + " Rundenspiel.";
}

std::string ohneRandLeerzeichen(std::string_view text) {
    const auto anfang = text.find_first_not_of(Leerzeichen);
    if (anfang == std::string_view::npos) {
        return {};
    }
    const auto ende = text.find_last_not_of(Leerzeichen);
    return std::string(text.substr(anfang, ende - anfang + 1));
}

// How many players of `stand` can be entered: AnzahlSpieler, cut down to the
// players that have both a name and a total.
int eintragbareSpieler(const Spielstand& stand) {
    const auto letzterIndex = [](const auto& liste) {
        return static_cast<int>(liste.size()) - 1;
    };
    return std::max(0, std::min({stand.AnzahlSpieler, letzterIndex(stand.Namen),
                                 letzterIndex(stand.Gesamtpunkte)}));
}

// The lists of `laengen`, read in one go.
std::vector<Bestenliste> listenLesen(const auto& speicher, const std::vector<int>& laengen) {
    std::vector<std::string> schluessel;
    for (const int laenge : laengen) {
        for (int platz = 1; platz <= ListenLaenge; ++platz) {
            schluessel.push_back(abschnittFuer(laenge) + "/" + punkteSchluessel(platz));
            schluessel.push_back(abschnittFuer(laenge) + "/" + namensSchluessel(platz));
        }
    }
    const std::vector<std::string> werte = speicher.lesen(schluessel, std::string(FehlenderWert));
    std::vector<Bestenliste> listen(laengen.size());
    for (std::size_t i = 0; i < listen.size(); ++i) {
        for (int platz = 1; platz <= ListenLaenge; ++platz) {
            listen[i].punkte[platz] = zahlAusText(werte[(i * ListenLaenge + platz - 1) * 2]);
            listen[i].namen[platz] = werte[(i * ListenLaenge + platz - 1) * 2 + 1];
        }
    }
    return listen;
}

// The four lists, and the list of `laenge` last (also when it is one of them).
std::vector<Bestenliste> listenUnd(const auto& speicher, int laenge) {
    std::vector<int> laengen(Spiellaengen.begin(), Spiellaengen.end());
    if (std::find(laengen.begin(), laengen.end(), laenge) == laengen.end()) laengen.push_back(laenge);
    std::vector<Bestenliste> listen = listenLesen(speicher, laengen);
    listen.push_back(listen[std::size_t(std::find(laengen.begin(), laengen.end(), laenge) - laengen.begin())]);
    return listen;
}

} // namespace

int einfuegePlatz(const Punkteliste& punkte, double ergebnis) {
    if (!std::isfinite(ergebnis)) {
        return 0;
    }
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        if (punkte[platz] < ergebnis) {
            return platz;
        }
    }
    return 0;
}

void einfuegen(Namensliste& namen, Punkteliste& punkte, int platz, const std::string& name,
               double ergebnis) {
    if (platz < 1 || platz > ListenLaenge) {
        return;
    }
    for (int k = ListenLaenge; k > platz; --k) {
        namen[k] = namen[k - 1];
        punkte[k] = punkte[k - 1];
    }
    namen[platz] = name;
    punkte[platz] = ergebnis;
}

void anwenden(Bestenlisten& listen, const Auftrag& auftrag) {
    if (auftrag.loeschen) {
        for (Bestenliste& liste : listen) {
            liste.namen.fill(std::string(GeloeschterName));
            liste.punkte.fill(0.0);
        }
        return;
    }
    const auto laenge = std::find(Spiellaengen.begin(), Spiellaengen.end(), auftrag.runden);
    if (laenge == Spiellaengen.end()) return;
    Bestenliste& liste = listen[std::size_t(laenge - Spiellaengen.begin())];
    for (const auto& [name, ergebnis] : auftrag.ergebnisse) {
        einfuegen(liste.namen, liste.punkte, einfuegePlatz(liste.punkte, ergebnis), name, ergebnis);
    }
}

void eintragen(Eintraege& eintraege, std::vector<Auftrag> auftraege) {
    std::sort(auftraege.begin(), auftraege.end(),
              [](const Auftrag& a, const Auftrag& b) { return std::tie(a.zeit, a.id) < std::tie(b.zeit, b.id); });
    const std::vector<Bestenliste> gelesen = listenUnd(eintraege, Spiellaengen.front());
    Bestenlisten listen;
    std::copy_n(gelesen.begin(), listen.size(), listen.begin());
    const Bestenlisten vorher = listen;
    for (const Auftrag& auftrag : auftraege) anwenden(listen, auftrag);
    for (std::size_t i = 0; i < listen.size(); ++i) {
        if (listen[i].namen == vorher[i].namen && listen[i].punkte == vorher[i].punkte) continue;
        const std::string abschnitt = abschnittFuer(Spiellaengen[i]);
        for (int platz = 1; platz <= ListenLaenge; ++platz) {
            eintraege.schreiben(abschnitt, punkteSchluessel(platz), zahlAlsText(listen[i].punkte[platz]));
            eintraege.schreiben(abschnitt, namensSchluessel(platz), ohneRandLeerzeichen(listen[i].namen[platz]));
        }
    }
    for (const Auftrag& auftrag : auftraege) {
        for (const auto& [name, wert] : auftrag.setzen) {
            const auto strich = name.find('/');
            const std::string abschnitt = name.substr(0, strich);
            if (strich != std::string::npos && strich > 0 && !abschnitt.starts_with(AbschnittVorsilbe)) {
                eintraege.schreiben(abschnitt, name.substr(strich + 1), wert);
            }
        }
    }
}

Highscore::Highscore(Einstellungen& einstellungen, Meldung& meldung)
    : m_einstellungen(einstellungen), m_meldung(meldung) {
    m_einstellungen.anmelden(*this);
}

Highscore::~Highscore() { m_einstellungen.abmelden(*this); }

void Highscore::Auswertung(const Spielstand& stand) {
    Auftrag auftrag;
    auftrag.runden = stand.Runden;
    const int spieler = eintragbareSpieler(stand);
    for (int p = 1; p <= spieler; ++p) {
        if (!stand.istComputer(p)) {  // the lists are people's
            auftrag.ergebnisse.emplace_back(stand.Namen[p], stand.Gesamtpunkte[p]);
        }
    }
    m_unterwegs.insert(m_einstellungen.vormerken(std::move(auftrag)));
}

HighscoreAnzeige Highscore::highscore_anzeigen(int laenge, bool beimLaden) {
    // All four in one go, so that the next list button finds them in the store's cache.
    m_liste = listenUnd(m_einstellungen, laenge).back();

    HighscoreAnzeige anzeige;
    anzeige.titel = titelFuer(laenge);
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        anzeige.namen[platz - 1] = m_liste.namen[platz];
        anzeige.punkte[platz - 1] = zahlAlsText(m_liste.punkte[platz]);
        if (beimLaden) {
            anzeige.punkte[platz - 1] += PunkteZusatz;
        }
    }
    return anzeige;
}

void Highscore::highscore_loeschen() {
    m_meldung.zeigen(std::string(LoeschHinweis));
    Auftrag auftrag;
    auftrag.loeschen = true;
    m_unterwegs.insert(m_einstellungen.vormerken(std::move(auftrag)));
}

void Highscore::eingetragen(const std::vector<Auftrag>& auftraege) {
    bool ergebnisse = false;
    for (const Auftrag& auftrag : auftraege) {
        m_unterwegs.erase(auftrag.id);
        ergebnisse = ergebnisse || !auftrag.loeschen;
    }
    if (ergebnisse && m_neueErgebnisse) m_neueErgebnisse();
}

void Highscore::verzoegert(const Auftrag& auftrag, bool vorgemerkt) {
    if (m_unterwegs.erase(auftrag.id) == 0) return;  // another object's work, or told already
    m_meldung.zeigen(std::string(Verzoegert[auftrag.loeschen][vorgemerkt]));
}

} // namespace wk
