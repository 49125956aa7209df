// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/fakedienste.h"
#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "platform/fensteroben.h"
#include "ui/anwendung.h"
#include "ui/artwork.h"

#include <QTest>

// A started game of one player over `runden` sheets.
inline wk::Spielstand einSpieler(int runden) {
    wk::Spielstand s;
    s.Runden = runden;
    s.spielerAnlegen(1);
    s.spielStarten();
    return s;
}

// The program on fake desktop services, started on a store in memory that
// holds `werte` as an earlier run left them.
struct Programm {
    explicit Programm(const wk::Artwork& artwork, std::map<std::string, std::string> werte = {})
        : anwendung({meldung, eingabe, links, fensterOben, einstellungen}, artwork) {
        einstellungen.werte = std::move(werte);
        anwendung.starten();
    }

    // The control `name` of `fenster`; null when there is none or no window.
    template <typename T = QWidget> static T* in(QWidget* fenster, const QString& name) {
        return fenster ? fenster->findChild<T*>(name) : nullptr;
    }
    // A mouse click in the middle of `w`, which must be shown and enabled.
    static void klick(QWidget* w) {
        QVERIFY(w && w->isVisible() && w->isEnabled());
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    void klick2(const QString& name) const { klick(in(anwendung.form2(), name)); }
    // Chooses the players, named as the input boxes answer, and starts the game.
    wk::Form1* spielStarten(int spieler = 1) const {
        klick2(QStringLiteral("Option2_%1").arg(spieler - 1));
        klick2(QStringLiteral("Command1"));
        return anwendung.form1();
    }

    FakeMeldung meldung;
    FakeEingabe eingabe;
    FakeLinks links;
    wk::QtFensterOben fensterOben;
    FakeEinstellungen einstellungen;
    wk::Anwendung anwendung;
};
