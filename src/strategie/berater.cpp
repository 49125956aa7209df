// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strategie/berater.h"

#include "game/wertung.h"
#include "game/zahltext.h"

#include <cmath>

namespace wk {
namespace {

// The value of a die box: 1..6, 0 for an empty Tag, -1 for anything else.
int augen(const Wuerfelbox& box) {
    if (box.Tag.empty()) {
        return 0;
    }
    return box.Tag.size() == 1 && box.Tag[0] >= '1' && box.Tag[0] <= '6' ? box.Tag[0] - '0' : -1;
}

// Counts the dice of five boxes; false unless a box holds a die exactly when
// it is visible.
bool zaehlen(const std::array<Wuerfelbox, 5>& boxen, Augenzahl& anzahl) {
    for (const Wuerfelbox& box : boxen) {
        const int a = augen(box);
        if (a < 0 || (a > 0) != box.Visible) {
            return false;
        }
        ++anzahl[a];
    }
    anzahl[0] = 0;
    return true;
}

Augenzahl zusammen(const Augenzahl& a, const Augenzahl& b) {
    Augenzahl summe{};
    for (int f = 1; f <= 6; ++f) {
        summe[f] = a[f] + b[f];
    }
    return summe;
}

std::string text(const Rat& rat) {
    std::string t;
    switch (rat.lage) {
    case Ratlage::Rat:
        t = wahlInWorten(rat.zelle, rat.behalten, ":");
        t += "\nErwartung: ";
        t += kommazahl(rat.erwartung);
        break;
    case Ratlage::Rechnet:
        t = "Der Tipp wird noch berechnet.";
        break;
    case Ratlage::VorDemWurf:
        t = "Kein Tipp vor dem ersten Wurf.";
        break;
    case Ratlage::WuerfelRollen:
        t = "Kein Tipp, solange die Würfel rollen.";
        break;
    case Ratlage::MeldungOffen:
        t = "Kein Tipp, solange eine Meldung offen ist.";
        break;
    case Ratlage::BlattVoll:
        t = "Kein Tipp: das Blatt ist voll.";
        break;
    }
    if (rat.letzterZug) {
        t += "\nletzter Zug: ";
        t += *rat.letzterZug > -Gleichstand ? std::string("0,0") : kommazahl(*rat.letzterZug);
    }
    return t;
}

} // namespace

Ratlage lesen(const Spielfeld& feld, const Spielstand& stand, Zugstand& zug) {
    zug = Zugstand{};
    zug.spieler = stand.AktuellerSpieler;
    if (stand.AktuellerSpieler >= 0 && std::size_t(stand.AktuellerSpieler) < stand.RundenGespielt.size()) {
        zug.blatt = stand.RundenGespielt[stand.AktuellerSpieler];
    }
    for (int zelle = 0; zelle < Kategorienzahl; ++zelle) {
        if (feld.Kategorien[zelle].Visible) {
            zug.offen |= 1u << zelle;
        } else if (zelle < 6) {
            zug.oben += static_cast<int>(zahlAusText(feld.Zahlen[zelle]));
        }
    }
    zug.gesamt = static_cast<int>(zahlAusText(feld.Zahlen[13]));
    zug.wuerfe = stand.Wuerfe;

    if (stand.Eingetragen >= Kategorienzahl || zug.offen == 0) {
        return Ratlage::BlattVoll;
    }
    if (feld.Timer1) {
        return Ratlage::WuerfelRollen;
    }
    bool eintragbar = false;
    for (const Knopf& knopf : feld.Kategorien) {
        eintragbar = eintragbar || (knopf.Visible && knopf.Enabled);
    }
    if (stand.Wuerfe < 1 || stand.Wuerfe > 3 || !eintragbar || !zaehlen(feld.w1, zug.tisch) ||
        !zaehlen(feld.Raus, zug.ablage)) {
        return Ratlage::VorDemWurf;
    }
    int wuerfel = 0;
    for (int f = 1; f <= 6; ++f) {
        wuerfel += zug.tisch[f] + zug.ablage[f];
    }
    return wuerfel == 5 ? Ratlage::Rat : Ratlage::VorDemWurf;
}

void Berater::tabelleSetzen(const Tabelle& tabelle) {
    m_tabelle = &tabelle;
    m_bewerter.emplace(tabelle);
    m_buch.tabelleSetzen(tabelle);
}

void Berater::entscheiden(const Zugstand& zug, int zelle, int punkte) {
    if (!m_tabelle || !m_tabelle->geloest(zug.offen)) {
        m_letzte.reset();
        m_buch.ohneUrteil(zug, zelle, punkte);
        return;
    }
    const Wuerfelmengen& m = m_tabelle->mengen();
    const int fuenfer = m.nummer(zusammen(zug.tisch, zug.ablage));
    const Zugwerte& werte = m_bewerter->zugwerte(zug.offen, zug.oben);
    const double gewaehlt = zelle >= 0 ? werte.eintrag(fuenfer, zelle) : werte.behalten(m.nummer(zug.ablage), 3 - zug.wuerfe);
    m_letzte = Entscheidung{zug.spieler, zug.blatt, m_buch.entschieden(zug, besteWahl(zug, fuenfer), gewaehlt, zelle)};
}

void Berater::vorDemWuerfeln(const Spielfeld& feld, const Spielstand& stand) {
    Zugstand zug;
    if (feld.Command17.Visible && lesen(feld, stand, zug) == Ratlage::Rat && zug.wuerfe < 3) {
        entscheiden(zug, -1, 0);
    }
}

void Berater::vorDemEintragen(const Spielfeld& feld, const Spielstand& stand, int zelle) {
    if (zelle < 0 || zelle >= Kategorienzahl || !feld.Kategorien[zelle].Visible || !feld.Kategorien[zelle].Enabled) {
        return;  // the click does nothing
    }
    Zugstand zug;
    const int gebracht = punkte(Kategorien[zelle], feld.w1, feld.Raus);
    if (lesen(feld, stand, zug) == Ratlage::Rat) {
        entscheiden(zug, zelle, gebracht);
    } else {
        m_letzte.reset();
        m_buch.ohneUrteil(zug, zelle, gebracht);
    }
}

Wahl Berater::besteWahl(const Zugstand& zug, int fuenfer) const {
    return m_bewerter->beste(zug.offen, zug.oben, zug.wuerfe, fuenfer);
}

void Berater::ratFinden(const Spielfeld& feld, const Zugstand& zug, Rat& rat) const {
    const Wuerfelmengen& m = m_tabelle->mengen();
    const Wahl beste = besteWahl(zug, m.nummer(zusammen(zug.tisch, zug.ablage)));
    rat.zelle = beste.zelle;
    if (beste.zelle < 0) {
        rat.behalten = m.anzahl(beste.teil);
        // Of each face, the tray keeps what it may and the table gives the rest.
        for (int f = 1; f <= 6; ++f) {
            int zuViel = zug.ablage[f] - rat.behalten[f];
            for (int i = 0; i < 5; ++i) {
                if (augen(feld.Raus[i]) == f && zuViel > 0) {
                    rat.zuruecknehmen[i] = true;
                    --zuViel;
                }
                if (augen(feld.w1[i]) == f && zuViel < 0) {
                    rat.ablegen[i] = true;
                    ++zuViel;
                }
            }
        }
    }
    rat.erwartung = zug.gesamt + beste.wert;
}

Rat Berater::rat(const Spielfeld& feld, const Spielstand& stand, bool meldungOffen) const {
    Rat rat;
    Zugstand zug;
    rat.lage = lesen(feld, stand, zug);
    if (meldungOffen) {
        rat.lage = Ratlage::MeldungOffen;
    } else if (rat.lage == Ratlage::Rat && !(m_tabelle && m_tabelle->geloest(zug.offen))) {
        rat.lage = Ratlage::Rechnet;
    }
    if (m_letzte && m_letzte->spieler == zug.spieler && m_letzte->blatt == zug.blatt) {
        rat.letzterZug = m_letzte->preis;
    }
    if (rat.lage == Ratlage::Rat) {
        ratFinden(feld, zug, rat);
    }
    rat.text = text(rat);
    return rat;
}

} // namespace wk
