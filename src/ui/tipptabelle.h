// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/tabelle.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace wk {

// The coach's table for the whole run of the program: computed once, when it is
// first asked for, off the GUI thread on one thread per core, and kept. The
// threads run at normal priority: a thread of idle priority gets almost no
// time while any other program computes. The window stays responsive all the
// same, since the GUI thread mostly sleeps and the scheduler runs a thread
// that wakes from sleep ahead of those that compute.
class Tipptabelle : public QObject {
    Q_OBJECT

public:
    // Computes a table, handing its jobs to the Verteiler.
    using Rechnung = std::function<std::unique_ptr<Tabelle>(const Verteiler&)>;

    // By default the whole table of this game's rules.
    explicit Tipptabelle(Rechnung rechnung = {}, QObject* parent = nullptr);
    // Stops a computation still running: the jobs under way end, the others
    // are skipped.
    ~Tipptabelle() override;

    // Starts the computation, unless it has been started before.
    void anfordern();
    bool angefordert() const { return m_faden != nullptr; }

    // The table once computed, null before.
    const Tabelle* tabelle() const { return m_tabelle.get(); }

signals:
    // The table is there (emitted on the GUI thread, once).
    void fertig();

private:
    void verteilen(int anzahl, const std::function<void(int)>& auftrag);

    Rechnung m_rechnung;
    std::unique_ptr<QThread> m_faden;
    std::atomic<bool> m_abbrechen{false};
    std::unique_ptr<Tabelle> m_ergebnis;  // written by m_faden, taken when it has finished
    std::unique_ptr<Tabelle> m_tabelle;
};

} // namespace wk
