// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <vector>

#include <QFile>
#include <QString>

#include "highscore/einstellungen.h"

namespace wk {

// The journal of one store object: the work it has not entered yet, one
// Auftrag a line, in a file beside the store ("<store>.offen-<name>"),
// written like the store: a draft, flushed to disk by `sichern`, renamed
// over the journal. Its owner holds flock(2) on the file as long as it
// lives, so that a journal whose lock can be taken has nobody left to enter
// it, however its owner ended.
class Journal {
public:
    using Sichern = int (*)(int fd);

    Journal(const QString& dateipfad, Sichern sichern);

    // Makes `auftraege` the journal's content; with none, removes it. False,
    // with the journal as before, when that could not be done.
    bool schreiben(const std::vector<Auftrag>& auftraege);
    bool vorhanden() const { return m_datei != nullptr; }

    // A journal found beside a store.
    struct Gefunden {
        QString pfad;
        std::vector<Auftrag> auftraege;
        std::unique_ptr<QFile> verwaist;  // its owner is gone: held open, with its lock
    };

    // All journals beside the store `dateipfad`: this object's, other living
    // programs' and those of owners that are gone. Drafts of gone owners are
    // removed. A line that is no Auftrag is passed over.
    static std::vector<Gefunden> alle(const QString& dateipfad);

private:
    QString m_pfad;
    Sichern m_sichern;
    std::unique_ptr<QFile> m_datei{};  // the journal as written last, holding its lock
};

} // namespace wk
