// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the program icon for the desktop's icon theme, drawn by the same code
// the windows use:
//   symbolmaler ZIEL N...
// creates ZIEL/NxN/apps/wurfkrone.png for every size N (16..512) and
// ZIEL/scalable/apps/wurfkrone.svg, the icon as vector shapes. Exits 0 when
// every file was written, 1 otherwise, 2 on wrong arguments.
#include "ui/artwork.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QString>
#include <QSvgGenerator>

#include <cstdio>

namespace {

// The SVG is drawn at the largest size, so its details match the large icons.
constexpr int kVektorGroesse = 256;

// Qt's SVG writer leaves out clip paths, and the dice are drawn face by face
// into the clip of their rounded outline. This engine stands in front of the
// writer: it hands every shape on already cut to the painter's clip, in the
// shape's own coordinates, so gradients keep their place. Shapes lying wholly
// inside the clip pass unchanged; only pictures (pixmaps) cannot pass.
class Zuschnitt : public QPaintEngine {
public:
    explicit Zuschnitt(QPainter& ziel) : QPaintEngine(AllFeatures), m_ziel(ziel) {}

    bool begin(QPaintDevice*) override { return m_ziel.isActive(); }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}  // read from painter() when drawing
    Type type() const override { return User; }

    void drawPath(const QPainterPath& pfad) override { male(pfad, true); }

    void drawPolygon(const QPointF* punkte, int anzahl, PolygonDrawMode modus) override
    {
        QPainterPath pfad;
        pfad.addPolygon(QPolygonF(QList<QPointF>(punkte, punkte + anzahl)));
        if (modus != PolylineMode)
            pfad.closeSubpath();
        pfad.setFillRule(modus == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
        male(pfad, modus != PolylineMode);
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { m_fehler = true; }

    bool fehlerfrei() const { return !m_fehler; }

private:
    void male(const QPainterPath& pfad, bool fuellen)
    {
        const QPainter& quelle = *painter();
        const QTransform t = quelle.combinedTransform();
        const QPen stift = quelle.pen();
        const QBrush pinsel = fuellen ? quelle.brush() : QBrush(Qt::NoBrush);
        m_ziel.setTransform(t);
        m_ziel.setRenderHints(quelle.renderHints());
        m_ziel.setOpacity(quelle.opacity());
        m_ziel.setBrushOrigin(quelle.brushOrigin());

        const bool strich = stift.style() != Qt::NoPen;
        const QPainterPath strichPfad = strich ? QPainterPathStroker(stift).createStroke(pfad) : QPainterPath();
        const QPainterPath clip = quelle.hasClipping() ? t.map(quelle.clipPath()) : QPainterPath();
        const QRectF ausdehnung = t.map(strich ? strichPfad.united(pfad) : pfad).boundingRect();
        if (!quelle.hasClipping() || clip.contains(ausdehnung)) {
            m_ziel.setPen(stift);
            m_ziel.setBrush(pinsel);
            m_ziel.drawPath(pfad);
            return;
        }
        if (!t.isInvertible())
            return;  // the shape collapses to nothing
        const QTransform zurueck = t.inverted();
        m_ziel.setPen(Qt::NoPen);
        if (pinsel.style() != Qt::NoBrush) {
            m_ziel.setBrush(pinsel);
            m_ziel.drawPath(zurueck.map(t.map(pfad).intersected(clip)));
        }
        if (strich) {
            m_ziel.setBrush(stift.brush());
            m_ziel.drawPath(zurueck.map(t.map(strichPfad).intersected(clip)));
        }
    }

    QPainter& m_ziel;
    bool m_fehler = false;
};

// The device a painter draws on to reach a Zuschnitt; its measures are the SVG's.
class Zuschnittflaeche : public QPaintDevice {
public:
    Zuschnittflaeche(QSvgGenerator& svg, QPainter& ziel) : m_svg(svg), m_motor(ziel) {}
    QPaintEngine* paintEngine() const override { return &m_motor; }
    bool fehlerfrei() const { return m_motor.fehlerfrei(); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return m_svg.width();
        case PdmHeight: return m_svg.height();
        case PdmWidthMM: return m_svg.widthMM();
        case PdmHeightMM: return m_svg.heightMM();
        case PdmNumColors: return m_svg.colorCount();
        case PdmDepth: return m_svg.depth();
        case PdmDpiX: return m_svg.logicalDpiX();
        case PdmDpiY: return m_svg.logicalDpiY();
        case PdmPhysicalDpiX: return m_svg.physicalDpiX();
        case PdmPhysicalDpiY: return m_svg.physicalDpiY();
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    QSvgGenerator& m_svg;
    mutable Zuschnitt m_motor;
};

bool ordnerFuer(const QString& datei)
{
    return QDir().mkpath(QFileInfo(datei).absolutePath());
}

bool schreibeSvg(const QString& datei)
{
    if (!ordnerFuer(datei))
        return false;
    QSvgGenerator svg;
    svg.setFileName(datei);
    svg.setSize(QSize(kVektorGroesse, kVektorGroesse));
    svg.setViewBox(QRect(0, 0, kVektorGroesse, kVektorGroesse));
    svg.setTitle(QStringLiteral("Wurfkrone"));
    svg.setDescription(QStringLiteral("Zwei Würfel"));
    QPainter ziel;
    if (!ziel.begin(&svg))
        return false;
    Zuschnittflaeche flaeche(svg, ziel);
    QPainter p;
    if (!p.begin(&flaeche))
        return false;
    wk::artwork::symbolMalen(p, kVektorGroesse);
    const bool gemalt = p.end() && flaeche.fehlerfrei();
    return ziel.end() && gemalt;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QList<int> groessen;
    for (int i = 2; i < argc; ++i) {
        bool zahl = false;
        const int g = QString::fromLocal8Bit(argv[i]).toInt(&zahl);
        if (!zahl || g < 16 || g > 512) {
            std::fprintf(stderr, "symbolmaler: size %s is not 16..512\n", argv[i]);
            return 2;
        }
        groessen.append(g);
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: symbolmaler ZIEL N...\n");
        return 2;
    }
    const QString ziel = QString::fromLocal8Bit(argv[1]);
    bool gut = true;
    for (const int g : groessen) {
        const QString datei = QStringLiteral("%1/%2x%2/apps/wurfkrone.png").arg(ziel).arg(g);
        if (!ordnerFuer(datei) || !wk::artwork::symbol(g).save(datei, "PNG")) {
            std::fprintf(stderr, "symbolmaler: cannot write %s\n", qPrintable(datei));
            gut = false;
        }
    }
    const QString svg = ziel + QStringLiteral("/scalable/apps/wurfkrone.svg");
    if (!schreibeSvg(svg)) {
        std::fprintf(stderr, "symbolmaler: cannot write %s\n", qPrintable(svg));
        gut = false;
    }
    return gut ? 0 : 1;
}
