// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qteinstellungen.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QtDebug>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wk {

namespace {

const QString Anwendungsdatei = QStringLiteral("/Wurfkrone/Wurfkrone.conf");
const QString SperrZusatz = QStringLiteral(".sperre");
const QString EntwurfsZusatz = QStringLiteral(".neu-");
constexpr std::chrono::milliseconds SperrPauseHoechstens{32};  // between two tries, doubling from 1 ms

void melden(const QString& text) { qWarning().noquote() << "Einstellungen:" << text; }

// The file that `pfad` leads to through symbolic links, or "" for a loop.
QString zielVon(const QString& pfad) {
    QFileInfo info(pfad);
    for (int tiefe = 0; info.isSymLink(); ++tiefe) {
        if (tiefe == 40) return {};
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

bool laeuft(qint64 pid) { return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH; }

// The lock of one save: the file `pfad`, locked with flock(2) and removed
// again when the lock goes.
class Sperre {
public:
    enum class Stand { Gehalten, Besetzt, Unmoeglich };

    explicit Sperre(QString pfad) : m_pfad(std::move(pfad)) {}
    Sperre(const Sperre&) = delete;
    Sperre& operator=(const Sperre&) = delete;
    ~Sperre() {
        if (m_fd >= 0) {
            // Removed while still held: whoever waits on this file notices
            // that it is gone and makes a new one.
            ::unlink(QFile::encodeName(m_pfad).constData());
            ::close(m_fd);
        }
    }

    // Tries until the lock is held or `frist` has passed, pausing from 1 ms
    // on, doubling up to 32 ms. Unmoeglich when the file cannot be made or
    // locked (errno tells why).
    Stand nehmen(std::chrono::milliseconds frist) {
        const QByteArray pfad = QFile::encodeName(m_pfad);
        const QDeadlineTimer ende(frist);
        std::chrono::milliseconds pause{1};
        for (;;) {
            const int fd = ::open(pfad.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd < 0) {
                return Stand::Unmoeglich;
            }
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                struct stat offen{}, jetzt{};
                if (::fstat(fd, &offen) == 0 && ::stat(pfad.constData(), &jetzt) == 0 && offen.st_ino == jetzt.st_ino &&
                    offen.st_dev == jetzt.st_dev) {
                    m_fd = fd;
                    return Stand::Gehalten;
                }
                ::close(fd);  // its holder removed it meanwhile
                continue;
            }
            const int fehler = errno;
            ::close(fd);
            if (fehler != EWOULDBLOCK) {
                errno = fehler;
                return Stand::Unmoeglich;
            }
            if (ende.hasExpired()) {
                return Stand::Besetzt;
            }
            QThread::msleep(static_cast<unsigned long>(pause.count()));
            pause = std::min(pause * 2, SperrPauseHoechstens);
        }
    }

private:
    QString m_pfad;
    int m_fd = -1;
};

} // namespace

QtEinstellungen::QtEinstellungen(QString dateipfad, std::chrono::milliseconds wartezeit)
    : m_dateipfad(std::move(dateipfad)), m_wartezeit(wartezeit) {}

QString QtEinstellungen::standardPfad() {
    QString ordner = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (ordner.isEmpty()) {
        ordner = QDir::homePath() + QStringLiteral("/.config");
    }
    return ordner + Anwendungsdatei;
}

QString QtEinstellungen::sperrPfad() const { return m_dateipfad + SperrZusatz; }

std::vector<std::string> QtEinstellungen::lesen(const std::string& abschnitt, const std::vector<std::string>& schluessel,
                                                const std::string& vorgabe) const {
    const QString name = QString::fromStdString(abschnitt);
    std::vector<QString> namen;
    for (const std::string& s : schluessel) namen.push_back(QString::fromStdString(s));
    std::vector<std::string> werte(schluessel.size(), vorgabe);

    const QFileInfo info(m_dateipfad);
    QFile datei(m_dateipfad);
    if (info.exists() && (!info.isFile() || !datei.open(QIODevice::ReadOnly))) {
        einmalMelden(QStringLiteral("Datei %1 kann nicht gelesen werden").arg(m_dateipfad));
    } else if (datei.isOpen()) {
        const ini::Gelesen gelesen = ini::lesen(datei, name, namen);
        if (!gelesen.vollstaendig) einmalMelden(QStringLiteral("Datei %1 kann nicht ganz gelesen werden").arg(m_dateipfad));
        if (gelesen.beschaedigt) {
            einmalMelden(QStringLiteral("Datei %1 ist beschädigt; gelesen wird, was lesbar ist, und der Rest bleibt, wie er ist")
                             .arg(m_dateipfad));
        }
        for (std::size_t i = 0; i < werte.size(); ++i) {
            if (gelesen.werte[i]) werte[i] = *gelesen.werte[i];
        }
    }
    if (m_transaktion != nullptr) {
        for (const ini::Eintrag& eintrag : *m_transaktion) {
            const auto platz = std::find(namen.begin(), namen.end(), eintrag.schluessel);
            if (eintrag.abschnitt == name && platz != namen.end()) werte[platz - namen.begin()] = eintrag.wert;
        }
    }
    return werte;
}

void QtEinstellungen::schreiben(const std::string& abschnitt, const std::string& schluessel,
                                const std::string& wert) {
    if (m_transaktion == nullptr) {
        gesperrt([&] { schreiben(abschnitt, schluessel, wert); });
        return;
    }
    ini::Eintrag neu{QString::fromStdString(abschnitt), QString::fromStdString(schluessel), wert};
    const auto alt = std::find_if(m_transaktion->begin(), m_transaktion->end(), [&](const ini::Eintrag& e) {
        return e.abschnitt == neu.abschnitt && e.schluessel == neu.schluessel;
    });
    if (alt != m_transaktion->end()) {
        alt->wert = wert;
    } else {
        m_transaktion->push_back(std::move(neu));
    }
}

void QtEinstellungen::gesperrt(const std::function<void()>& arbeit) {
    if (m_transaktion != nullptr) {
        arbeit();
        return;
    }
    const QString ordner = QFileInfo(m_dateipfad).absolutePath();
    if (!QDir().mkpath(ordner)) melden(QStringLiteral("Ordner %1 kann nicht angelegt werden").arg(ordner));
    Sperre sperre(sperrPfad());
    bool gesichert = true;
    switch (sperre.nehmen(m_wartezeit)) {
    case Sperre::Stand::Gehalten:
        break;
    case Sperre::Stand::Besetzt:
        melden(QStringLiteral("Sperre %1 wird von einem anderen Programm gehalten").arg(sperrPfad()));
        gesichert = false;
        break;
    case Sperre::Stand::Unmoeglich: {
        const QString grund = QString::fromLocal8Bit(std::strerror(errno));
        melden(QStringLiteral("Sperre %1 kann nicht angelegt werden (%2); es geht ohne Sperre weiter").arg(sperrPfad(), grund));
        break;
    }
    }

    std::vector<ini::Eintrag> eintraege;
    {
        // Ends the transaction however the work ends.
        struct Beenden {
            std::vector<ini::Eintrag>*& laufend;
            ~Beenden() { laufend = nullptr; }
        } const beenden{m_transaktion};
        m_transaktion = &eintraege;
        arbeit();
    }
    if (!eintraege.empty() && !(gesichert && speichern(eintraege))) {
        melden(QStringLiteral("Datei %1 konnte nicht gespeichert werden; sie bleibt, wie sie war").arg(m_dateipfad));
    }
}

bool QtEinstellungen::speichern(const std::vector<ini::Eintrag>& eintraege) const {
    const QString ziel = zielVon(m_dateipfad);
    resteEntfernen(ziel);
    const QFileInfo info(ziel);
    const bool vorhanden = info.exists();
    if (ziel.isEmpty() || (vorhanden && !info.isFile())) {
        melden(QStringLiteral("%1 ist keine gewöhnliche Datei").arg(m_dateipfad));
        return false;
    }
    if (vorhanden && !(info.isWritable() && info.permissions().testFlag(QFile::WriteOwner))) {
        melden(QStringLiteral("Datei %1 ist schreibgeschützt").arg(ziel));
        return false;
    }
    QFile alt(ziel);
    if (vorhanden && !alt.open(QIODevice::ReadOnly)) {
        melden(QStringLiteral("Datei %1 kann nicht gelesen werden").arg(ziel));
        return false;
    }
    const QString entwurfsPfad = ziel + EntwurfsZusatz + QString::number(QCoreApplication::applicationPid());
    QFile entwurf(entwurfsPfad);
    bool ok = entwurf.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              ini::schreiben(vorhanden ? &alt : nullptr, eintraege, entwurf) && entwurf.flush() &&
              ::fdatasync(entwurf.handle()) == 0;
    entwurf.close();
    if (vorhanden) entwurf.setPermissions(info.permissions());
    ok = ok && entwurf.error() == QFileDevice::NoError &&
         ::rename(QFile::encodeName(entwurfsPfad).constData(), QFile::encodeName(ziel).constData()) == 0;
    if (!ok) QFile::remove(entwurfsPfad);
    return ok;
}

void QtEinstellungen::resteEntfernen(const QString& ziel) const {
    QStringList pfade{m_dateipfad, ziel};  // the old versions put their drafts beside the name given
    pfade.removeDuplicates();
    for (const QString& pfad : std::as_const(pfade)) {
        const QFileInfo datei(pfad);
        const QDir ordner = datei.absoluteDir();
        const QString vorsilbe = datei.fileName() + EntwurfsZusatz;
        const QStringList namen = ordner.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : namen) {
            qsizetype ende = vorsilbe.size();
            while (ende < name.size() && name[ende].isDigit()) ++ende;
            const qint64 pid = name.startsWith(vorsilbe) ? name.sliced(vorsilbe.size(), ende - vorsilbe.size()).toLongLong() : 0;
            if (pid > 0 && !laeuft(pid)) QFile::remove(ordner.filePath(name));
        }
    }
    // Earlier versions took their lock with QLockFile, whose guard for taking
    // over a stale lock names its program in the first line.
    QFile waechter(sperrPfad() + QStringLiteral(".rmlock"));
    if (waechter.open(QIODevice::ReadOnly)) {
        const qint64 pid = waechter.readLine(32).trimmed().toLongLong();
        waechter.close();
        if (pid <= 0 || !laeuft(pid)) waechter.remove();
    }
}

void QtEinstellungen::einmalMelden(const QString& text) const {
    if (!m_gemeldet.contains(text)) {
        m_gemeldet << text;
        melden(text);
    }
}

} // namespace wk
