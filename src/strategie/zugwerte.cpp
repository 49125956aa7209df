// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strategie/zugwerte.h"

#include "strategie/zugrechnung.h"

#include <type_traits>
#include <vector>

namespace wk {

Zugwerte::Zugwerte(const Tabelle& tabelle, Offen offen, int oben) : m_tabelle(tabelle), m_offen(offen), m_oben(oben) {
    using Eine = std::integral_constant<int, 1>;
    const Wuerfelmengen& m = tabelle.mengen();
    std::array<double, Wuerfelmengen::Fuenfer> e3{};
    std::size_t stufen = 1;
    for (int zelle = 0; zelle < 6; ++zelle) {
        stufen = std::max(stufen, tabelle.stufen(zelle).size());
    }
    std::vector<double> hilfe(Kategorienzahl * stufen);
    zug::endwerte(tabelle, offen, oben, 1, Eine{}, e3.data(), hilfe.data());

    // One roll left: the last roll decides, then the best entry.
    std::copy(e3.begin(), e3.end(), m_einWurf.begin());
    zug::mitteln(m, m_einWurf.data(), Eine{});

    // Two rolls left: after the next roll, enter or keep the best part.
    std::array<double, Wuerfelmengen::Alle> danach = m_einWurf;
    zug::teilmaxima(m, danach.data(), Eine{});
    zug::besserWaehlen(e3.data(), danach.data(), Eine{});
    std::copy_n(danach.begin(), Wuerfelmengen::Fuenfer, m_zweiWuerfe.begin());
    zug::mitteln(m, m_zweiWuerfe.data(), Eine{});
}

double Zugwerte::eintrag(int fuenfer, int zelle) const {
    return m_tabelle.eintrag(m_offen, m_oben, zelle, m_tabelle.punkte(fuenfer, zelle));
}

int Zugwerte::besteTeilmenge(int fuenfer, int wuerfeUebrig) const {
    const Wuerfelmengen& m = m_tabelle.mengen();
    const auto& werte = wuerfeUebrig >= 2 ? m_zweiWuerfe : m_einWurf;
    int beste = -1;
    for (const int k : m.teile(fuenfer)) {
        if (beste < 0 || werte[k] > werte[beste] || (werte[k] == werte[beste] && m.groesse(k) > m.groesse(beste))) {
            beste = k;
        }
    }
    return beste;
}

} // namespace wk
