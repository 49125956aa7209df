// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/tabelle.h"
#include "ui/tipptabelle.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <functional>
#include <memory>

#include <sched.h>

// A test with the coach's whole table, computed as the program computes it:
// on the Tipptabelle's threads of normal priority, with many jobs per layer;
// every job notes whether its thread ran at idle priority.
class MitGanzerTabelle : public QObject {
protected:
    // From initTestCase().
    void tabelleRechnen() {
        QSignalSpy fertig(&m_tabelle, &wk::Tipptabelle::fertig);
        m_tabelle.anfordern();
        QVERIFY(fertig.wait(60000));
        m_ganz = m_tabelle.tabelle();
    }

    std::atomic<bool> m_imLeerlauf{false};
    wk::Tipptabelle m_tabelle{[this](const wk::Verteiler& verteiler) {
        return std::make_unique<wk::Tabelle>(wk::Hausregeln, [&](int anzahl, const std::function<void(int)>& auftrag) {
            verteiler(anzahl, [&](int i) {
                if (sched_getscheduler(0) == SCHED_IDLE) m_imLeerlauf = true;
                auftrag(i);
            });
        });
    }};
    const wk::Tabelle* m_ganz = nullptr;
};
