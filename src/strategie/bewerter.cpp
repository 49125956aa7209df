// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strategie/bewerter.h"

#include <limits>

namespace wk {

const Zugwerte& Bewerter::zugwerte(Offen offen, int oben) const {
    if (!m_zug || m_zug->offen() != offen || m_zug->oben() != oben) {
        m_zug.emplace(m_tabelle, offen, oben);
    }
    return *m_zug;
}

Wahl Bewerter::beste(Offen offen, int oben, int wuerfe, int fuenfer) const {
    if (m_beste && m_beste->offen == offen && m_beste->oben == oben && m_beste->wuerfe == wuerfe &&
        m_beste->fuenfer == fuenfer) {
        return m_beste->wahl;
    }
    const Zugwerte& werte = zugwerte(offen, oben);
    Wahl beste{-std::numeric_limits<double>::infinity()};
    for (int zelle = 0; zelle < Kategorienzahl; ++zelle) {
        if ((offen & (1u << zelle)) && werte.eintrag(fuenfer, zelle) > beste.wert) {
            beste = {werte.eintrag(fuenfer, zelle), zelle};
        }
    }
    if (wuerfe < 3) {
        const int uebrig = 3 - wuerfe;
        const int teil = werte.besteTeilmenge(fuenfer, uebrig);
        if (werte.behalten(teil, uebrig) > beste.wert) {
            beste = {werte.behalten(teil, uebrig), -1, teil};
        }
    }
    m_beste = Beste{offen, oben, wuerfe, fuenfer, beste};
    return beste;
}

std::vector<Wahl> Bewerter::alle(Offen offen, int oben, int wuerfe, int fuenfer) const {
    const Zugwerte& werte = zugwerte(offen, oben);
    std::vector<Wahl> wahlen;
    for (int zelle = 0; zelle < Kategorienzahl; ++zelle) {
        if (offen & (1u << zelle)) {
            wahlen.push_back({werte.eintrag(fuenfer, zelle), zelle});
        }
    }
    if (wuerfe < 3) {
        for (const int teil : m_tabelle.mengen().teile(fuenfer)) {
            wahlen.push_back({werte.behalten(teil, 3 - wuerfe), -1, teil});
        }
    }
    return wahlen;
}

} // namespace wk
