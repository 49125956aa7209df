// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strategie/wuerfelmengen.h"

namespace wk {
namespace {

// The counts 0..5 of the six faces as the digits of a number in base 6.
int code(const Augenzahl& anzahl) {
    int c = 0;
    for (int f = 6; f >= 1; --f) {
        c = c * 6 + anzahl[f];
    }
    return c;
}

} // namespace

Wuerfelmengen::Wuerfelmengen() {
    m_nummer.fill(-1);
    int n = 0;
    for (int groesse = 5; groesse >= 0; --groesse) {
        // Every way to spread `groesse` dice over the six faces.
        Augenzahl a{};
        const auto verteilen = [&](auto& selbst, int f, int rest) -> void {
            if (f == 6) {
                a[6] = rest;
                m_anzahl[n] = a;
                m_groesse[n] = groesse;
                m_nummer[code(a)] = static_cast<short>(n);
                ++n;
                return;
            }
            for (int k = rest; k >= 0; --k) {
                a[f] = k;
                selbst(selbst, f + 1, rest - k);
            }
        };
        verteilen(verteilen, 1, groesse);
    }

    for (int i = 0; i < Alle; ++i) {
        m_mit[i].fill(-1);
        for (int f = 1; f <= 6; ++f) {
            Augenzahl b = m_anzahl[i];
            if (m_groesse[i] < 5) {
                ++b[f];
                m_mit[i][f] = nummer(b);
            }
            b = m_anzahl[i];
            if (b[f] > 0) {
                --b[f];
                m_ohne[i][m_ohneAnzahl[i]++] = nummer(b);
            }
        }
    }

    for (int i = 0; i < Fuenfer; ++i) {
        m_teileAb[i] = static_cast<int>(m_teile.size());
        Augenzahl teil{};
        const auto durchgehen = [&](auto& selbst, int f) -> void {
            if (f > 6) {
                m_teile.push_back(nummer(teil));
                return;
            }
            for (teil[f] = m_anzahl[i][f]; teil[f] >= 0; --teil[f]) {
                selbst(selbst, f + 1);
            }
        };
        durchgehen(durchgehen, 1);
    }
    m_teileAb[Fuenfer] = static_cast<int>(m_teile.size());

    // Five dice thrown: 5! / (c1! ... c6!) of the 6^5 ordered outcomes.
    constexpr std::array<int, 6> fakultaet{1, 1, 2, 6, 24, 120};
    for (int i = 0; i < Fuenfer; ++i) {
        int wege = 120;
        for (int f = 1; f <= 6; ++f) {
            wege /= fakultaet[m_anzahl[i][f]];
        }
        m_wahrscheinlichkeit[i] = wege / 7776.0;
    }
}

int Wuerfelmengen::nummer(const Augenzahl& anzahl) const {
    int summe = 0;
    for (int f = 1; f <= 6; ++f) {
        if (anzahl[f] < 0 || anzahl[f] > 5) {
            return -1;
        }
        summe += anzahl[f];
    }
    return summe <= 5 ? m_nummer[code(anzahl)] : -1;
}

} // namespace wk
