// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "highscore/highscore.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "game/zahltext.h"

namespace wk {

namespace {

constexpr std::string_view AbschnittVorsilbe = "Highscore";
constexpr std::string_view NamensVorsilbe = "Name";
constexpr std::string_view FehlenderWert = "0";
constexpr std::string_view GeloeschtePunkte = "0";
constexpr std::string_view GeloeschterName = "..";
constexpr std::string_view LoeschHinweis = " Highscore wird gelöscht.";
constexpr std::string_view PunkteZusatz = " Punkte";
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

Highscore::Highscore(Einstellungen& einstellungen, Meldung& meldung)
    : m_einstellungen(einstellungen), m_meldung(meldung) {}

void Highscore::Auswertung(const Spielstand& stand) {
    const std::string abschnitt = abschnittFuer(stand.Runden);
    const int spieler = eintragbareSpieler(stand);
    m_einstellungen.gesperrt([&] {
        laden(abschnitt);
        for (int p = 1; p <= spieler; ++p) {
            if (stand.istComputer(p)) {
                continue;  // the lists are people's
            }
            const double ergebnis = stand.Gesamtpunkte[p];
            einfuegen(m_bestenNamen, m_bestenPunkte, einfuegePlatz(m_bestenPunkte, ergebnis),
                      stand.Namen[p], ergebnis);
            speichern(abschnitt);
        }
    });
}

HighscoreAnzeige Highscore::highscore_anzeigen(int laenge, bool beimLaden) {
    laden(abschnittFuer(laenge));

    HighscoreAnzeige anzeige;
    anzeige.titel = titelFuer(laenge);
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        anzeige.namen[platz - 1] = m_bestenNamen[platz];
        anzeige.punkte[platz - 1] = zahlAlsText(m_bestenPunkte[platz]);
        if (beimLaden) {
            anzeige.punkte[platz - 1] += PunkteZusatz;
        }
    }
    return anzeige;
}

void Highscore::highscore_loeschen() {
    m_meldung.zeigen(std::string(LoeschHinweis));
    m_einstellungen.gesperrt([&] {
        for (const int laenge : Spiellaengen) {
            const std::string abschnitt = abschnittFuer(laenge);
            for (int platz = 1; platz <= ListenLaenge; ++platz) {
                m_einstellungen.schreiben(abschnitt, punkteSchluessel(platz),
                                          std::string(GeloeschtePunkte));
                m_einstellungen.schreiben(abschnitt, namensSchluessel(platz),
                                          std::string(GeloeschterName));
            }
        }
    });
}

void Highscore::laden(const std::string& abschnitt) {
    std::vector<std::string> schluessel;
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        schluessel.push_back(punkteSchluessel(platz));
        schluessel.push_back(namensSchluessel(platz));
    }
    const std::vector<std::string> werte =
        m_einstellungen.lesen(abschnitt, schluessel, std::string(FehlenderWert));
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        m_bestenPunkte[platz] = zahlAusText(werte[2 * platz - 2]);
        m_bestenNamen[platz] = werte[2 * platz - 1];
    }
}

void Highscore::speichern(const std::string& abschnitt) {
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        m_einstellungen.schreiben(abschnitt, punkteSchluessel(platz),
                                  zahlAlsText(m_bestenPunkte[platz]));
        m_einstellungen.schreiben(abschnitt, namensSchluessel(platz),
                                  ohneRandLeerzeichen(m_bestenNamen[platz]));
    }
}

} // namespace wk
