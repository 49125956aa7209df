// The game window's background put together: the felt, the darker band
// behind the status line, the plate behind the keep-on-top box, the tray, the
// table, the crest and the sheet panel, painted in horizontal bands side by
// side; and the frame, ring and shadow helpers its parts share.

#include "ui/artwork/bilder.h"
#include "ui/artwork/hintergrund.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace wk::artwork::intern {

Strecke zeileIn(const QRectF& r, double radius, double y)
{
    if (y < r.top() || y > r.bottom())
        return {r.center().x(), r.center().x()};
    const double rand = std::min(y - r.top(), r.bottom() - y);
    const double ein = rand < radius ? radius - std::sqrt(radius * radius - (radius - rand) * (radius - rand)) : 0;
    return {r.left() + ein, r.right() - ein};
}

void rahmen(QPainter& p, const QRectF& r, double radius, double breite, const QBrush& pinsel)
{
    const double h = breite / 2;
    QPainterPath ring;
    ring.addRoundedRect(r.adjusted(-h, -h, h, h), radius + h, radius + h);
    if (r.width() > breite && r.height() > breite)
        ring.addRoundedRect(r.adjusted(h, h, -h, -h), std::max(0.0, radius - h), std::max(0.0, radius - h));
    ring.setFillRule(Qt::OddEvenFill);
    p.fillPath(ring, pinsel);
}

void striche(QPainter& p, const QList<QLineF>& linien, double breite, const QColor& farbe)
{
    for (const QLineF& l : linien) {
        const QRectF r = QRectF(l.p1(), l.p2()).normalized();
        p.fillRect(l.dy() == 0 ? r.adjusted(0, -breite / 2, 0, breite / 2) : r.adjusted(-breite / 2, 0, breite / 2, 0),
                   farbe);
    }
}

void schatten(QPainter& p, const QRectF& r, double radius, double breite, int staerke)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    const int schritte = 6;
    for (int i = schritte; i >= 1; --i) {
        const double w = breite * i / schritte;
        rahmen(p, r.adjusted(-w / 2 + 1, -w / 2 + 2, w / 2 + 1, w / 2 + 2), radius + w / 2, w,
               QColor(0, 0, 0, staerke / schritte));
    }
    p.restore();
}

QLinearGradient messingVerlauf(QPointF von, QPointF bis)
{
    QLinearGradient g(von, bis);
    g.setColorAt(0.0, rgb(farbe::messingHell));
    g.setColorAt(0.45, rgb(farbe::messing));
    g.setColorAt(1.0, rgb(farbe::messingDunkel));
    return g;
}
void zeichneCheckSchild(QPainter& p)
{
    p.save();
    schatten(p, kCheckSchild, 5, 5, 110);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(kCheckSchild.adjusted(0.6, 0.6, -0.6, -0.6), 5, 5);
    rahmen(p, kCheckSchild.adjusted(0.6, 0.6, -0.6, -0.6), 5, 1.2,
           messingVerlauf(kCheckSchild.topLeft(), kCheckSchild.bottomLeft()));
    p.restore();
}

// The tray panel with its title tab, shrunk by `innen` on every side: one
// The background is painted in horizontal bands side by side (logical y).
constexpr std::array<double, 4> kBaender{0, 150, 300, kHintergrund.height()};

// Paints the physical rows [von, bis) of the background, a picture of
// `groesse` pixels at `dpr` whose rows start at `pixel`, with everything that
// reaches into them.
void hintergrundBand(uchar* pixel, qsizetype zeilenLaenge, QSize groesse, qreal dpr, int von, int bis)
{
    QImage bild(pixel + von * zeilenLaenge, groesse.width(), bis - von, zeilenLaenge,
                QImage::Format_ARGB32_Premultiplied);
    bild.setDevicePixelRatio(dpr);
    bild.fill(Qt::transparent);
    const QRectF band(0, von / dpr, kHintergrund.width(), (bis - von) / dpr);
    const auto trifft = [&band](const QRectF& r) { return band.intersects(r.adjusted(-16, -16, 16, 16)); };

    filzFlaeche(bild, von, QRectF(kTafelBreite, 0, kHintergrund.width() - kTafelBreite, kHintergrund.height()),
                farbe::filz, 0.55, 11, kTischInnen);
    filzFlaeche(bild, von, kTischInnen, farbe::filzTief, 0.25, 23);

    QPainter p(&bild);
    glatt(p);
    p.translate(0, -von / dpr);

    // A darker band keeps the status line readable.
    const QRectF status(kTafelBreite, kStatusBand.top() - 6, kHintergrund.width() - kTafelBreite,
                        kStatusBand.height() + 8);
    if (trifft(status)) {
        QLinearGradient verlauf(0, status.top(), 0, status.bottom());
        verlauf.setColorAt(0, QColor(0, 0, 0, 0));
        verlauf.setColorAt(0.25, QColor(0, 0, 0, 70));
        verlauf.setColorAt(0.75, QColor(0, 0, 0, 70));
        verlauf.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(status, verlauf);
    }
    if (trifft(kCheckSchild))
        zeichneCheckSchild(p);
    if (trifft(kAblage.united(kAblageReiter)))
        zeichneAblage(p);
    if (trifft(kTischRahmen))
        zeichneTisch(p);
    if (trifft(kLogo))
        zeichneLogo(p);
    zeichneTafel(p);
    for (const Zeile& z : kZeilen)
        if (trifft(QRectF(0, z.y, kTafelBreite, z.hoehe)))
            zeichneZeilentext(p, z);
    if (trifft(QRectF(0, kUntenGesamt.y, kTafelBreite, kUntenGesamt.hoehe)))
        zeichneZeilentext(p, kUntenGesamt);
    if (trifft(QRectF(0, kGesamt.y, kTafelBreite, kGesamt.hoehe)))
        zeichneZeilentext(p, kGesamt);
    p.end();
    if (trifft(kLeiste))
        zeichneLeistenWuerfel(bild, von);
}

// An empty background picture and the jobs that paint it, one per band.
QImage hintergrundLeinwand(qreal dpr)
{
    QImage bild(qRound(kHintergrund.width() * dpr), qRound(kHintergrund.height() * dpr),
                QImage::Format_ARGB32_Premultiplied);
    bild.setDevicePixelRatio(dpr);
    return bild;
}

std::vector<std::function<void()>> hintergrundAuftraege(QImage& bild)
{
    uchar* pixel = bild.bits();
    const qsizetype zeilenLaenge = bild.bytesPerLine();
    const QSize groesse = bild.size();
    const qreal dpr = bild.devicePixelRatio();
    std::vector<std::function<void()>> auftraege;
    for (std::size_t i = 0; i + 1 < kBaender.size(); ++i) {
        const int von = qRound(kBaender[i] * dpr);
        const int bis = i + 2 == kBaender.size() ? groesse.height() : qRound(kBaender[i + 1] * dpr);
        auftraege.push_back([=] { hintergrundBand(pixel, zeilenLaenge, groesse, dpr, von, bis); });
    }
    return auftraege;
}

QImage hintergrundBild(qreal dpr)
{
    QImage bild = hintergrundLeinwand(klemmeDpr(dpr));
    alleAufPool(hintergrundAuftraege(bild));
    return bild;
}

} // namespace wk::artwork::intern
