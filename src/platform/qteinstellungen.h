// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <vector>

#include <QString>
#include <QStringList>

#include "highscore/einstellungen.h"
#include "platform/inidatei.h"

namespace wk {

// The settings store as an INI file that QSettings reads and writes alike
// (inidatei.h, iniwerte.h). A section and a key address one entry. Every
// value written reads back exactly, whatever characters or bytes it holds;
// no character is dropped or replaced on the way to the file. A lone UTF-16
// surrogate, which only another program can put into the file ("\xd800"),
// stays there as it is, and reads as "?" in a value asked for.
//
// Reading takes no lock and reads the file in pieces, so it never waits for
// another program and a file of any size shows quickly in little memory.
//
// Saving replaces only the lines of the entries written; every other byte of
// the file stays. The new text goes to a draft beside the file
// ("<file>.neu-<process id>"), is flushed to disk and replaces the file in one
// rename, so a reader sees the old or the new file and a crash or a full disk
// leaves the old one. A symbolic link is written through: the file it leads
// to is replaced, the link stays. The entries are not saved (logged with
// qWarning, never thrown) when the file is not a plain file, cannot be read,
// or its owner may not write it: such a file is left as it is.
//
// Saves of all programs take turns by the lock file sperrPfad(), held with
// flock(2) while the save runs and removed after it: the kernel lets go of
// the lock the moment its holder ends, however it ends, so a program that
// died never holds up another, and a living holder's lock is never taken
// from it, whatever its age or content. A save waits for a living holder at
// most the waiting time, then is dropped and logged: it is never written
// without the lock while its holder lives. A lock that cannot be made at all
// (a directory in its place, no permission) is logged at once and the save
// goes on without it. Each save removes the drafts of programs that no
// longer run, and the guard "<lock>.rmlock" that earlier versions of the
// program may have left.
//
// One object serves one thread; several objects, in one program or in
// several, may share a file, but one object's transaction must not be nested
// in another's on the same file.
class QtEinstellungen final : public Einstellungen {
public:
    static constexpr std::chrono::milliseconds StandardWartezeit{5000};

    explicit QtEinstellungen(QString dateipfad,
                             std::chrono::milliseconds wartezeit = StandardWartezeit);

    QtEinstellungen(const QtEinstellungen&) = delete;
    QtEinstellungen& operator=(const QtEinstellungen&) = delete;

    // $XDG_CONFIG_HOME/Wurfkrone/Wurfkrone.conf, or the platform's
    // equivalent of the per-user configuration folder.
    static QString standardPfad();

    const QString& dateipfad() const { return m_dateipfad; }
    QString sperrPfad() const;

    std::vector<std::string> lesen(const std::string& abschnitt, const std::vector<std::string>& schluessel,
                                   const std::string& vorgabe) const override;
    void schreiben(const std::string& abschnitt, const std::string& schluessel,
                   const std::string& wert) override;
    void gesperrt(const std::function<void()>& arbeit) override;

private:
    bool speichern(const std::vector<ini::Eintrag>& eintraege) const;
    void resteEntfernen(const QString& ziel) const;
    // Logs `text` the first time this object meets it.
    void einmalMelden(const QString& text) const;

    QString m_dateipfad;
    std::chrono::milliseconds m_wartezeit{StandardWartezeit};
    std::vector<ini::Eintrag>* m_transaktion = nullptr;  // the writes of the running transaction
    mutable QStringList m_gemeldet{};
};

} // namespace wk
