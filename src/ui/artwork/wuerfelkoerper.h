// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointF>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

// The die as a body in space, shared by the painted and the rasterised dice:
// a cube of half edge 1 around the origin, seen in parallel projection with x
// to the right, y down and z towards the viewer. A face is the square -1..1 of
// its own coordinates (u right, v down, normal +z before it is turned).
namespace wk::koerper {

struct Vek {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline double skalar(Vek a, Vek b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Lage {
    std::array<double, 9> m{1, 0, 0, 0, 1, 0, 0, 0, 1};

    Vek operator()(Vek v) const
    {
        return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
                m[6] * v.x + m[7] * v.y + m[8] * v.z};
    }
};

inline Lage operator*(const Lage& a, const Lage& b)
{
    Lage r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i * 3 + j] = a.m[i * 3] * b.m[j] + a.m[i * 3 + 1] * b.m[3 + j] + a.m[i * 3 + 2] * b.m[6 + j];
    return r;
}

// Rotation by `grad` degrees about an axis through the origin (need not be unit length).
inline Lage drehung(Vek achse, double grad)
{
    const double laenge = std::sqrt(skalar(achse, achse));
    const double x = achse.x / laenge, y = achse.y / laenge, z = achse.z / laenge;
    const double w = grad * std::numbers::pi / 180.0;
    const double c = std::cos(w), s = std::sin(w), t = 1 - c;
    return {{t * x * x + c, t * x * y - s * z, t * x * z + s * y,
             t * x * y + s * z, t * y * y + c, t * y * z - s * x,
             t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
}

inline Lage neigung(double umX, double umY, double umZ = 0)
{
    return drehung({0, 0, 1}, umZ) * drehung({1, 0, 0}, umX) * drehung({0, 1, 0}, umY);
}

// Faces 0..5: front (+z), back, right (+x), left, top (-y), bottom. Opposite
// faces carry pips adding up to seven.
inline const std::array<Lage, 6>& flaechenLagen()
{
    static const std::array<Lage, 6> lagen{
        Lage{}, drehung({0, 1, 0}, 180), drehung({0, 1, 0}, 90),
        drehung({0, 1, 0}, -90), drehung({1, 0, 0}, 90), drehung({1, 0, 0}, -90)};
    return lagen;
}

inline std::array<int, 6> augenVerteilung(int vorne)
{
    constexpr std::array<int, 7> oben{0, 2, 1, 1, 1, 1, 2};
    constexpr std::array<int, 7> rechts{0, 3, 3, 2, 2, 3, 3};
    const int o = oben[vorne];
    const int r = rechts[vorne];
    return {vorne, 7 - vorne, r, 7 - r, o, 7 - o};
}

// Light from the upper left, somewhat in front.
constexpr Vek kLicht{-0.42, -0.70, 0.58};

inline double helligkeit(Vek normale)
{
    const double d = skalar(normale, kLicht) / std::sqrt(skalar(kLicht, kLicht));
    return d > 0 ? 0.74 + 0.45 * d : 0.74 + 0.16 * d;
}


struct Punkt {
    double x = 0;
    double y = 0;
};

constexpr double kA = 0.5;  // pip distance from the face centre, face units
constexpr std::array<std::array<Punkt, 6>, 7> kAugenBild{{
    {},
    {{{0, 0}}},
    {{{kA, -kA}, {-kA, kA}}},
    {{{kA, -kA}, {0, 0}, {-kA, kA}}},
    {{{-kA, -kA}, {kA, -kA}, {-kA, kA}, {kA, kA}}},
    {{{-kA, -kA}, {kA, -kA}, {0, 0}, {-kA, kA}, {kA, kA}}},
    {{{-kA, -kA}, {-kA, 0}, {-kA, kA}, {kA, -kA}, {kA, 0}, {kA, kA}}},
}};

// A colour channel (0..255) in light of brightness `licht`: 0..1 darkens,
// above 1 mixes towards white. The result lies in 0..255.
inline double getoenterKanal(int kanal, double licht)
{
    const double v = licht <= 1.0 ? kanal * licht : kanal + (255 - kanal) * std::min(1.0, (licht - 1.0) * 1.6);
    return std::clamp(v, 0.0, 255.0);
}

// The indices of the convex hull of `p`, in order round it; collinear and
// repeated points are left out.
inline std::vector<int> huellenIndizes(const std::vector<QPointF>& p)
{
    std::vector<int> reihe(p.size());
    for (std::size_t i = 0; i < reihe.size(); ++i)
        reihe[i] = static_cast<int>(i);
    const auto punkt = [&p](int i) { return p[static_cast<std::size_t>(i)]; };
    std::sort(reihe.begin(), reihe.end(), [&punkt](int a, int b) {
        return punkt(a).x() < punkt(b).x() || (punkt(a).x() == punkt(b).x() && punkt(a).y() < punkt(b).y());
    });
    const auto kreuz = [&punkt](int o, int a, int b) {
        const QPointF oa = punkt(a) - punkt(o), ob = punkt(b) - punkt(o);
        return oa.x() * ob.y() - oa.y() * ob.x();
    };
    std::vector<int> h(2 * p.size());
    std::size_t k = 0;
    for (const int i : reihe) {
        while (k >= 2 && kreuz(h[k - 2], h[k - 1], i) <= 1e-9)
            --k;
        h[k++] = i;
    }
    for (std::size_t j = reihe.size() - 1, t = k + 1; j-- > 0;) {
        while (k >= t && kreuz(h[k - 2], h[k - 1], reihe[j]) <= 1e-9)
            --k;
        h[k++] = reihe[j];
    }
    h.resize(k > 0 ? k - 1 : 0);
    return h;
}

} // namespace wk::koerper
