// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCheckBox>
#include <QRgb>
#include <QString>

class QFont;
class QLabel;
class QRect;

// How the game window's own controls look: its labels, its buttons and the
// keep-on-top check box.
namespace wk {

enum class Rahmen { Ohne, Duenn };

// A plain-text label at `ort` whose text colour is `farbe`, over a
// transparent background, with a thin frame or none; its accessible
// description follows its text.
QLabel* neuesLabel(QWidget* eltern, const QString& name, const QString& text, const QRect& ort,
                   const QFont& font, QRgb farbe, Qt::Alignment ausrichtung, Rahmen rahmen);

// The style sheet of the game window's buttons: cream buttons, the two roll
// buttons Command3 and Command17 in blue.
QString knopfStil();

// The keep-on-top check box: text and box in `vordergrund` on black, with a
// drawn tick.
class Haekchen : public QCheckBox {
public:
    Haekchen(const QString& text, QRgb vordergrund, QWidget* eltern);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QRgb m_vordergrund = 0;
};

} // namespace wk
