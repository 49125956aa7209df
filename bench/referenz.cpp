// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The yardstick for the start-up benchmark: a bare Qt Widgets window of the
// start window's shape (641 x 500, light grey, 63 labels, 10 option buttons,
// 6 push buttons, all placed with setGeometry) and nothing else: no style
// sheets, no artwork, no settings. It reports its first paint exactly as the
// game does (wk::ErstesBild, src/app/erstesbild.h).
#include "app/erstesbild.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    wk::ErstesBild erstesBild;
    erstesBild.beiBedarfEinsetzen(app);

    QWidget fenster;
    fenster.setWindowTitle(QStringLiteral("Referenz"));
    fenster.setFixedSize(641, 500);
    fenster.setAutoFillBackground(true);
    QPalette grau = fenster.palette();
    grau.setColor(QPalette::Window, QColor(0xF3, 0xF3, 0xF3));
    fenster.setPalette(grau);

    for (int k = 0; k < 20; ++k) {
        const int y = k < 10 ? 77 + 18 * k : 266 + 18 * (k - 10);
        (new QLabel(QStringLiteral("Platz %1").arg(k + 1), &fenster))->setGeometry(40, y, 53, 16);
        (new QLabel(QStringLiteral("Name %1").arg(k + 1), &fenster))->setGeometry(100, y, 161, 16);
        (new QLabel(QStringLiteral("0"), &fenster))->setGeometry(272, y, 89, 16);
    }
    (new QLabel(QStringLiteral("Highscore bei 1 Rundenspiel."), &fenster))->setGeometry(12, 44, 381, 28);
    (new QLabel(QStringLiteral("Version 1.0"), &fenster))->setGeometry(4, 4, 137, 17);
    (new QLabel(QStringLiteral("Homepage"), &fenster))->setGeometry(468, 384, 133, 22);

    for (int i = 0; i < 6; ++i) {
        (new QRadioButton(QStringLiteral("%1. Spieler").arg(i + 1), &fenster))
            ->setGeometry(404 + 116 * (i / 3), 27 + 33 * (i % 3), 108, 31);
    }
    for (int i = 0; i < 4; ++i) {
        (new QRadioButton(QStringLiteral("%1. Runden").arg(i + 1), &fenster))->setGeometry(460, 140 + 42 * i, 107, 31);
    }
    for (int i = 0; i < 4; ++i) {
        (new QPushButton(QString::number(i + 1), &fenster))->setGeometry(28 + 84 * i, 24, 73, 16);
    }
    (new QPushButton(QStringLiteral("Spiel Starten"), &fenster))->setGeometry(420, 306, 197, 70);
    (new QPushButton(QStringLiteral("Exit"), &fenster))->setGeometry(56, 456, 141, 34);

    fenster.show();
    return app.exec();
}
