// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Test helper: eintragen_helfer DATEI NAME=PUNKTE... enters each result into
// the highscore file as a game of its own, and waits until it is saved
// before the next. It prints "bereit" and waits until its standard input is
// closed, so that several helpers can be let go at one moment.

#include <iostream>
#include <limits>

#include <QCoreApplication>

#include "game/zahltext.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

int main(int argc, char** argv) {
    QCoreApplication programm(argc, argv);
    if (argc < 2) return 2;
    wk::QtEinstellungen einstellungen(QString::fromLocal8Bit(argv[1]));
    struct : wk::Meldung {
        void zeigen(const std::string& text) override { std::cerr << text << '\n'; }
    } meldung;
    wk::Highscore highscore(einstellungen, meldung);
    std::cout << "bereit" << std::endl;
    std::cin.ignore(std::numeric_limits<std::streamsize>::max());
    for (int i = 2; i < argc; ++i) {
        const std::string ergebnis = argv[i];
        wk::Spielstand stand;
        stand.spielerAnlegen(1);
        stand.Namen[1] = ergebnis.substr(0, ergebnis.rfind('='));
        stand.Gesamtpunkte[1] = wk::zahlAusText(ergebnis.substr(ergebnis.rfind('=') + 1));
        highscore.Auswertung(stand);
        if (!einstellungen.warten(std::chrono::minutes(2))) return 1;
    }
}
