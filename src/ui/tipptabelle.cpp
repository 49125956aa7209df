// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/tipptabelle.h"

#include <QThread>

#include <algorithm>
#include <vector>

namespace wk {

Tipptabelle::Tipptabelle(Rechnung rechnung, QObject* parent) : QObject(parent), m_rechnung(std::move(rechnung)) {
    if (!m_rechnung) {
        m_rechnung = [](const Verteiler& verteiler) { return std::make_unique<Tabelle>(Hausregeln, verteiler); };
    }
}

Tipptabelle::~Tipptabelle() {
    if (m_faden) {
        m_abbrechen = true;
        m_faden->wait();
    }
}

void Tipptabelle::anfordern() {
    if (m_faden) {
        return;
    }
    m_faden.reset(QThread::create([this] {
        auto tabelle = m_rechnung([this](int anzahl, const std::function<void(int)>& auftrag) { verteilen(anzahl, auftrag); });
        if (!m_abbrechen) {
            m_ergebnis = std::move(tabelle);
        }
    }));
    // Queued to this object's thread; the thread's writes are done by then.
    connect(m_faden.get(), &QThread::finished, this, [this] {
        if (m_ergebnis && !m_tabelle) {
            m_tabelle = std::move(m_ergebnis);
            emit fertig();
        }
    });
    m_faden->start();
}

// The calling thread and one more thread per further core take the jobs one
// after the other until none is left.
void Tipptabelle::verteilen(int anzahl, const std::function<void(int)>& auftrag) {
    std::atomic<int> naechster{0};
    const auto arbeiten = [&] {
        for (int i = naechster++; i < anzahl && !m_abbrechen; i = naechster++) {
            auftrag(i);
        }
    };
    std::vector<std::unique_ptr<QThread>> helfer;
    for (int k = 1; k < std::min(QThread::idealThreadCount(), anzahl); ++k) {
        helfer.emplace_back(QThread::create(arbeiten));
        helfer.back()->start();
    }
    arbeiten();
    for (const auto& faden : helfer) {
        faden->wait();
    }
}

} // namespace wk
