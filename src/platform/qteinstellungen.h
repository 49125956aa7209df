// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include <unistd.h>

#include "highscore/einstellungen.h"
#include "platform/inidatei.h"
#include "platform/vormerkungen.h"

namespace wk {

// The settings store as an INI file that QSettings reads and writes alike
// (inidatei.h, iniwerte.h). Every value written reads back exactly, whatever
// characters or bytes it holds, up to ini::LaengsteZeile bytes; no character
// is dropped or replaced on the way to the file. A lone UTF-16 surrogate,
// which only another program can put into the file ("\xd800"), stays there
// as it is, and reads as "?" in a value asked for.
//
// Reading takes no lock and reads at most the first ini::Obergrenze bytes of
// the file, in pieces; what was read is kept for as long as the file stays
// as it was, so that showing another list costs nothing.
//
// Work handed over with vormerken() is entered by a thread of the store's
// own, never by the caller: at once when the lock is free; otherwise, and
// when a save fails, it first goes into this object's journal
// (vormerkungen.h). Under the lock the thread enters its own work and that of
// every journal beside the store, oldest first, passing over the ids that
// "Nachtrag/erledigt" names: the ids of journal entries entered, kept there
// until their journals are gone, so that none is entered twice. It removes
// its journal and those of programs that are gone. The lock is flock(2) on
// the lock file sperrPfad(), which the kernel lets go of the moment its
// holder ends; where no lock file can be made (a directory or a dangling
// link in its place, no permission), on the store's folder. A living
// holder's lock is waited for as long as it takes; after `geduld` the
// observers are told that the work waits. A save that fails (a full disk, a
// file that is read-only or not a plain file) is logged, told and tried
// again every `geduld`; when the program ends first, its journal is entered
// by the next save of any program, or at the next start (nachtragen()).
//
// Saving replaces only the lines of the entries written; every other byte of
// the file stays. The new text goes to a draft beside the file
// ("<file>.neu-<process id>"), is flushed to disk and replaces the file in one
// rename, so a reader sees the old or the new file and a crash or a full disk
// leaves the old one; the file keeps its permissions. A symbolic link is
// written through: the file it leads to is replaced, the link stays. A file
// larger than ini::Obergrenze is moved aside once ("<file>.zu-gross-<date>",
// logged) and replaced by the entries read from it and those written. Each
// save removes the drafts of programs that no longer run, and the guard
// "<lock>.rmlock" that earlier versions of the program may have left.
//
// The object belongs to the thread that made it; it may be shared with other
// objects, in this program or in others, on the same file.
class QtEinstellungen final : public Einstellungen {
public:
    // Makes the bytes written to a file descriptor durable; fdatasync(2).
    using Sichern = Journal::Sichern;
    static constexpr std::chrono::milliseconds StandardGeduld{5000};

    explicit QtEinstellungen(QString dateipfad, std::chrono::milliseconds geduld = StandardGeduld,
                             Sichern sichern = ::fdatasync);
    // Stops the store's thread at once; work it has not entered stays in
    // the journal.
    ~QtEinstellungen() override;
    QtEinstellungen(const QtEinstellungen&) = delete;
    QtEinstellungen& operator=(const QtEinstellungen&) = delete;

    // $XDG_CONFIG_HOME/Wurfkrone/Wurfkrone.conf, or the platform's
    // equivalent of the per-user configuration folder.
    static QString standardPfad();

    const QString& dateipfad() const { return m_dateipfad; }
    QString sperrPfad() const;

    std::vector<std::string> lesen(const std::vector<std::string>& schluessel,
                                   const std::string& vorgabe) const override;
    std::string vormerken(Auftrag auftrag) override;
    void nachtragen() override;
    void anmelden(Beobachter& beobachter) override;
    void abmelden(Beobachter& beobachter) override;

    // Waits at most `frist` until all work handed over has been entered;
    // false when some still waits. For programs without windows.
    bool warten(std::chrono::milliseconds frist);

    class Transaktion;

private:
    struct Offen {
        Auftrag auftrag;
        bool imJournal = false;
        bool gemeldet = false;
    };
    struct Ausgang;

    void arbeiten();
    Ausgang eintragenVersuchen(const std::vector<Auftrag>& eigene);
    bool speichern(const Transaktion& transaktion) const;
    void resteEntfernen(const QString& ziel) const;
    void verzoegertMelden();
    // Writes every Offen into the journal when one is missing there, or the
    // journal still holds work entered meanwhile.
    void journalSchreiben();
    // Runs `was` for every observer on the owner's thread, between its events.
    void berichten(std::function<void(Beobachter&)> was);
    ini::Gelesen dateiLesen(const std::vector<QString>& schluessel) const;
    // Entries by "Abschnitt/Schlüssel"; nullopt: missing or no text.
    using Werte = std::map<QString, std::optional<std::string>>;
    // The texts of `schluessel`, read from the file into `werte` where missing there.
    std::vector<std::string> nachlesen(Werte& werte, const std::vector<std::string>& schluessel, const std::string& vorgabe) const;
    // Logs `text` the first time this object meets it.
    void einmalMelden(const QString& text) const;

    QString m_dateipfad;
    std::chrono::milliseconds m_geduld;
    Sichern m_sichern;
    Journal m_journal;
    std::unique_ptr<QObject> m_bote;  // on the owner's thread: tells the observers there
    std::vector<Beobachter*> m_beobachter{};

    // What was read, for the file as it was then (device, inode, size, times).
    struct Abbild {
        std::vector<qint64> stand{};
        Werte werte{};
    };
    mutable std::mutex m_abbildSperre;  // held while the window's thread reads
    mutable Abbild m_abbild{};
    mutable std::mutex m_meldeSperre;
    mutable QStringList m_gemeldet{};

    std::mutex m_sperre;  // guards what follows, shared with the store's thread
    std::condition_variable m_wecker;
    std::condition_variable m_fertig;
    std::vector<Offen> m_offen{};
    bool m_journalAlt = false;  // the journal holds work entered meanwhile
    bool m_nachtragen = false;
    bool m_ende = false;
    bool m_ruhig = true;  // the thread waits for work
    std::thread m_thread{};
};

} // namespace wk
