// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strategie/gegner.h"

#include "strategie/berater.h"

#include <cmath>
#include <vector>

namespace wk {
namespace {

// The first box holding a die showing `augen`, or -1.
int boxMit(const std::array<Wuerfelbox, 5>& boxen, int augen) {
    for (int i = 0; i < 5; ++i) {
        if (boxen[i].Visible && boxen[i].Tag.size() == 1 && boxen[i].Tag[0] - '0' == augen) {
            return i;
        }
    }
    return -1;
}

bool rollknopf(const Spielfeld& feld) {
    return (feld.Command17.Visible && feld.Command17.Enabled) || (feld.Command3.Visible && feld.Command3.Enabled);
}

} // namespace

Gegner::Gegner(const Staerke& staerke, std::uint64_t saat) : m_temperatur(staerke.temperatur), m_zufall(saat) {}

void Gegner::tabelleSetzen(const Tabelle& tabelle) {
    m_bewerter.emplace(tabelle);
    m_entscheidung.reset();
}

std::optional<Wahl> Gegner::entscheidung() const {
    return m_entscheidung ? std::optional(m_entscheidung->wahl) : std::nullopt;
}

Wahl Gegner::waehlen(Offen offen, int oben, int wuerfe, int fuenfer) {
    const Wahl beste = m_bewerter->beste(offen, oben, wuerfe, fuenfer);
    const double t = m_temperatur;
    if (t <= 0) {
        return beste;
    }
    // Each choice weighs exp(-loss / t); one draw picks among the weights.
    const std::vector<Wahl> wahlen = m_bewerter->alle(offen, oben, wuerfe, fuenfer);
    std::vector<double> gewicht(wahlen.size());
    double summe = 0;
    for (std::size_t i = 0; i < wahlen.size(); ++i) {
        gewicht[i] = std::exp((wahlen[i].wert - beste.wert) / t);
        summe += gewicht[i];
    }
    double u = m_zufall.naechste() * summe;
    for (std::size_t i = 0; i < wahlen.size(); ++i) {
        if (u < gewicht[i]) {
            return wahlen[i];
        }
        u -= gewicht[i];
    }
    return beste;  // reached only through rounding
}

std::optional<Schritt> Gegner::naechster(const Spielfeld& feld, const Spielstand& stand) {
    Zugstand zug;
    switch (lesen(feld, stand, zug)) {
    case Ratlage::Rat:
        break;
    case Ratlage::VorDemWurf:
        if (rollknopf(feld)) {
            return Schritt{Aktion::Wuerfeln};
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
    if (!m_bewerter || !m_bewerter->tabelle().geloest(zug.offen)) {
        return std::nullopt;
    }
    const Wuerfelmengen& m = m_bewerter->tabelle().mengen();
    Augenzahl alle{};
    for (int f = 1; f <= 6; ++f) {
        alle[f] = zug.tisch[f] + zug.ablage[f];
    }
    const int fuenfer = m.nummer(alle);
    // One decision per roll: the dice moved while carrying it out leave it as it is.
    const std::array<int, 6> lage{zug.spieler, zug.blatt, int(zug.offen), zug.oben, zug.wuerfe, fuenfer};
    if (!m_entscheidung || m_entscheidung->lage != lage) {
        m_entscheidung = Entscheidung{lage, waehlen(zug.offen, zug.oben, zug.wuerfe, fuenfer)};
    }
    const Wahl& wahl = m_entscheidung->wahl;
    if (wahl.zelle >= 0) {
        return Schritt{Aktion::Eintragen, wahl.zelle};
    }
    // The tray gives back what the part does not keep, then takes what it
    // lacks from the table, a die at a time.
    const Augenzahl& behalten = m.anzahl(wahl.teil);
    for (int f = 1; f <= 6; ++f) {
        if (zug.ablage[f] > behalten[f]) {
            return Schritt{Aktion::Zuruecknehmen, boxMit(feld.Raus, f)};
        }
    }
    for (int f = 1; f <= 6; ++f) {
        if (zug.ablage[f] < behalten[f]) {
            return Schritt{Aktion::Ablegen, boxMit(feld.w1, f)};
        }
    }
    return Schritt{Aktion::Wuerfeln};
}

void ausfuehren(Spiel& spiel, const Schritt& schritt) {
    spiel.klicken(schritt);
    while (spiel.feld().Timer1 && !spiel.beendet()) {
        spiel.Timer1_Timer();
    }
}

std::vector<double> probeblaetter(const Tabelle& tabelle, const Staerke& staerke, int anzahl, std::uint64_t saat,
                                  const std::function<void(const Spiel&, const Schritt&)>& nachDemSchritt) {
    struct Stumm : Meldung {
        void zeigen(const std::string&) override {}
    } stumm;
    Spielstand stand;
    stand.Runden = anzahl;
    stand.spielerAnlegen(1);
    stand.spielStarten();
    Zufall zufall(saat);
    Spiel spiel(stand, zufall, stumm, {});
    spiel.Form_Load();
    Gegner gegner(staerke, saat * 0x9E3779B97F4A7C15ULL + 1);
    gegner.tabelleSetzen(tabelle);
    std::vector<double> punkte;
    double bisher = 0;
    while (!spiel.beendet()) {
        const std::optional<Schritt> schritt = gegner.naechster(spiel.feld(), stand);
        if (!schritt) {
            break;  // a state the table does not solve
        }
        ausfuehren(spiel, *schritt);
        if (nachDemSchritt) {
            nachDemSchritt(spiel, *schritt);
        }
        if (schritt->aktion == Aktion::Eintragen && (stand.Eingetragen == 0 || spiel.beendet())) {
            punkte.push_back(stand.Gesamtpunkte[1] - bisher);
            bisher = stand.Gesamtpunkte[1];
        }
    }
    return punkte;
}

} // namespace wk
