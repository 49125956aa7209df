// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pruefungen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>

#include "game/zahltext.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace wk::fuzz {

namespace {

// Shows all four lists as the start window does, then enters a game of one
// Runde; returns the lists holding points that are not finite.
std::string nichtEndlich(const QString& pfad) {
    struct : Meldung {
        void zeigen(const std::string&) override {}
    } meldung;
    QtEinstellungen speicher(pfad);
    Highscore highscore(speicher, meldung);
    std::string fehler;
    for (const int laenge : Spiellaengen) {
        highscore.highscore_anzeigen(laenge, true);
        const Punkteliste& punkte = highscore.BestenPunkte();
        if (!std::all_of(punkte.begin() + 1, punkte.end(), [](double p) { return std::isfinite(p); })) {
            fehler += "Liste " + std::to_string(laenge) + " hält Punkte, die nicht endlich sind\n";
        }
    }
    Spielstand stand;
    stand.spielerAnlegen(1);
    stand.Gesamtpunkte[1] = 245;
    highscore.Auswertung(stand);
    if (!speicher.warten(std::chrono::seconds(30))) fehler += "das Spiel wird nicht eingetragen\n";
    return fehler;
}

// How the released store took a value QSettings read as text: a list joined
// by ", ", a byte array as its bytes; other types are no text.
std::optional<std::string> alsText(const QVariant& wert) {
    switch (wert.typeId()) {
    case QMetaType::QString:
        return wert.toString().toStdString();
    case QMetaType::QStringList:
        return wert.toStringList().join(QStringLiteral(", ")).toStdString();
    case QMetaType::QVariantList: {
        QStringList texte;
        const QVariantList elemente = wert.toList();
        for (const QVariant& element : elemente) {
            const std::optional<std::string> text = alsText(element);
            if (!text) return std::nullopt;
            texte << QString::fromStdString(*text);
        }
        return texte.join(QStringLiteral(", ")).toStdString();
    }
    case QMetaType::QByteArray:
        return wert.toByteArray().toStdString();
    default:
        return std::nullopt;
    }
}
// Every entry of the file at `pfad` as QSettings reads it: its text as the
// released store took it, or else its bytes in a QDataStream; by its key as
// QSettings asks for it ("a//b/" is "a/b"). Read from a copy under a new
// name: QSettings remembers the files it has read.
QMap<QString, QByteArray> wieQSettings(const QString& pfad) {
    static int kopien = 0;
    const QString kopie = pfad + QStringLiteral(".qsettings%1").arg(++kopien);
    QFile::copy(pfad, kopie);
    QMap<QString, QByteArray> werte;
    {
        const QSettings datei(kopie, QSettings::IniFormat);
        const QStringList schluessel = datei.allKeys();
        for (const QString& name : schluessel) {
            const QVariant wert = datei.value(name);
            const std::optional<std::string> text = alsText(wert);
            QByteArray bytes;
            QDataStream strom(&bytes, QIODevice::WriteOnly);
            strom << wert;
            static const QRegularExpression striche(QStringLiteral("^/+|/+$|(?<=/)/+"));
            werte.insert(QString(name).remove(striche), text ? "Text:" + QByteArray::fromStdString(*text) : bytes);
        }
    }
    QFile::remove(kopie);
    return werte;
}

const std::string Fehlt = "(fehlt)";

// Whether the store reads all four lists as QSettings did (`qsettings`).
std::string wieVorher(const QString& pfad, const QMap<QString, QByteArray>& qsettings) {
    QtEinstellungen speicher(pfad);
    std::string fehler;
    for (const int laenge : Spiellaengen) {
        const std::string abschnitt = "Highscore" + std::to_string(laenge) + "/";
        std::vector<std::string> schluessel;
        for (int platz = 1; platz <= ListenLaenge; ++platz) {
            schluessel.push_back(abschnitt + std::to_string(platz));
            schluessel.push_back(abschnitt + "Name" + std::to_string(platz));
        }
        const std::vector<std::string> werte = speicher.lesen(schluessel, Fehlt);
        for (std::size_t i = 0; i < schluessel.size(); ++i) {
            const QByteArray erwartet = qsettings.value(QString::fromStdString(schluessel[i]), "Text:" + QByteArray::fromStdString(Fehlt));
            const QByteArray gelesen = "Text:" + QByteArray::fromStdString(werte[i]);
            if (gelesen != erwartet && !(werte[i] == Fehlt && !erwartet.startsWith("Text:"))) {
                fehler += schluessel[i] + " liest \"" + gelesen.toStdString() + "\" statt \"" + erwartet.toStdString() + "\"\n";
            }
        }
    }
    return fehler;
}

// The value of a plain decimal number of at most 15 digits, all exact in a
// double, as is the power of ten, so the quotient is correctly rounded;
// nullopt for other texts.
std::optional<double> einfacherWert(std::string_view text) {
    std::size_t pos = std::min(text.find_first_not_of(" \t"), text.size());
    const bool negativ = pos < text.size() && text[pos] == '-';
    pos += pos < text.size() && (text[pos] == '-' || text[pos] == '+') ? 1 : 0;
    const auto ziffer = [&](std::size_t p) { return p < text.size() && text[p] >= '0' && text[p] <= '9'; };
    std::int64_t zahl = 0;
    int ziffern = 0, nachkomma = -1;
    for (; ziffer(pos) || (nachkomma < 0 && ziffer(pos + 1) && text[pos] == '.'); ++pos) {
        if (text[pos] == '.') {
            nachkomma = 0;
        } else if (++ziffern > 15) {
            return std::nullopt;
        } else {
            zahl = zahl * 10 + (text[pos] - '0');
            nachkomma += nachkomma >= 0 ? 1 : 0;
        }
    }
    const double wert = static_cast<double>(zahl) / std::pow(10.0, std::max(nachkomma, 0));
    return negativ ? -wert : wert;
}

} // namespace

