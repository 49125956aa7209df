// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strategie/tabelle.h"

#include "strategie/zugrechnung.h"

#include <algorithm>
#include <bit>
#include <string>

namespace wk {
namespace {

// States solved by one job of the Verteiler.
constexpr int ZustaendeJeAuftrag = 16;

// Five dice as the game's boxes hold them after a roll: all on the table.
std::array<Wuerfelbox, 5> aufDemTisch(const Augenzahl& anzahl) {
    std::array<Wuerfelbox, 5> tisch;
    int i = 0;
    for (int f = 1; f <= 6; ++f) {
        for (int k = 0; k < anzahl[f]; ++k) {
            tisch[i++].Tag = std::to_string(f);
        }
    }
    return tisch;
}

} // namespace

// The rows one job works in, reused by the next job: `breite` values a row,
// room for `stufen` rows per category in `hilfe`.
struct Tabelle::Arbeitsplatz {
    Arbeitsplatz(std::size_t breite, std::size_t stufen)
        : e3(Wuerfelmengen::Fuenfer * breite), ek(Wuerfelmengen::Alle * breite), hilfe(Kategorienzahl * stufen * breite) {}
    std::vector<double> e3;
    std::vector<double> ek;
    std::vector<double> hilfe;
};

void nacheinander(int anzahl, const std::function<void(int)>& auftrag) {
    for (int i = 0; i < anzahl; ++i) {
        auftrag(i);
    }
}

Tabelle::Tabelle(const Regelwerk& regeln, const Verteiler& verteiler, Offen bereich)
    : m_regeln(regeln), m_bereich(bereich & AlleOffen), m_anfang(AlleOffen + 1, -1) {
    std::array<Wuerfelbox, 5> leereAblage;
    for (Wuerfelbox& box : leereAblage) {
        box.Visible = false;
    }
    std::array<int, 6> hoechstens{};  // the best score of each upper category
    for (int r = 0; r < Wuerfelmengen::Fuenfer; ++r) {
        const auto tisch = aufDemTisch(m_mengen.anzahl(r));
        for (int zelle = 0; zelle < Kategorienzahl; ++zelle) {
            const int p = wk::punkte(Kategorien[zelle], tisch, leereAblage, m_regeln);
            m_punkte[r][zelle] = static_cast<short>(p);
            m_punkteSpalte[zelle][r] = p;
            if (zelle < 6) {
                hoechstens[zelle] = std::max(hoechstens[zelle], p);
                if (std::find(m_stufen[zelle].begin(), m_stufen[zelle].end(), p) == m_stufen[zelle].end()) {
                    m_stufen[zelle].push_back(p);
                }
            }
        }
    }
    for (int zelle = 0; zelle < 6; ++zelle) {
        for (int r = 0; r < Wuerfelmengen::Fuenfer; ++r) {
            const auto& s = m_stufen[zelle];
            m_stufeVon[r][zelle] = static_cast<signed char>(std::find(s.begin(), s.end(), m_punkte[r][zelle]) - s.begin());
        }
    }

    // The upper sums worth telling apart, by the filled upper categories: at
    // most what those can have brought (capped at the threshold), at least the
    // largest sum from which the open ones can no longer reach the threshold.
    const int schwelle = m_regeln.bonusschwelle;
    for (unsigned gefuellt = 0; gefuellt < 64; ++gefuellt) {
        int voll = 0;
        int frei = 0;
        for (int zelle = 0; zelle < 6; ++zelle) {
            ((gefuellt >> zelle) & 1 ? voll : frei) += hoechstens[zelle];
        }
        Spuren& s = m_spuren[gefuellt];
        const int oben = std::max(0, std::min(schwelle, voll));
        s.unten = std::clamp(schwelle - 1 - frei, 0, oben);
        s.anzahl = oben - s.unten + 1;
        s.breite = (s.anzahl + 3) / 4 * 4;
    }

    std::array<std::vector<Offen>, Kategorienzahl + 1> schichten;
    std::size_t groesse = 0;
    for (Offen offen = 0; offen <= AlleOffen; ++offen) {
        if ((offen & ~m_bereich) == 0) {
            schichten[std::popcount(offen)].push_back(offen);
            m_anfang[offen] = static_cast<int>(groesse);
            groesse += static_cast<std::size_t>(spuren(offen).breite);
        }
    }
    m_werte.assign(groesse, 0.0);  // the full sheet brings nothing more

    // Each job takes a free Arbeitsplatz or makes one; at most as many exist
    // as jobs ever ran at the same time.
    std::size_t stufen = 1;
    for (const auto& s : m_stufen) {
        stufen = std::max(stufen, s.size());
    }
    std::size_t breite = 0;
    for (const Spuren& s : m_spuren) {
        breite = std::max(breite, std::size_t(s.breite));
    }
    std::mutex platzSperre;
    std::vector<std::unique_ptr<Arbeitsplatz>> plaetze;
    for (int k = 1; k <= Kategorienzahl; ++k) {
        const std::vector<Offen>& schicht = schichten[k];
        const int anzahl = static_cast<int>(schicht.size());
        verteiler((anzahl + ZustaendeJeAuftrag - 1) / ZustaendeJeAuftrag, [&](int auftrag) {
            std::unique_ptr<Arbeitsplatz> platz;
            {
                const std::lock_guard sperre(platzSperre);
                if (!plaetze.empty()) {
                    platz = std::move(plaetze.back());
                    plaetze.pop_back();
                }
            }
            if (!platz) {
                platz = std::make_unique<Arbeitsplatz>(breite, stufen);
            }
            const int von = auftrag * ZustaendeJeAuftrag;
            schichtRechnen(schicht, von, std::min(anzahl, von + ZustaendeJeAuftrag), *platz);
            const std::lock_guard sperre(platzSperre);
            plaetze.push_back(std::move(platz));
        });
    }
}

void Tabelle::schichtRechnen(const std::vector<Offen>& schicht, int von, int bis, Arbeitsplatz& platz) {
    std::vector<double>& e3 = platz.e3;
    std::vector<double>& ek = platz.ek;
    std::vector<double>& hilfe = platz.hilfe;
    for (int i = von; i < bis; ++i) {
        const Offen offen = schicht[i];
        const Spuren& s = spuren(offen);
        const int n = s.breite;
        zug::endwerte(*this, offen, s.unten, s.anzahl, n, e3.data(), hilfe.data());
        // After the second roll: enter, or keep the best part for the third.
        std::copy_n(e3.begin(), Wuerfelmengen::Fuenfer * n, ek.begin());
        zug::mitteln(m_mengen, ek.data(), n);
        zug::teilmaxima(m_mengen, ek.data(), n);
        zug::besserWaehlen(e3.data(), ek.data(), n);
        // After the first roll, the same with the values after the second.
        zug::mitteln(m_mengen, ek.data(), n);
        zug::teilmaxima(m_mengen, ek.data(), n);
        zug::besserWaehlen(e3.data(), ek.data(), n);
        // Before the first roll: the mean over what five dice show.
        double* ziel = m_werte.data() + m_anfang[offen];
        std::fill_n(ziel, n, 0.0);
        for (int r = 0; r < Wuerfelmengen::Fuenfer; ++r) {
            const double p = m_mengen.wahrscheinlichkeit(r);
            const double* zeile = ek.data() + r * n;
            for (int j = 0; j < n; ++j) {
                ziel[j] += p * zeile[j];
            }
        }
    }
}

double Tabelle::wert(Offen offen, int oben) const {
    const Spuren& s = spuren(offen);
    const int u = std::clamp(std::min(oben, m_regeln.bonusschwelle), s.unten, s.unten + s.anzahl - 1);
    return m_werte[static_cast<std::size_t>(m_anfang[offen] + u - s.unten)];
}

double Tabelle::eintrag(Offen offen, int oben, int zelle, int punkte) const {
    const Offen rest = offen & ~(1u << zelle);
    if (zelle >= 6) {
        return punkte + wert(rest, oben);
    }
    const int neu = oben + punkte;
    const bool bonus = oben < m_regeln.bonusschwelle && neu >= m_regeln.bonusschwelle;
    return punkte + (bonus ? m_regeln.bonus : 0) + wert(rest, neu);
}

std::size_t Tabelle::bytes() const {
    std::size_t stufen = 0;
    for (const auto& s : m_stufen) {
        stufen += s.capacity() * sizeof(int);
    }
    return sizeof(*this) + m_werte.capacity() * sizeof(double) + m_anfang.capacity() * sizeof(int) + stufen;
}

} // namespace wk
