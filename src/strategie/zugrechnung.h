// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/tabelle.h"

#include <algorithm>
#include <limits>
#include <type_traits>

// The steps of one turn, for several upper sums side by side: every array
// holds one row per multiset of dice (numbered as in Wuerfelmengen), `breite`
// values a row, value j standing for the upper sum `unten + j`. The table
// solver runs them over many sums at once (Breite = int, a multiple of 4),
// the advice over one (Breite = std::integral_constant<int, 1>).
namespace wk::zug {

// Values are handled in blocks of this many, which the compiler turns into
// vector instructions.
template <typename Breite>
inline constexpr int Block = std::is_same_v<Breite, int> ? 4 : 1;

inline double max(double a, double b) { return a < b ? b : a; }

// What entering one open category brings, by the five dice thrown: `zeile`
// points to one row per distinct score for an upper category (`stufe` picks
// it), or to one row to which the score is added for the others.
struct Eintragsart {
    int zelle;
    const double* zeile;
};

// e3[R] for the five dice R (0..251): what they bring entered in the best of
// the `offen` categories. `anzahl` of the `breite` sums are real, the rest
// repeat the last one. `hilfe` holds 13 times as many rows as the largest
// t.stufen() has values.
template <typename Breite>
void endwerte(const Tabelle& t, Offen offen, int unten, int anzahl, Breite breite, double* __restrict e3,
              double* __restrict hilfe) {
    const int n = breite;
    std::array<Eintragsart, Kategorienzahl> arten{};
    int arten_n = 0;
    double* frei = hilfe;
    for (int zelle = 0; zelle < Kategorienzahl; ++zelle) {
        if (!(offen & (1u << zelle))) {
            continue;
        }
        arten[arten_n++] = {zelle, frei};
        if (zelle < 6) {
            // The upper sum moves with the score, so each distinct score has its own row.
            for (const int punkte : t.stufen(zelle)) {
                for (int j = 0; j < n; ++j) {
                    frei[j] = t.eintrag(offen, unten + std::min(j, anzahl - 1), zelle, punkte);
                }
                frei += n;
            }
        } else {
            for (int j = 0; j < n; ++j) {
                frei[j] = t.wert(offen & ~(1u << zelle), unten + std::min(j, anzahl - 1));
            }
            frei += n;
        }
    }
    if constexpr (Block<Breite> == 1) {
        // One sum: category by category over all rolls, which stays in the
        // first-level cache.
        std::fill_n(e3, Wuerfelmengen::Fuenfer, -std::numeric_limits<double>::infinity());
        for (int a = 0; a < arten_n; ++a) {
            const int zelle = arten[a].zelle;
            const double* q = arten[a].zeile;
            if (zelle < 6) {
                for (int r = 0; r < Wuerfelmengen::Fuenfer; ++r) {
                    e3[r] = max(e3[r], q[t.stufe(r, zelle)]);
                }
            } else {
                const double* p = t.punkteSpalte(zelle);
                for (int r = 0; r < Wuerfelmengen::Fuenfer; ++r) {
                    e3[r] = max(e3[r], p[r] + q[0]);
                }
            }
        }
    } else {
        // Many sums: roll by roll, the best category of each block of sums
        // kept in registers.
        constexpr int B = Block<Breite>;
        for (int r = 0; r < Wuerfelmengen::Fuenfer; ++r) {
            for (int j = 0; j < n; j += B) {
                double beste[B];
                for (int b = 0; b < B; ++b) {
                    beste[b] = -std::numeric_limits<double>::infinity();
                }
                for (int a = 0; a < arten_n; ++a) {
                    const int zelle = arten[a].zelle;
                    if (zelle < 6) {
                        const double* q = arten[a].zeile + t.stufe(r, zelle) * n + j;
                        for (int b = 0; b < B; ++b) {
                            beste[b] = max(beste[b], q[b]);
                        }
                    } else {
                        const double p = t.punkte(r, zelle);
                        const double* q = arten[a].zeile + j;
                        for (int b = 0; b < B; ++b) {
                            beste[b] = max(beste[b], p + q[b]);
                        }
                    }
                }
                for (int b = 0; b < B; ++b) {
                    e3[r * n + j + b] = beste[b];
                }
            }
        }
    }
}

// From ek[R] for the five dice R (rows 0..251), the value of every smaller
// multiset K kept (rows 252..461): the others are rolled, so it is the mean
// over the six faces of K with one die more.
template <typename Breite>
void mitteln(const Wuerfelmengen& m, double* ek, Breite breite) {
    const int n = breite;
    for (int k = Wuerfelmengen::Fuenfer; k < Wuerfelmengen::Alle; ++k) {
        double* __restrict ziel = ek + k * n;
        const double* __restrict a = ek + m.mit(k, 1) * n;
        const double* __restrict b = ek + m.mit(k, 2) * n;
        const double* __restrict c = ek + m.mit(k, 3) * n;
        const double* __restrict d = ek + m.mit(k, 4) * n;
        const double* __restrict e = ek + m.mit(k, 5) * n;
        const double* __restrict f = ek + m.mit(k, 6) * n;
        for (int j = 0; j < n; ++j) {
            ziel[j] = ((a[j] + b[j]) + (c[j] + d[j]) + (e[j] + f[j])) * (1.0 / 6.0);
        }
    }
}

// Turns the value of each multiset kept into the value of the best subset of
// it kept: the best of itself and of the best subsets one die smaller.
template <typename Breite>
void teilmaxima(const Wuerfelmengen& m, double* ek, Breite breite) {
    const int n = breite;
    constexpr int B = Block<Breite>;
    for (int k = Wuerfelmengen::Alle - 1; k >= 0; --k) {
        const auto kleiner = m.ohne(k);
        double* ziel = ek + k * n;
        for (int j = 0; j < n; j += B) {
            double beste[B];
            for (int b = 0; b < B; ++b) {
                beste[b] = ziel[j + b];
            }
            for (const int i : kleiner) {
                const double* q = ek + i * n + j;
                for (int b = 0; b < B; ++b) {
                    beste[b] = max(beste[b], q[b]);
                }
            }
            for (int b = 0; b < B; ++b) {
                ziel[j + b] = beste[b];
            }
        }
    }
}

// ek[R] = max(e3[R], ek[R]) for the five dice R: enter now, or keep the best part.
template <typename Breite>
void besserWaehlen(const double* __restrict e3, double* __restrict ek, Breite breite) {
    const int n = Wuerfelmengen::Fuenfer * int(breite);
    for (int j = 0; j < n; ++j) {
        ek[j] = max(ek[j], e3[j]);
    }
}

} // namespace wk::zug
