// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strategie/bilanz.h"

#include "game/wertung.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace wk {
namespace {

int zugNummer(Offen offen) { return Kategorienzahl + 1 - std::popcount(offen); }

} // namespace

std::string wahlInWorten(int zelle, const Augenzahl& behalten, std::string_view zeichen) {
    if (zelle >= 0) {
        return "eintragen" + std::string(zeichen) + " " + std::string(Kategorien[zelle].beschriftung);
    }
    std::string t = "behalten" + std::string(zeichen);
    const std::size_t leer = t.size();
    for (int f = 1; f <= 6; ++f) {
        for (int k = 0; k < behalten[f]; ++k) {
            t += ' ' + std::to_string(f);
        }
    }
    return t.size() == leer ? t + " nichts" : t;
}

std::string kommazahl(double wert, bool vorzeichen) {
    const long long zehntel = std::llround(std::abs(wert) * 10);
    std::string text = zehntel == 0 ? "" : wert < 0 ? "-" : vorzeichen ? "+" : "";
    text += std::to_string(zehntel / 10);
    text += ',';
    text += std::to_string(zehntel % 10);
    return text;
}

std::string Blattbilanz::text() const {
    if (!fertig()) {
        return {};
    }
    std::string t = "Blatt: " + std::to_string(*punkte) + " Punkte";
    t += "\nErwartung am Anfang: " + kommazahl(*anfang);
    t += "\nGlück: " + kommazahl(glueck, true);
    t += "\nEntscheidungen: " + kommazahl(preis) + " (" + std::to_string(nichtBeste) + " von " +
         std::to_string(entscheidungen) + " nicht die besten)";
    if (ohneUrteil > 0) {
        t += "\nnicht bewertet: " + std::to_string(ohneUrteil) + " (" + kommazahl(unbewertet, true) + ")";
    }
    return t;
}

std::string Blattbilanz::teuerste(int anzahl) const {
    std::vector<const Bilanzschritt*> teure;
    for (const Bilanzschritt& s : schritte) {
        if (s.art == Bilanzschritt::Art::Entscheidung && s.betrag < -Gleichstand) {
            teure.push_back(&s);
        }
    }
    std::stable_sort(teure.begin(), teure.end(), [](auto* a, auto* b) { return a->betrag < b->betrag; });
    if (teure.empty()) {
        return "Keine Entscheidung hat etwas gekostet.";
    }
    std::string t;
    for (std::size_t i = 0; i < teure.size() && int(i) < anzahl; ++i) {
        const Bilanzschritt& s = *teure[i];
        t += (i ? "\nZug " : "Zug ") + std::to_string(s.zug) + ": " + wahlInWorten(s.zelle, s.behalten) + " statt " +
             wahlInWorten(s.besteZelle, s.besteBehalten) + ", " + kommazahl(s.betrag);
    }
    return t;
}

Blattbilanz& Bilanzbuch::anlegen(const Zugstand& zug) {
    Blattbilanz& b = m_blaetter[{zug.spieler, zug.blatt}];
    if (!b.anfang && m_tabelle && m_tabelle->geloest(AlleOffen)) {
        b.anfang = m_tabelle->wert(AlleOffen, 0);
        if (!b.bisher) {
            // Whatever happened before the table was there is a gap from here.
            b.bisher = b.anfang;
            b.wuerfe = b.schritte.empty() && b.ohneUrteil == 0 ? 0 : -1;
        }
    }
    return b;
}

void Bilanzbuch::schritt(Blattbilanz& b, Bilanzschritt s) {
    (s.art == Bilanzschritt::Art::Wurf ? b.glueck : s.art == Bilanzschritt::Art::Entscheidung ? b.preis : b.unbewertet) +=
        s.betrag;
    b.bisher = s.erwartung;
    b.schritte.push_back(s);
}

void Bilanzbuch::beenden(Blattbilanz& b, int punkte) {
    b.punkte = punkte;
    if (b.fertig()) {
        if (m_zuletzt) {
            // Of a sheet before, only the sums stay.
            std::vector<Bilanzschritt>().swap(m_zuletzt->schritte);
        }
        m_zuletzt = &b;
        ++m_fertige;
    }
}

