#pragma once

// What the highscore tests share: files, a folder per test, log and user.

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include <pwd.h>
#include <unistd.h>

#include "game/spielstand.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

inline const std::string Fehlt = "fehlt";

inline QString q(const std::string& text) { return QString::fromStdString(text); }

inline QByteArray inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

inline bool schreibeDatei(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

// Within one program QSettings shares what it has parsed of a file, so a
// second object on the same path may never look at the bytes. A copy under a
// new name is read from disk, as another program would read the file.
inline QString kopieVonPlatte(const QString& pfad) {
    static int kopien = 0;
    const QString kopie = pfad + QStringLiteral(".kopie%1").arg(++kopien);
    QFile::copy(pfad, kopie);
    return kopie;
}

inline QString vonPlatte(const QString& pfad, const std::string& abschnitt,
                         const std::string& schluessel) {
    return q(wk::QtEinstellungen(kopieVonPlatte(pfad)).lesen(abschnitt, schluessel, Fehlt));
}

// Twenty places as "Name:Punkte": the given ones first, then `rest`.
inline QStringList plaetze(QStringList anfang, const QString& rest = QStringLiteral("0:0")) {
    while (anfang.size() < wk::ListenLaenge) {
        anfang << rest;
    }
    return anfang;
}

// A game of `runden` Runden with these players and totals.
inline wk::Spielstand spiel(int runden, const QStringList& namen, const QList<double>& punkte) {
    wk::Spielstand stand;
    stand.Runden = runden;
    stand.spielerAnlegen(static_cast<int>(namen.size()));
    for (int p = 1; p <= namen.size(); ++p) {
        stand.Namen[p] = namen[p - 1].toStdString();
        stand.Gesamtpunkte[p] = punkte[p - 1];
    }
    return stand;
}

// Collects the log while it lives instead of printing it.
class Warnungen {
public:
    Warnungen() : m_vorher(qInstallMessageHandler(&merken)) { texte().clear(); }
    ~Warnungen() { qInstallMessageHandler(m_vorher); }

    static QStringList& texte() {
        static QStringList alle;
        return alle;
    }

private:
    static void merken(QtMsgType, const QMessageLogContext&, const QString& text) { texte() << text; }

    QtMessageHandler m_vorher = nullptr;
};

// File permissions do not stop root. While this lives, a program run by root
// acts as the user "nobody", whom they do stop; for anyone else it does
// nothing.
class OhneRootrechte {
public:
    OhneRootrechte() {
        if (geteuid() == 0) {
            const passwd* niemand = getpwnam("nobody");
            m_gewechselt = niemand != nullptr && seteuid(niemand->pw_uid) == 0;
        }
    }
    ~OhneRootrechte() {
        if (m_gewechselt && seteuid(0) != 0) {
            qFatal("cannot return to root");
        }
    }

    bool wirksam() const { return geteuid() != 0; }

private:
    bool m_gewechselt = false;
};

// A fresh folder for every test function; its owner may write it again when
// the test ends, whatever the test did to it.
class MitOrdner {
protected:
    QString pfad() const { return m_ordner->filePath(QStringLiteral("Wurfkrone.conf")); }
    void ordnerAnlegen() { m_ordner = std::make_unique<QTemporaryDir>(); }
    void ordnerEntfernen() {
        QFile::setPermissions(m_ordner->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_ordner.reset();
    }

    std::unique_ptr<QTemporaryDir> m_ordner;
};
