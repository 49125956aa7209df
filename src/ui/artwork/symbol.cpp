// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The program icon: two overlapping dice, a red one behind a cream one, as
// vector shapes at any size (turned more towards the viewer, with larger
// pips, at 24 pixels and below), and the icon engine that offers its sizes.

#include "ui/artwork.h"
#include "ui/artwork/gemeinsam.h"
#include "ui/artwork/koerpermaler.h"
#include "ui/artwork/symbol.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace wk::artwork {

using namespace intern;

QImage symbol(int pixel)
{
    pixel = std::clamp(pixel, kSymbolMin, kSymbolMax);
    QImage bild(pixel, pixel, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    symbolMalen(p, pixel);
    p.end();
    return bild;
}

void symbolMalen(QPainter& p, qreal groesse)
{
    if (!std::isfinite(groesse) || groesse <= 0)
        return;
    p.save();
    glatt(p);
    const double einheit = groesse / 64.0;
    p.scale(einheit, einheit);
    // Small icons turn the dice more towards the viewer and enlarge the pips.
    const bool klein = groesse <= 24;
    const double kantenBreite = std::max(klein ? 1.0 : 0.8, 1.0 / einheit);

    const Wuerfelfarben rot{farbe::rubin, farbe::perle, qRgb(235, 226, 220), farbe::rubinKante};
    const Wuerfelfarben weiss{};

    Koerper hinten;
    hinten.lage = klein ? neigung(-8, 8, -14) : neigung(-18, 16, -16);
    hinten.halb = klein ? 15.2 : 14.2;
    hinten.mitte = klein ? QPointF(20.5, 21) : QPointF(23, 24);
    hinten.rundung = 5;
    hinten.kante = rgb(rot.kante);
    hinten.kantenBreite = kantenBreite;

    Koerper vorne;
    vorne.lage = klein ? neigung(-8, -8, 10) : neigung(-16, -18, 12);
    vorne.halb = klein ? 15.6 : 14.8;
    vorne.mitte = klein ? QPointF(42.5, 42) : QPointF(41.5, 39.5);
    vorne.rundung = 5;
    vorne.kante = rgb(farbe::wuerfelKante).darker(klein ? 170 : 110);
    vorne.kantenBreite = kantenBreite;

    const double augenRadius = klein ? 0.3 : 0.21;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPath(koerperPfad(hinten).translated(1.5, 2.5));
    zeichneKoerper(p, hinten, wuerfelMaler(augenVerteilung(klein ? 2 : 5), rot, augenRadius, 0.7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawPath(koerperPfad(vorne).translated(1.5, 2.5));
    zeichneKoerper(p, vorne, wuerfelMaler(augenVerteilung(3), weiss, augenRadius, 0.7));
    p.restore();
}

namespace intern {

namespace {

class Symbolmaler : public QIconEngine {
public:
    explicit Symbolmaler(std::function<const QImage&(std::size_t)> bild) : m_bild(std::move(bild)) {}

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> groessen;
        for (std::size_t i = 0; i < kFensterSymbole; ++i)
            groessen.append(QSize(kSymbolGroessen[i], kSymbolGroessen[i]));
        return groessen;
    }

    // The size pixmap() gives: a square as large as the request's shorter side,
    // at most the largest size.
    QSize actualSize(const QSize& groesse, QIcon::Mode, QIcon::State) override
    {
        const int seite = std::clamp(std::min(groesse.width(), groesse.height()), 1, kSymbolGroessen.back());
        return QSize(seite, seite);
    }

    QPixmap pixmap(const QSize& groesse, QIcon::Mode modus, QIcon::State) override
    {
        // The smallest size that covers the request, scaled down to it if need be.
        const int verlangt = actualSize(groesse, modus, QIcon::Off).width();
        std::size_t i = 0;
        while (i + 1 < kSymbolGroessen.size() && kSymbolGroessen[i] < verlangt)
            ++i;
        if (m_pixmaps[i].isNull())
            m_pixmaps[i] = QPixmap::fromImage(i < kFensterSymbole ? m_bild(i) : artwork::symbol(kSymbolGroessen[i]));
        QPixmap pix = m_pixmaps[i];
        if (kSymbolGroessen[i] > verlangt)
            pix = pix.scaled(verlangt, verlangt, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (modus != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance()))
            pix = QApplication::style()->generatedIconPixmap(modus, pix, nullptr);
        return pix;
    }

    void paint(QPainter* p, const QRect& rechteck, QIcon::Mode modus, QIcon::State zustand) override
    {
        p->drawPixmap(rechteck, pixmap(rechteck.size(), modus, zustand));
    }

    QIconEngine* clone() const override { return new Symbolmaler(*this); }
    QString key() const override { return QStringLiteral("wk::Symbolmaler"); }

private:
    std::function<const QImage&(std::size_t)> m_bild;
    std::array<QPixmap, kSymbolGroessen.size()> m_pixmaps{};
};

} // namespace

QIconEngine* neuerSymbolmaler(std::function<const QImage&(std::size_t)> bild)
{
    return new Symbolmaler(std::move(bild));
}

} // namespace intern

} // namespace wk::artwork
