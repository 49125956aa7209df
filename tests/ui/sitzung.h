// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/fakedienste.h"
#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "platform/fensteroben.h"
#include "ui/anwendung.h"
#include "ui/form1.h"
#include "ui/tipptabelle.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>
#include <QTimer>

#include <map>
#include <string>

// The program on fake services, with the table, started on a store that
// holds `werte`.
struct Sitzung {
    Sitzung(const wk::Artwork& artwork, wk::Tipptabelle& tabelle, std::map<std::string, std::string> werte)
        : anwendung({meldung, eingabe, links, oben, einstellungen}, artwork, tabelle) {
        einstellungen.werte = std::move(werte);
        anwendung.starten();
    }
    QComboBox* box(const char* name) const { return anwendung.form2()->findChild<QComboBox*>(QLatin1String(name)); }
    // The boxes are made once the start window has been painted, the stored choice read then.
    void gebaut() const { QTRY_VERIFY(box("Tempo")); }
    void klick(const QString& name) const { anwendung.form2()->findChild<QAbstractButton*>(name)->click(); }
    wk::Form1* starten(int menschen) const {
        klick(QStringLiteral("Option2_%1").arg(menschen - 1));
        klick(QStringLiteral("Command1"));
        return anwendung.form1();
    }
    // The person's sheet: a roll and the first open category, 13 times; the
    // animation as fast as the event loop allows.
    void menschSpielt() const {
        wk::Form1* f = anwendung.form1();
        f->findChild<QTimer*>(QStringLiteral("Timer1"))->setInterval(0);
        for (int i = 0; i < 13; ++i) {
            f->handeln({wk::Aktion::Wuerfeln});
            QTRY_VERIFY(!f->spiel().feld().Timer1);
            int zelle = 0;
            while (!f->spiel().feld().Kategorien[zelle].Visible) ++zelle;
            f->handeln({wk::Aktion::Eintragen, zelle});
        }
    }
    const wk::Spielstand& stand() const { return anwendung.stand(); }

    FakeMeldung meldung;
    FakeEingabe eingabe;
    FakeLinks links;
    wk::QtFensterOben oben;
    FakeEinstellungen einstellungen;
    wk::Anwendung anwendung;
};
