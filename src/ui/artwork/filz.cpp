// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The felt of the table: a colour with soft clouds of value noise, a fine
// grain and a vignette, computed per pixel in loops that vectorise.

#include "ui/artwork/hintergrund.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wk::artwork::intern {

namespace {

// The felt's clouds: smooth value noise over the pixel centres of one row
// after another, scaled to lie in basis..basis + hub. The lattice rows above
// and below the current row are kept interpolated along x, so a pixel costs
// one multiply-add. `zelle` is the lattice spacing in logical pixels.
class Wolken {
public:
    Wolken(int x0, int breite, qreal dpr, double zelle, std::uint32_t saat, float basis, float hub)
        : m_dpr(dpr), m_zelle(zelle), m_saat(saat), m_basis(basis), m_hub(hub), m_ix(breite), m_sx(breite),
          m_oben(breite), m_unten(breite), m_wert(breite), m_anstieg(breite)
    {
        for (int i = 0; i < breite; ++i) {
            const double gx = (x0 + i + 0.5) / dpr / zelle;
            m_ix[i] = static_cast<int>(std::floor(gx));
            m_sx[i] = static_cast<float>(glaettung(gx - m_ix[i]));
        }
        if (breite > 0) {
            m_ix0 = m_ix.front();
            m_gitter.resize(static_cast<std::size_t>(m_ix.back() - m_ix0 + 2));
            for (int& ix : m_ix)
                ix -= m_ix0;
        }
    }

    // Row y: the value at column i is wert()[i] + anstieg()[i] * fy, fy the returned weight.
    float zeile(int y)
    {
        const double gy = (y + 0.5) / m_dpr / m_zelle;
        const int iy = static_cast<int>(std::floor(gy));
        if (iy != m_iy) {
            if (iy == m_iy + 1) {
                std::swap(m_oben, m_unten);
            } else {
                gitterzeile(iy, m_oben);
            }
            gitterzeile(iy + 1, m_unten);
            const float basis = m_basis, hub = m_hub;
            const float* __restrict oben = m_oben.data();
            const float* __restrict unten = m_unten.data();
            float* __restrict wert = m_wert.data();
            float* __restrict anstieg = m_anstieg.data();
            for (std::size_t i = 0; i < m_wert.size(); ++i) {
                wert[i] = basis + hub * oben[i];
                anstieg[i] = hub * (unten[i] - oben[i]);
            }
            m_iy = iy;
        }
        return static_cast<float>(glaettung(gy - iy));
    }
    const float* wert() const { return m_wert.data(); }
    const float* anstieg() const { return m_anstieg.data(); }

private:
    static double glaettung(double t) { return t * t * (3 - 2 * t); }

    // The lattice values of row iy, interpolated along x for every column.
    void gitterzeile(int iy, std::vector<float>& ziel)
    {
        for (std::size_t k = 0; k < m_gitter.size(); ++k)
            m_gitter[k] = static_cast<float>(zufall(m_ix0 + static_cast<int>(k), iy, m_saat));
        for (std::size_t i = 0; i < ziel.size(); ++i) {
            const auto k = static_cast<std::size_t>(m_ix[i]);
            ziel[i] = m_gitter[k] + (m_gitter[k + 1] - m_gitter[k]) * m_sx[i];
        }
    }

    qreal m_dpr = 1;
    double m_zelle = 1;
    std::uint32_t m_saat = 0;
    float m_basis = 0;
    float m_hub = 1;
    int m_iy = std::numeric_limits<int>::min();
    int m_ix0 = 0;               // the first lattice column
    std::vector<int> m_ix;       // per pixel column: its lattice column, counted from m_ix0
    std::vector<float> m_sx;     // and its smoothed place between that column and the next
    std::vector<float> m_gitter;
    std::vector<float> m_oben;
    std::vector<float> m_unten;
    std::vector<float> m_wert;
    std::vector<float> m_anstieg;
};

// The felt's grain: random brightness offsets of -3.5..3.5. A row takes its
// grain from this table from a random start, so rows do not repeat each other.
constexpr int kKornLaenge = 8192;
constexpr int kKornVersatz = 2048;

const std::array<float, kKornLaenge>& kornTabelle()
{
    static const std::array<float, kKornLaenge> tabelle = [] {
        std::array<float, kKornLaenge> t{};
        for (int i = 0; i < kKornLaenge; ++i)
            t[static_cast<std::size_t>(i)] = static_cast<float>(zufall(i, 0, 3) * 7.0 - 3.5);
        return t;
    }();
    return tabelle;
}

} // namespace

