#pragma once

#include <chrono>

#include <QString>

#include "highscore/einstellungen.h"

namespace wk {

// The settings store as an INI file read and written through QSettings. A
// section and a key address the entry "abschnitt/schluessel". Every value is
// written as a plain string and read back exactly as written, whatever
// characters it holds (commas, quotes, "=", ";", blanks at the ends,
// non-ASCII). Entries a person typed into the file by hand are read as text
// too: an unquoted list "A, B" reads as "A, B", and a value that cannot be
// understood as text reads as missing.
//
// Saving never damages the file: the entries go into a new file beside it,
// which is read back and compared with what was meant before it replaces the
// old file in one rename. (QSettings' own saving through a temporary file is
// not enough: Qt 6.4 commits a half-written file when the disk fills up.)
//
// Failures are logged with qWarning and never thrown:
// - a damaged file reads as far as it can be parsed; before it is replaced, a
//   copy of it is kept beside it ("<file>.defekt-<time>"), and the entries
//   that could be parsed are saved again with the new ones;
// - a file that cannot be read is not replaced;
// - when the new file cannot be written completely, the old one stays as it
//   was and the changes are dropped.
//
// Transactions across programs are serialised by the lock file sperrPfad(),
// "<file>.sperre". It is not "<file>.lock": QSettings takes that one while it
// writes, and would wait for it forever while a transaction held it.
//
// One object serves one thread; several objects, in one program or in
// several, may share a file.
class QtEinstellungen final : public Einstellungen {
public:
    // How long gesperrt() waits for another program's transaction.
    static constexpr std::chrono::milliseconds StandardWartezeit{5000};
    // A lock older than this counts as left behind by a hung program.
    static constexpr std::chrono::milliseconds SperreVeraltetNach{15000};

    explicit QtEinstellungen(QString dateipfad,
                             std::chrono::milliseconds wartezeit = StandardWartezeit);

    QtEinstellungen(const QtEinstellungen&) = delete;
    QtEinstellungen& operator=(const QtEinstellungen&) = delete;

    // $XDG_CONFIG_HOME/Wurfkrone/Wurfkrone.conf, or the platform's
    // equivalent of the per-user configuration folder.
    static QString standardPfad();

    const QString& dateipfad() const { return m_dateipfad; }
    QString sperrPfad() const;

    // Outside a transaction, each read sees the file as it is now and each
    // write is a transaction of its own.
    std::string lesen(const std::string& abschnitt, const std::string& schluessel,
                      const std::string& vorgabe) const override;
    void schreiben(const std::string& abschnitt, const std::string& schluessel,
                   const std::string& wert) override;

    // Takes the lock file, waiting at most the waiting time; if it cannot be
    // had, logs that and does the work anyway rather than drop it. Reads see
    // the file as it is now plus the writes made so far; the file is
    // replaced only if something was written. A call inside a running
    // transaction joins that transaction.
    void gesperrt(const std::function<void()>& arbeit) override;

private:
    struct Transaktion;

    void ordnerAnlegen() const;
    void beschaedigteDateiSichern() const;
    bool ersetzenDurchEntwurf(Transaktion& transaktion) const;
    // Once per object, so that a damaged file does not flood the log.
    void leseFehlerMelden(bool beschaedigt) const;
    // Remembers the file as damaged when a read reports a format error:
    // QSettings parses a file once per program, so a later read of the same,
    // unchanged file no longer reports it.
    void lesestandMerken(int status) const;
    bool alsBeschaedigtBekannt() const;

    QString m_dateipfad;
    std::chrono::milliseconds m_wartezeit{StandardWartezeit};
    Transaktion* m_transaktion = nullptr;
    mutable bool m_leseFehlerGemeldet = false;
    mutable QString m_beschaedigteFassung{};  // modification time and size of a damaged file, or empty
};

} // namespace wk
