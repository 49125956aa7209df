// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/fakemeldung.h"
#include "programm.h"
#include "strategie/berater.h"
#include "strategie/gegner.h"

#include <QString>

#include <cmath>
#include <vector>

// Whole sheets without a window, through the game's handlers, the coach
// judging every decision as the game window has it do.

// What is wrong with the balance the coach kept of a finished sheet of
// `punkte`, made of `wuerfe` rolls, or nothing: its parts must add up to the
// total, one decision judged per roll, nothing left unjudged.
inline QString bilanzFehler(const wk::Blattbilanz* b, double punkte, int wuerfe) {
    if (!b || !b->fertig() || b->punkte != int(punkte)) return "no balance of the sheet";
    if (std::abs(*b->anfang + b->glueck + b->preis + b->unbewertet - punkte) > 1e-9) return "the balance does not add up";
    if (b->entscheidungen != wuerfe || b->ohneUrteil != 0 || b->unbewertet != 0) return "not every roll judged once";
    return {};
}

// One player's game of `anzahl` sheets, its dice seeded with `saat`, and a
// coach with `tabelle`.
struct Einzelspiel {
    Einzelspiel(const wk::Tabelle& tabelle, int anzahl, std::uint64_t saat)
        : stand(einSpieler(anzahl)), zufall(saat), spiel(stand, zufall, meldung, {}) {
        spiel.Form_Load();
        berater.tabelleSetzen(tabelle);
    }
    wk::Spielstand stand;
    wk::Zufall zufall;
    FakeMeldung meldung;
    wk::Spiel spiel;
    wk::Berater berater;
};

// Plays `anzahl` sheets through the game's handlers as one player who always
// follows the advice, the coach judging each decision as the window has it
// do. Adds the points and the balance's luck of each sheet to `punkte` and
// `glueck`. Returns the first illegal advice or wrong balance, or nothing.
inline QString spielen(const wk::Tabelle& tabelle, int anzahl, std::uint64_t saat, std::vector<double>& punkte, std::vector<double>& glueck) {
    Einzelspiel e(tabelle, anzahl, saat);
    wk::Spielstand& stand = e.stand;
    wk::Spiel& spiel = e.spiel;
    wk::Berater& berater = e.berater;
    const wk::Spielfeld& f = spiel.feld();
    for (double bisher = 0, wuerfe = 0; !spiel.beendet();) {
        berater.vorDemWuerfeln(f, stand);
        f.Command17.Visible ? spiel.Command17_Click() : spiel.Command3_Click();
        ++wuerfe;
        while (f.Timer1) spiel.Timer1_Timer();
        const wk::Rat r = berater.rat(f, stand);
        if (r.lage != wk::Ratlage::Rat) return "no advice after a roll: " + QString::fromStdString(r.text);
        if (r.zelle < 0 && stand.Wuerfe >= 3) return "a fourth roll";
        if (r.zelle >= 0) {
            if (!f.Kategorien[r.zelle].Visible || !f.Kategorien[r.zelle].Enabled) return "a used category";
            berater.vorDemEintragen(f, stand, r.zelle);
            spiel.Kategorie_Click(r.zelle);
            if (stand.Eingetragen == 0 || spiel.beendet()) {  // a sheet is finished
                punkte.push_back(stand.Gesamtpunkte[1] - bisher);
                bisher = stand.Gesamtpunkte[1];
                const wk::Blattbilanz* b = berater.buch().zuletztFertig();
                const QString fehler = bilanzFehler(b, punkte.back(), int(wuerfe));
                if (!fehler.isEmpty()) return fehler;
                if (b->preis != 0 || b->nichtBeste != 0) return "following the advice cost something";
                glueck.push_back(b->glueck);
                wuerfe = 0;
            }
            continue;
        }
        for (int i = 0; i < 5; ++i) {
            if (r.ablegen[i]) spiel.w1_Click(i);
            if (r.zuruecknehmen[i]) spiel.Raus_Click(i);
        }
        // A mark the game cannot follow leaves the tray short of the advice.
        wk::Augenzahl ablage{};
        for (const wk::Wuerfelbox& b : f.Raus) ablage[b.Visible ? b.Tag[0] - '0' : 0] += b.Visible;
        if (ablage != r.behalten) return "the marks do not keep " + QString::fromStdString(r.text);
    }
    return {};
}

// The same for `anzahl` sheets of a computer player of `staerke`: its own
// choices, which may cost, judged by the coach. Returns the first wrong
// balance, or nothing.
inline QString bilanzenEinesGegners(const wk::Tabelle& tabelle, const wk::Staerke& staerke, int anzahl, std::uint64_t saat) {
    Einzelspiel e(tabelle, anzahl, saat);
    wk::Spielstand& stand = e.stand;
    wk::Spiel& spiel = e.spiel;
    wk::Berater& berater = e.berater;
    wk::Gegner gegner(staerke, saat + 1);
    gegner.tabelleSetzen(tabelle);
    int wuerfe = 0, fertige = 0;
    for (double bisher = 0; !spiel.beendet();) {
        const std::optional<wk::Schritt> s = gegner.naechster(spiel.feld(), stand);
        if (!s) return "the computer player has no step";
        if (s->aktion == wk::Aktion::Wuerfeln) {
            berater.vorDemWuerfeln(spiel.feld(), stand);
            ++wuerfe;
        }
        if (s->aktion == wk::Aktion::Eintragen) berater.vorDemEintragen(spiel.feld(), stand, s->index);
        wk::ausfuehren(spiel, *s);
        if (berater.buch().fertige() == fertige) continue;
        fertige = berater.buch().fertige();
        const double punkte = stand.Gesamtpunkte[1] - bisher;
        bisher = stand.Gesamtpunkte[1];
        const wk::Blattbilanz* b = berater.buch().zuletztFertig();
        const QString fehler = bilanzFehler(b, punkte, wuerfe);
        if (!fehler.isEmpty()) return fehler;
        if (staerke.temperatur == 0 ? b->preis != 0 : b->nichtBeste == 0) return "a price where there is none, or none where there is";
        wuerfe = 0;
    }
    return fertige == anzahl ? QString() : QStringLiteral("%1 sheets judged of %2").arg(fertige).arg(anzahl);
}
