// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/vormerkungen.h"

#include <limits>
#include <optional>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sys/file.h>
#include <sys/stat.h>

#include "platform/inidatei.h"

namespace wk {

namespace {

const QString JournalZusatz = QStringLiteral(".offen-");
const QString JournalEntwurf = QStringLiteral(".neu");

// "<id> <zeit> <runden or L>( <points> <name>)*", or for entries to set
// "<id> <zeit> S( <key> <text>)*", names, keys and texts percent-encoded.
QByteArray zeile(const Auftrag& auftrag) {
    const bool setzen = !auftrag.setzen.empty();
    QByteArray text = QByteArray::fromStdString(auftrag.id) + ' ' + QByteArray::number(auftrag.zeit) + ' ' +
                      (setzen ? QByteArray("S") : auftrag.loeschen ? QByteArray("L") : QByteArray::number(auftrag.runden));
    for (const auto& [name, punkte] : auftrag.ergebnisse) {
        text += ' ' + QByteArray::number(punkte, 'g', 17) + ' ' + QByteArray::fromStdString(name).toPercentEncoding();
    }
    for (const auto& [schluessel, wert] : auftrag.setzen) {
        text += ' ' + QByteArray::fromStdString(schluessel).toPercentEncoding() + ' ' +
                QByteArray::fromStdString(wert).toPercentEncoding();
    }
    return text + '\n';
}

std::optional<Auftrag> auftragAus(const QByteArray& zeile) {
    const QList<QByteArray> teile = zeile.split(' ');
    bool zeitOk = false, rundenOk = true;
    Auftrag auftrag;
    if (teile.size() < 3 || teile.size() % 2 == 0) return std::nullopt;
    auftrag.id = teile[0].toStdString();
    auftrag.zeit = teile[1].toLongLong(&zeitOk);
    auftrag.loeschen = teile[2] == "L";
    if (teile[2] == "S") {
        for (qsizetype i = 3; i + 1 < teile.size(); i += 2) {
            auftrag.setzen.emplace_back(QByteArray::fromPercentEncoding(teile[i]).toStdString(),
                                        QByteArray::fromPercentEncoding(teile[i + 1]).toStdString());
        }
        return auftrag.id.empty() || !zeitOk ? std::nullopt : std::optional(auftrag);
    }
    if (!auftrag.loeschen) auftrag.runden = teile[2].toInt(&rundenOk);
    for (qsizetype i = 3; i + 1 < teile.size(); i += 2) {
        bool ok = false;
        const double punkte = teile[i].toDouble(&ok);  // unreadable points never enter a list
        auftrag.ergebnisse.emplace_back(QByteArray::fromPercentEncoding(teile[i + 1]).toStdString(),
                                        ok ? punkte : std::numeric_limits<double>::quiet_NaN());
    }
    if (auftrag.id.empty() || !zeitOk || !rundenOk) return std::nullopt;
    return auftrag;
}

// Whether `datei`, open, is what `pfad` names now.
bool dieselbe(const QFile& datei, const QString& pfad) {
    struct stat offen{}, jetzt{};
    return ::fstat(datei.handle(), &offen) == 0 && ::stat(QFile::encodeName(pfad).constData(), &jetzt) == 0 &&
           offen.st_ino == jetzt.st_ino && offen.st_dev == jetzt.st_dev;
}

} // namespace

Journal::Journal(const QString& dateipfad, Sichern sichern)
    : m_pfad(dateipfad + JournalZusatz + QString::number(QRandomGenerator::system()->generate64(), 36)), m_sichern(sichern) {}

bool Journal::schreiben(const std::vector<Auftrag>& auftraege) {
    if (auftraege.empty()) {
        if (m_datei && !QFile::remove(m_pfad)) return false;
        m_datei.reset();
        return true;
    }
    QDir().mkpath(QFileInfo(m_pfad).absolutePath());
    auto entwurf = std::make_unique<QFile>(m_pfad + JournalEntwurf);
    QByteArray text;
    for (const Auftrag& auftrag : auftraege) text += zeile(auftrag);
    const bool ok = entwurf->open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    ::flock(entwurf->handle(), LOCK_EX | LOCK_NB) == 0 && entwurf->write(text) == text.size() &&
                    entwurf->flush() && m_sichern(entwurf->handle()) == 0 &&
                    ::rename(QFile::encodeName(entwurf->fileName()).constData(), QFile::encodeName(m_pfad).constData()) == 0;
    if (!ok) {
        entwurf->close();
        QFile::remove(entwurf->fileName());
        return false;
    }
    m_datei = std::move(entwurf);  // the journal written before goes, and its lock with it
    return true;
}

std::vector<Journal::Gefunden> Journal::alle(const QString& dateipfad) {
    const QFileInfo speicher(dateipfad);
    const QDir ordner = speicher.absoluteDir();
    std::vector<Gefunden> gefunden;
    const QStringList namen = ordner.entryList({speicher.fileName() + JournalZusatz + '*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : namen) {
        Gefunden journal{ordner.filePath(name), {}, std::make_unique<QFile>(ordner.filePath(name))};
        if (!journal.verwaist->open(QIODevice::ReadOnly)) continue;
        // The lock of a gone owner is free, and the name still leads to the file locked.
        const bool verwaist = ::flock(journal.verwaist->handle(), LOCK_EX | LOCK_NB) == 0 && dieselbe(*journal.verwaist, journal.pfad);
        if (name.endsWith(JournalEntwurf)) {
            if (verwaist) QFile::remove(journal.pfad);
            continue;
        }
        const QList<QByteArray> zeilen = journal.verwaist->read(ini::Obergrenze).split('\n');
        for (const QByteArray& text : zeilen) {
            if (std::optional<Auftrag> auftrag = auftragAus(text)) journal.auftraege.push_back(std::move(*auftrag));
        }
        if (!verwaist) journal.verwaist.reset();
        gefunden.push_back(std::move(journal));
    }
    return gefunden;
}

} // namespace wk
