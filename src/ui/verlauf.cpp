// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/verlauf.h"

#include "ui/masse.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace wk {
namespace {

struct Farben {
    QColor grund{8, 28, 14};  // the felt, darkened
    QColor rahmen{255, 214, 64, 170};
    QColor gitter{255, 243, 196, 60};
    QColor linie{255, 214, 64};
    QColor glueck{120, 230, 120};
    QColor pech{255, 110, 90};
    QColor teuer{255, 70, 50};
    QColor schrift{255, 243, 196};
};
constexpr int Innenrand = 4;  // pixels inside the frame

} // namespace

Verlauf::Verlauf(QWidget* fenster) : QWidget(fenster) {
    setObjectName(QStringLiteral("Verlauf"));
    setAccessibleName(QStringLiteral("Verlauf"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void Verlauf::zeigen(const Blattbilanz& bilanz) {
    m_bilanz = bilanz;
    setAccessibleDescription(QString::fromStdString(bilanz.teuerste()));
    setToolTip(accessibleDescription());
    show();
    raise();
    update();
}

void Verlauf::paintEvent(QPaintEvent*) {
    const Farben farben;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF rahmen = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(farben.rahmen, 1));
    p.setBrush(farben.grund);
    p.drawRoundedRect(rahmen, 5, 5);
    if (!m_bilanz.fertig()) {
        return;
    }

    // The points of the course: the fresh sheet, then the value after each step.
    std::vector<double> werte{*m_bilanz.anfang};
    for (const Bilanzschritt& s : m_bilanz.schritte) {
        werte.push_back(s.erwartung);
    }
    const auto [klein, gross] = std::minmax_element(werte.begin(), werte.end());
    const double unten = std::floor(*klein / 50) * 50, oben = std::max(unten + 50, std::ceil(*gross / 50) * 50);

    p.setFont(schrift(9));
    const int schriftbreite = p.fontMetrics().horizontalAdvance(QStringLiteral("0000"));
    const QRectF feld = rect().adjusted(Innenrand + schriftbreite, Innenrand, -Innenrand, -Innenrand);
    const auto x = [&](std::size_t i) { return feld.left() + feld.width() * double(i) / double(werte.size() - 1); };
    const auto y = [&](double wert) { return feld.bottom() - feld.height() * (wert - unten) / (oben - unten); };

    // Lines every 50 points, the lowest and highest labelled.
    p.setPen(QPen(farben.gitter, 1));
    for (double w = unten; w <= oben + 1e-9; w += 50) {
        p.drawLine(QPointF(feld.left(), y(w)), QPointF(feld.right(), y(w)));
    }
    p.setPen(farben.schrift);
    for (double w : {unten, oben}) {
        const QRectF ort(Innenrand, y(w) - 6, schriftbreite - 2, 12);
        p.drawText(ort.intersected(QRectF(rect())), Qt::AlignRight | Qt::AlignVCenter, QString::number(int(w)));
    }

    // Rolls as steps in their colour, decisions along the line.
    for (std::size_t i = 0; i < m_bilanz.schritte.size(); ++i) {
        const Bilanzschritt& s = m_bilanz.schritte[i];
        const QColor farbe = s.art == Bilanzschritt::Art::Entscheidung ? farben.linie
                             : s.betrag >= 0                          ? farben.glueck
                                                                      : farben.pech;
        p.setPen(QPen(farbe, s.art == Bilanzschritt::Art::Entscheidung ? 1.2 : 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x(i), y(werte[i])), QPointF(x(i + 1), y(werte[i + 1])));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(farben.teuer, 1.5));
    for (std::size_t i = 0; i < m_bilanz.schritte.size(); ++i) {
        const Bilanzschritt& s = m_bilanz.schritte[i];
        if (s.art == Bilanzschritt::Art::Entscheidung && s.betrag < -TeuerAb) {
            p.drawEllipse(QPointF(x(i + 1), y(werte[i + 1])), 3, 3);
        }
    }
}

} // namespace wk