double Bilanzbuch::entschieden(const Zugstand& zug, const Wahl& beste, double gewaehlt, int zelle) {
    Blattbilanz& b = anlegen(zug);
    const int nr = zugNummer(zug.offen);
    const double nachWurf = zug.gesamt + beste.wert;
    if (b.bisher) {
        // The roll's luck is what it moved the expectation by, from where the
        // last decision of this turn (or the turn's start) left it.
        bool folgt = b.offen == zug.offen && b.wuerfe == zug.wuerfe - 1;
        if (!folgt) {
            double luecke = nachWurf;
            if (zug.wuerfe == 1 && m_tabelle->geloest(zug.offen)) {
                luecke = zug.gesamt + m_tabelle->wert(zug.offen, zug.oben);
                folgt = true;
            }
            schritt(b, {Bilanzschritt::Art::Unbewertet, nr, luecke, luecke - *b.bisher});
        }
        if (folgt) {
            schritt(b, {Bilanzschritt::Art::Wurf, nr, nachWurf, nachWurf - *b.bisher});
        }
    }
    const double preis = std::min(0.0, gewaehlt - beste.wert);
    const double nachher = preis < 0 ? zug.gesamt + gewaehlt : nachWurf;
    Bilanzschritt s{Bilanzschritt::Art::Entscheidung, nr, nachher, nachher - nachWurf, zelle};
    if (zelle < 0) {
        s.behalten = zug.ablage;
    }
    s.besteZelle = beste.zelle;
    if (beste.zelle < 0) {
        s.besteBehalten = m_tabelle->mengen().anzahl(beste.teil);
    }
    if (b.bisher) {
        schritt(b, s);
    } else {
        b.preis += s.betrag;
        b.schritte.push_back(s);
    }
    ++b.entscheidungen;
    b.nichtBeste += preis < -Gleichstand;
    b.offen = zelle >= 0 ? zug.offen & ~(1u << zelle) : zug.offen;
    b.wuerfe = zelle >= 0 ? 0 : zug.wuerfe;
    if (b.offen == 0) {
        beenden(b, zug.gesamt + int(std::lround(gewaehlt)));
    }
    return preis;
}

void Bilanzbuch::ohneUrteil(const Zugstand& zug, int zelle, int punkte) {
    Blattbilanz& b = anlegen(zug);
    ++b.ohneUrteil;
    b.wuerfe = -1;
    if (zelle < 0 || zelle >= Kategorienzahl) {
        return;
    }
    const Regelwerk& regeln = m_tabelle ? m_tabelle->regeln() : Hausregeln;
    const int oben = zelle < 6 ? zug.oben + punkte : zug.oben;
    const bool bonus = zug.oben < regeln.bonusschwelle && oben >= regeln.bonusschwelle;
    const int gesamt = zug.gesamt + punkte + (bonus ? regeln.bonus : 0);
    b.offen = zug.offen & ~(1u << zelle);
    std::optional<double> nachher;
    if (b.offen == 0) {
        nachher = gesamt;
    } else if (m_tabelle && m_tabelle->geloest(b.offen)) {
        nachher = gesamt + m_tabelle->wert(b.offen, oben);
    }
    if (b.bisher && nachher) {
        schritt(b, {Bilanzschritt::Art::Unbewertet, zugNummer(zug.offen), *nachher, *nachher - *b.bisher});
        b.wuerfe = 0;
    }
    if (b.offen == 0) {
        beenden(b, gesamt);
    }
}

const Blattbilanz* Bilanzbuch::blatt(int spieler, int blatt) const {
    const auto it = m_blaetter.find({spieler, blatt});
    return it == m_blaetter.end() ? nullptr : &it->second;
}

double Bilanzbuch::preisImSpiel(int spieler) const {
    double summe = 0;
    for (const auto& [wer, b] : m_blaetter) {
        summe += wer.first == spieler ? b.preis : 0;
    }
    return summe;
}

} // namespace wk
