// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The mouse pointers, 32 x 32: the open hand on a red octagon over the dice
// on the table, the toy blocks A..E over the tray's boxes, the pointing hand
// over the start window's links and the pencil on a writing pad over its mail
// link.

#include "ui/artwork/bilder.h"
#include "ui/artwork/gemeinsam.h"
#include "ui/artwork/koerpermaler.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace wk::artwork::intern {

namespace {

QPainterPath rundesRechteck(const QRectF& r, double radius)
{
    QPainterPath pfad;
    pfad.addRoundedRect(r, radius, radius);
    return pfad;
}

// A finger or thumb: a rounded bar from `ansatz` in direction `grad` (clockwise from +x).
QPainterPath glied(QPointF ansatz, double grad, double laenge, double breite)
{
    QTransform t;
    t.translate(ansatz.x(), ansatz.y());
    t.rotate(grad);
    return t.map(rundesRechteck(QRectF(-breite / 2, -breite / 2, laenge + breite / 2, breite), breite / 2));
}

QPainterPath vereint(std::initializer_list<QPainterPath> teile)
{
    QPainterPath ganz;
    for (const QPainterPath& t : teile)
        ganz = ganz.united(t);
    return ganz.simplified();
}

QImage zeichneZeiger(qreal dpr, const std::function<void(QPainter&)>& inhalt)
{
    QImage bild = leinwand(kZeiger, klemmeDpr(dpr));
    QPainter p(&bild);
    glatt(p);
    inhalt(p);
    p.end();
    return bild;
}

// The letters A..E of the toy blocks as outlines, centred on the origin and
// 1.05 high. Qt's glyph outlines move by fractions of a pixel with the font
// state of the thread that asks for them, so they are made once and shared by
// every block drawn, on whichever thread.
const std::array<QPainterPath, kBloecke>& blockBuchstaben()
{
    static const std::array<QPainterPath, kBloecke> buchstaben = [] {
        std::array<QPainterPath, kBloecke> b;
        for (int i = 0; i < kBloecke; ++i) {
            QPainterPath zeichen;
            zeichen.addText(0, 0, schrift(100, QFont::Black), QString(QChar(u'A' + i)));
            const QRectF r = zeichen.boundingRect();
            QTransform t;
            t.scale(1.05 / r.height(), 1.05 / r.height());
            t.translate(-r.center().x(), -r.center().y());
            b[static_cast<std::size_t>(i)] = t.map(zeichen);
        }
        return b;
    }();
    return buchstaben;
}

// The toy block: coloured wood, a raised border and a white letter.
Flaechenmaler blockMaler(QRgb grund, const QPainterPath& zeichen)
{
    return [grund, zeichen](QPainter& p, int flaeche, double licht, double sichtbar) {
        QLinearGradient g(-1, -1, 1, 1);
        g.setColorAt(0, getoent(grund, licht * 1.08));
        g.setColorAt(1, getoent(grund, licht * 0.88));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(QRectF(-1.02, -1.02, 2.04, 2.04));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(getoent(grund, licht * 1.25), 0.16));
        p.drawRoundedRect(QRectF(-0.74, -0.74, 1.48, 1.48), 0.2, 0.2);
        if (flaeche != 0 || sichtbar < 0.5)
            return;
        p.setPen(QPen(QColor(0, 0, 0, 150), 0.14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(zeichen.translated(0.05, 0.07));
        p.setPen(QPen(getoent(grund, 0.45), 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(rgb(farbe::perle));
        p.drawPath(zeichen);
    };
}

void zeichneStift(QPainter& p, QPointF spitze, double grad)
{
    p.save();
    p.translate(spitze);
    p.rotate(grad);
    const double b = 2.6;  // half the pencil's width
    const QPen kontur(QColor(60, 40, 20), 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Shadow on the pad.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 40, 70));
    p.drawPolygon(QPolygonF({QPointF(1.5, 1.5), QPointF(8, b + 2), QPointF(27, b + 2), QPointF(27, -b + 2),
                             QPointF(8, -b + 2)}));

    p.setPen(kontur);
    p.setBrush(rgb(farbe::holzSpitze));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(7, -b), QPointF(7, b)}));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(farbe::mine));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(2.6, -b * 0.37), QPointF(2.6, b * 0.37)}));

    QLinearGradient k(0, -b, 0, b);
    k.setColorAt(0, getoent(farbe::stiftGelb, 1.25));
    k.setColorAt(0.35, rgb(farbe::stiftGelb));
    k.setColorAt(0.36, getoent(farbe::stiftGelb, 0.9));
    k.setColorAt(0.7, getoent(farbe::stiftGelb, 0.9));
    k.setColorAt(0.71, getoent(farbe::stiftGelb, 0.75));
    k.setColorAt(1, getoent(farbe::stiftGelb, 0.72));
    p.setPen(kontur);
    p.setBrush(k);
    p.drawRect(QRectF(7, -b, 14, 2 * b));

    QLinearGradient z(0, -b, 0, b);
    z.setColorAt(0, QColor(250, 250, 252));
    z.setColorAt(0.5, rgb(farbe::zwinge));
    z.setColorAt(1, QColor(120, 124, 130));
    p.setBrush(z);
    p.drawRect(QRectF(21, -b, 2.8, 2 * b));
    p.setBrush(rgb(farbe::radierer));
    p.drawRoundedRect(QRectF(23.8, -b, 3.4, 2 * b), 1.2, 1.2);
    p.restore();
}

} // namespace