std::string einstellungenPruefen(std::string_view datei, const QString& ordner) {
    const QTemporaryDir eigenerOrdner(ordner + QStringLiteral("/XXXXXX"));
    const QString pfad = eigenerOrdner.filePath(QStringLiteral("Wurfkrone.conf"));
    QFile eingabe(pfad);
    if (!eingabe.open(QIODevice::WriteOnly) || eingabe.write(datei.data(), qint64(datei.size())) != qint64(datei.size())) {
        return "Eingabe lässt sich nicht als Datei schreiben";
    }
    eingabe.close();
    const QMap<QString, QByteArray> vorher = wieQSettings(pfad);
    std::string fehler = wieVorher(pfad, vorher);
    fehler += nichtEndlich(pfad);
    // The lines of Highscore1 are new; every other entry reads as before, and
    // the new ones read alike by QSettings and the store. Then once more on
    // the file as saved, as on the next start.
    const QMap<QString, QByteArray> erwartet = wieQSettings(pfad);
    const QRegularExpression neu(QStringLiteral("^Highscore1/(Name)?([1-9]|1[0-9]|20)$"));
    for (auto eintrag = vorher.begin(); eintrag != vorher.end(); ++eintrag) {
        if (!neu.match(eintrag.key()).hasMatch() && erwartet.value(eintrag.key()) != eintrag.value()) {
            fehler += "QSettings liest " + eintrag.key().toStdString() + " nach dem Speichern anders\n";
        }
    }
    fehler += wieVorher(pfad, erwartet);
    return fehler + nichtEndlich(pfad);
}

std::string zahltextPruefen(std::string_view text) {
    const double wert = zahlAusText(text);
    if (!std::isfinite(wert)) return "zahlAusText nicht endlich\n";
    std::string fehler;
    if (zahlAusText(std::string(text) + "x") != wert) fehler += "zahlAusText ändert sich, wenn Text folgt\n";
    if (const auto einfach = einfacherWert(text); einfach && *einfach != wert) {
        fehler += "zahlAusText = " + QByteArray::number(wert, 'g', 17).toStdString() + " statt " +
                  QByteArray::number(*einfach, 'g', 17).toStdString() + "\n";
    }
    double roh = wert;  // the first 8 bytes as a double, if there are so many
    std::memcpy(&roh, text.size() >= sizeof roh ? text.data() : reinterpret_cast<const char*>(&wert), sizeof roh);
    for (const double zahl : {wert, roh}) {
        const std::string geschrieben = zahlAlsText(zahl);
        if (geschrieben == "-0" || geschrieben.find_first_not_of("-0123456789") != std::string::npos ||
            zahlAusText(geschrieben) != (std::isfinite(zahl) ? std::round(zahl) : 0.0)) {
            fehler += "zahlAlsText schreibt \"" + geschrieben + "\"\n";
        }
    }
    return fehler;
}

} // namespace wk::fuzz
