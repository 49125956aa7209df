// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/form1elemente.h"

#include <QColor>
#include <QLabel>
#include <QPainter>
#include <QPolygonF>

namespace wk {

namespace {

QString stilFuer(QRgb farbe, Rahmen rahmen) {
    return QStringLiteral("QLabel { color: %1; background: transparent; border: %2; padding: 0 2px; }")
        .arg(QColor(farbe).name(),
             rahmen == Rahmen::Duenn ? QStringLiteral("1px solid rgba(190, 190, 170, 150)")
                                     : QStringLiteral("none"));
}

} // namespace

QLabel* neuesLabel(QWidget* eltern, const QString& name, const QString& text, const QRect& ort,
                   const QFont& font, QRgb farbe, Qt::Alignment ausrichtung, Rahmen rahmen) {
    auto* label = new QLabel(eltern);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(ort);
    label->setFont(font);
    label->setAlignment(ausrichtung);
    label->setStyleSheet(stilFuer(farbe, rahmen));
    label->setText(text);
    label->setAccessibleDescription(text);
    return label;
}

QString knopfStil() {
    return QStringLiteral(R"(
QPushButton {
    color: #1d1a10;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbf7e9, stop:1 #d9cfae);
    border: 1px solid #8a7a4a;
    border-radius: 3px;
    padding: 0px 2px;
}
QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fffdf4, stop:1 #eadfb9); }
QPushButton:pressed { background: #cbbf98; }
QPushButton:disabled {
    color: #a7a48f;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4a4a42, stop:1 #3a3a33);
    border: 1px solid #5c5a4c;
}
QPushButton#Command3, QPushButton#Command17 {
    color: white;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4f8fe6, stop:1 #1f4fa8);
    border: 1px solid #10306a;
    border-radius: 6px;
}
QPushButton#Command3:hover, QPushButton#Command17:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #6ba4f0, stop:1 #2a60c0);
}
QPushButton#Command3:pressed, QPushButton#Command17:pressed { background: #1a4290; }
)");
}

Haekchen::Haekchen(const QString& text, QRgb vordergrund, QWidget* eltern)
    : QCheckBox(text, eltern), m_vordergrund(vordergrund) {}

void Haekchen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::black);
    const QColor hell(m_vordergrund);
    const int seite = qMin(height() - 2, 11);
    const QRectF kasten(1.5, (height() - seite) / 2.0 + 0.5, seite - 1, seite - 1);
    p.setPen(QPen(underMouse() ? Qt::white : hell, 1));
    p.setBrush(QColor(32, 32, 32));
    p.drawRoundedRect(kasten, 2, 2);
    if (isChecked()) {
        p.setPen(QPen(hell, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF o = kasten.topLeft();
        const qreal s = kasten.width();
        p.drawPolyline(QPolygonF{o + QPointF(s * 0.2, s * 0.55), o + QPointF(s * 0.42, s * 0.78),
                                 o + QPointF(s * 0.82, s * 0.22)});
    }
    p.setPen(hell);
    p.setFont(font());
    p.drawText(rect().adjusted(seite + 6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
}

} // namespace wk