void filzFlaeche(QImage& bild, const QRectF& logisch, QRgb grund, double vignette, std::uint32_t saat,
                 const QRectF& frei)
{
    const qreal dpr = bild.devicePixelRatio();
    const auto physisch = [dpr](const QRectF& r) {
        return QRectF(r.topLeft() * dpr, r.size() * dpr).toAlignedRect();
    };
    const QRect r = physisch(logisch) & bild.rect();
    const QRect ausgespart = frei.isEmpty() ? QRect() : physisch(frei);
    if (r.isEmpty())
        return;
    const QPointF mitte = logisch.center();
    const double rx = logisch.width() / 2, ry = logisch.height() / 2;
    const int breite = r.width();

    // Half the squared distance from the centre, in half widths and heights,
    // per column and per row; the sum of the two never exceeds 1.
    const auto quadrat = [](double d) { return static_cast<float>(std::min(1.0, d * d) * 0.5); };
    std::vector<float> dx2(static_cast<std::size_t>(breite));
    for (int i = 0; i < breite; ++i)
        dx2[i] = quadrat(((r.left() + i + 0.5) / dpr - mitte.x()) / rx);
    Wolken grob(r.left(), breite, dpr, 9.0, saat, 0.93f, 0.14f);
    Wolken fein(r.left(), breite, dpr, 2.2, saat + 7, 0.97f, 0.06f);
    std::vector<float> licht(static_cast<std::size_t>(breite));
    const float v = static_cast<float>(vignette * 1.6);
    const float rot = qRed(grund), gruen = qGreen(grund), blau = qBlue(grund);

    for (int y = r.top(); y <= r.bottom(); ++y) {
        const float dy2 = quadrat(((y + 0.5) / dpr - mitte.y()) / ry);
        const float fyGrob = grob.zeile(y);
        const float fyFein = fein.zeile(y);
        const float* __restrict gw = grob.wert();
        const float* __restrict ga = grob.anstieg();
        const float* __restrict fw = fein.wert();
        const float* __restrict fa = fein.anstieg();
        const float* __restrict d = dx2.data();
        float* __restrict l = licht.data();
        for (int i = 0; i < breite; ++i) {
            const float rand = d[i] + dy2;
            l[i] = (1.0f - v * rand * rand) * (gw[i] + ga[i] * fyGrob) * (fw[i] + fa[i] * fyFein);
        }

        // The grain, from a random place in the table, and the pixels.
        const std::uint32_t zeilenHash = mische(static_cast<std::uint32_t>(y) + (saat + 3) * 0x85EBCA77U);
        const float* __restrict korn = kornTabelle().data();
        const int kornStart = static_cast<int>(zeilenHash % kKornVersatz) - std::min(r.left(), kKornVersatz);
        auto* __restrict zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
        const int links = r.left();
        const auto fuellen = [&](int von, int bis) {
            for (int x = von; x < bis; ++x) {
                const float f = l[x - links], k = korn[x + kornStart];
                const auto kanal = [&](float c) {
                    const float wert = c * f + k;
                    return static_cast<std::uint32_t>(wert < 0.0f ? 0.0f : (wert > 255.0f ? 255.0f : wert));
                };
                zeile[x] = 0xFF000000u | kanal(rot) << 16 | kanal(gruen) << 8 | kanal(blau);
            }
        };
        if (y >= ausgespart.top() && y <= ausgespart.bottom()) {
            fuellen(r.left(), std::max(r.left(), ausgespart.left()));
            fuellen(std::min(r.right() + 1, ausgespart.right() + 1), r.right() + 1);
        } else {
            fuellen(r.left(), r.right() + 1);
        }
    }
}

} // namespace wk::artwork::intern
