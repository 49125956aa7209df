#include "pruefungen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

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
    const std::string fehler = nichtEndlich(pfad);
    // What was written is parsed again from disk under a new name, as on the
    // next start (QSettings would otherwise use what it holds in memory).
    const QString kopie = pfad + QStringLiteral(".gelesen");
    return QFile::copy(pfad, kopie) ? fehler + nichtEndlich(kopie) : fehler + "gespeicherte Datei fehlt\n";
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