QImage handBild(qreal dpr)
{
    return zeichneZeiger(dpr, [](QPainter& p) {
        QPolygonF acht;
        for (int i = 0; i < 8; ++i) {
            const double w = (22.5 + 45 * i) * std::numbers::pi / 180;
            acht << QPointF(16 + 15.2 * std::cos(w), 16 + 15.2 * std::sin(w));
        }
        p.setPen(QPen(rgb(farbe::umriss), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(acht);
        QTransform innen;
        innen.translate(16, 16);
        innen.scale(0.84, 0.84);
        innen.translate(-16, -16);
        QLinearGradient rot(0, 2, 0, 30);
        rot.setColorAt(0, getoent(farbe::stopRot, 1.12));
        rot.setColorAt(1, rgb(farbe::stopRotDunkel));
        p.setPen(Qt::NoPen);
        p.setBrush(rot);
        p.drawPolygon(innen.map(acht));

        const QPainterPath hand = vereint({
            rundesRechteck(QRectF(11.2, 14.2, 10.2, 10.4), 3.4),
            rundesRechteck(QRectF(11.2, 9.2, 2.5, 8), 1.25),
            rundesRechteck(QRectF(13.8, 7.4, 2.5, 9), 1.25),
            rundesRechteck(QRectF(16.4, 7.8, 2.5, 9), 1.25),
            rundesRechteck(QRectF(19.0, 9.8, 2.4, 8), 1.2),
            glied(QPointF(13.2, 21.6), -132, 7.4, 2.7),
        });
        p.setPen(QPen(QColor(110, 0, 8), 0.7));
        p.setBrush(Qt::white);
        p.drawPath(hand);
        p.setPen(QPen(QColor(180, 150, 150), 0.5));
        for (const double x : {13.75, 16.35, 18.95})
            p.drawLine(QPointF(x, 11), QPointF(x, 15.5));
    });
}

QImage blockBild(int index, qreal dpr)
{
    index = std::clamp(index, 0, kBloecke - 1);
    return zeichneZeiger(dpr, [index](QPainter& p) {
        Koerper k = eingepasst(neigung(-17, -19), QRectF(1, 1, 30, 30));
        k.rundung = k.halb * 0.22;
        k.kante = getoent(kBlockFarben[index], 0.4);
        k.kantenBreite = 0.9;
        zeichneKoerper(p, k, blockMaler(kBlockFarben[index], blockBuchstaben()[static_cast<std::size_t>(index)]));
    });
}

QImage linkBild(qreal dpr)
{
    return zeichneZeiger(dpr, [](QPainter& p) {
        const QPainterPath hand = vereint({
            rundesRechteck(QRectF(9.2, 1.0, 5.0, 17), 2.5),
            rundesRechteck(QRectF(14.0, 10.4, 4.6, 9), 2.2),
            rundesRechteck(QRectF(18.4, 11.6, 4.4, 9), 2.1),
            rundesRechteck(QRectF(22.6, 13.2, 3.9, 8.5), 1.9),
            rundesRechteck(QRectF(9.2, 15.0, 17.3, 11.5), 4),
            glied(QPointF(12.5, 22.5), -150, 7.2, 4.4),
            rundesRechteck(QRectF(11.0, 25.0, 13.6, 6.0), 1),
        });
        p.setPen(QPen(rgb(farbe::umriss), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QLinearGradient weiss(8, 0, 26, 30);
        weiss.setColorAt(0, Qt::white);
        weiss.setColorAt(1, QColor(226, 226, 232));
        p.setBrush(weiss);
        p.drawPath(hand);
        p.setPen(QPen(rgb(farbe::umriss), 0.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14.1, 12.8), QPointF(14.1, 17.6));
        p.drawLine(QPointF(18.5, 13.8), QPointF(18.5, 18.4));
        p.drawLine(QPointF(22.7, 15.2), QPointF(22.7, 19.4));
        p.drawLine(QPointF(11.0, 25.2), QPointF(24.6, 25.2));
    });
}

QImage mailBild(qreal dpr)
{
    return zeichneZeiger(dpr, [](QPainter& p) {
        // The pad: blue backing, ruled paper, spiral binding.
        const QRectF block(7.5, 2.5, 23, 25);
        QLinearGradient blau(block.topLeft(), block.bottomRight());
        blau.setColorAt(0, rgb(farbe::blockHellBlau));
        blau.setColorAt(1, rgb(farbe::blockBlau));
        p.setPen(QPen(QColor(16, 40, 100), 1));
        p.setBrush(blau);
        p.drawRoundedRect(block, 2.2, 2.2);
        const QRectF blatt = block.adjusted(2.5, 4.5, -2.5, -2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(farbe::papier));
        p.drawRect(blatt);
        p.setPen(QPen(rgb(farbe::linie), 0.7));
        for (double y = blatt.top() + 4; y < blatt.bottom() - 1; y += 3.2)
            p.drawLine(QPointF(blatt.left() + 1, y), QPointF(blatt.right() - 1, y));
        p.setPen(QPen(QColor(220, 90, 90, 200), 0.6));
        p.drawLine(QPointF(blatt.left() + 3.5, blatt.top()), QPointF(blatt.left() + 3.5, blatt.bottom()));
        for (int i = 0; i < 6; ++i) {
            const double x = block.left() + 4 + i * 3.2;
            p.setPen(QPen(QColor(60, 60, 70), 0.7));
            p.setBrush(QColor(200, 204, 212));
            p.drawRoundedRect(QRectF(x, block.top() - 1.5, 1.6, 5.5), 0.8, 0.8);
        }
        zeichneStift(p, QPointF(2.4, 29.4), -45);
    });
}

} // namespace wk::artwork::intern
