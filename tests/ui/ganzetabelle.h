// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/tabelle.h"
#include "ui/tipptabelle.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

// A test with the coach's whole table: computed on the test's thread at
// normal priority (the Tipptabelle's idle threads wait for every other test
// running) and handed to the windows through a Tipptabelle.
class MitGanzerTabelle : public QObject {
protected:
    // From initTestCase().
    void tabelleRechnen() {
        m_ganz = std::make_unique<wk::Tabelle>();
        QSignalSpy fertig(&m_tabelle, &wk::Tipptabelle::fertig);
        m_tabelle.anfordern();
        QVERIFY(fertig.wait(60000));
    }

    std::unique_ptr<wk::Tabelle> m_ganz;
    wk::Tipptabelle m_tabelle{[this](const wk::Verteiler&) { return std::make_unique<wk::Tabelle>(*m_ganz); }};
};
