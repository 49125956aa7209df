#pragma once

#include <chrono>
#include <vector>

#include <QString>
#include <QStringList>

#include "highscore/einstellungen.h"
#include "platform/inidatei.h"

class QLockFile;

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
// Saves of all programs take turns by the lock file sperrPfad() (QLockFile,
// which guards a living holder's lock by flock whatever its age). A save
// waits for a living holder at most the waiting time, then is dropped and
// logged: it is never written without the lock while its holder lives. A lock
// whose program has died is taken over at once by its process id, one left
// empty by a program killed while making it after SperreLeerVerwaist. A lock
// that cannot be made at all (a directory in its place, no permission) is
// logged at once and the save goes on without it. Each save removes the
// drafts of programs that no longer run, and a left-over "<lock>.rmlock".
//
// One object serves one thread; several objects, in one program or in
// several, may share a file, but one object's transaction must not be nested
// in another's on the same file.
class QtEinstellungen final : public Einstellungen {
public:
    static constexpr std::chrono::milliseconds StandardWartezeit{5000};
    static constexpr std::chrono::milliseconds SperreLeerVerwaist{50};

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
    // False when a living holder keeps the lock past the waiting time.
    bool sperren(QLockFile& sperre) const;
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
