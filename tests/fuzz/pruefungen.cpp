#include "pruefungen.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include <QDir>
#include <QFile>

#include "game/meldung.h"
#include "game/zahltext.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace wk::fuzz {

namespace {

class StummeMeldung final : public Meldung {
public:
    void zeigen(const std::string&) override {}
};

// One list as "Name:Punkte" per place.
using Liste = std::array<std::string, ListenLaenge>;

std::string ohneRand(const std::string& text) {
    const char* const leer = " \t\r\n\f\v";
    const auto anfang = text.find_first_not_of(leer);
    return anfang == std::string::npos
               ? std::string()
               : text.substr(anfang, text.find_last_not_of(leer) - anfang + 1);
}

bool istGanzeZahl(std::string_view text) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Shows the list of `laenge` and checks its points; `fehler` gets what is wrong.
Liste zeigen(Highscore& highscore, int laenge, std::string& fehler) {
    const HighscoreAnzeige anzeige = highscore.highscore_anzeigen(laenge, true);
    const std::string_view zusatz = " Punkte";
    Liste liste;
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        std::string_view punkte = anzeige.punkte[platz - 1];
        if (!std::isfinite(highscore.BestenPunkte()[platz])) {
            fehler += "Liste " + std::to_string(laenge) + " Platz " + std::to_string(platz) +
                      ": Punkte nicht endlich\n";
        }
        if (!punkte.ends_with(zusatz) || !istGanzeZahl(punkte.substr(0, punkte.size() - zusatz.size()))) {
            fehler += "Liste " + std::to_string(laenge) + " Platz " + std::to_string(platz) +
                      ": Punkte \"" + std::string(punkte) + "\"\n";
        }
        liste[platz - 1] = anzeige.namen[platz - 1] + ":" + std::string(punkte);
    }
    return liste;
}

void vergleichen(const Liste& gelesen, const Liste& erwartet, int laenge, std::string& fehler) {
    for (int i = 0; i < ListenLaenge; ++i) {
        if (gelesen[i] != erwartet[i]) {
            fehler += "Liste " + std::to_string(laenge) + " Platz " + std::to_string(i + 1) +
                      ": gelesen \"" + gelesen[i] + "\", erwartet \"" + erwartet[i] + "\"\n";
        }
    }
}

// The value of a plain decimal number of at most 15 digits (so it is exact as
// an integer in a double) with at most 22 of them after the point (so the
// power of ten is exact too); the quotient is then rounded correctly.
// nullopt for other texts.
std::optional<double> einfacherWert(std::string_view text) {
    std::size_t pos = text.find_first_not_of(" \t");
    if (pos == std::string_view::npos) {
        return 0.0;
    }
    const bool negativ = text[pos] == '-';
    if (text[pos] == '-' || text[pos] == '+') {
        ++pos;
    }
    std::uint64_t zahl = 0;
    int ziffern = 0;
    int nachkomma = 0;
    bool punkt = false;
    for (; pos < text.size(); ++pos) {
        const char zeichen = text[pos];
        if (zeichen == '.' && !punkt && pos + 1 < text.size() && text[pos + 1] >= '0' && text[pos + 1] <= '9') {
            punkt = true;
            continue;
        }
        if (zeichen < '0' || zeichen > '9') {
            break;
        }
        zahl = zahl * 10 + static_cast<std::uint64_t>(zeichen - '0');
        nachkomma += punkt ? 1 : 0;
        if (zahl > 0 && ++ziffern > 15) {
            return std::nullopt;
        }
    }
    if (nachkomma > 22) {
        return std::nullopt;
    }
    const double wert = static_cast<double>(zahl) / std::pow(10.0, nachkomma);
    return negativ ? -wert : wert;
}

// zahlAlsText(wert) must be a whole number that reads back as wert rounded.
void rueckwegPruefen(double wert, std::string& fehler) {
    const std::string text = zahlAlsText(wert);
    const double erwartet = std::isfinite(wert) ? std::round(wert) : 0.0;
    if (!istGanzeZahl(text) || text == "-0" || zahlAusText(text) != erwartet) {
        char zahl[64];
        std::snprintf(zahl, sizeof zahl, "%.17g", wert);
        fehler += std::string("zahlAlsText(") + zahl + ") = \"" + text + "\"\n";
    }
}

} // namespace

std::string einstellungenPruefen(std::string_view datei, const QString& ordner) {
    static unsigned laeufe = 0;
    const QString eigenerOrdner = ordner + QStringLiteral("/%1").arg(++laeufe);
    const struct Aufraeumen {
        QString pfad;
        ~Aufraeumen() { QDir(pfad).removeRecursively(); }
    } aufraeumen{eigenerOrdner};
    const QString pfad = eigenerOrdner + QStringLiteral("/Wurfkrone.conf");
    QDir().mkpath(eigenerOrdner);
    {
        QFile eingabe(pfad);
        if (!eingabe.open(QIODevice::WriteOnly) ||
            eingabe.write(datei.data(), static_cast<qint64>(datei.size())) != static_cast<qint64>(datei.size())) {
            return "Eingabe lässt sich nicht als Datei schreiben";
        }
    }

    std::string fehler;
    StummeMeldung meldung;
    std::array<Liste, Spiellaengen.size()> vorher;
    Liste erwartet;
    {
        QtEinstellungen speicher(pfad);
        Highscore highscore(speicher, meldung);
        for (std::size_t i = 0; i < Spiellaengen.size(); ++i) {
            vorher[i] = zeigen(highscore, Spiellaengen[i], fehler);
        }
        Spielstand stand;
        stand.Runden = 1;
        stand.spielerAnlegen(1);
        stand.Namen[1] = " Fuzz ";
        stand.Gesamtpunkte[1] = 245;
        highscore.Auswertung(stand);
        for (int platz = 1; platz <= ListenLaenge; ++platz) {
            erwartet[platz - 1] = ohneRand(highscore.BestenNamen()[platz]) + ":" +
                                  zahlAlsText(highscore.BestenPunkte()[platz]) + " Punkte";
        }
    }

    // A copy under a new name is parsed from disk, as another program would.
    const QString kopie = pfad + QStringLiteral(".gelesen");
    if (!QFile::copy(pfad, kopie)) {
        return fehler + "gespeicherte Datei fehlt\n";
    }
    QtEinstellungen speicher(kopie);
    Highscore highscore(speicher, meldung);
    for (std::size_t i = 0; i < Spiellaengen.size(); ++i) {
        const Liste gelesen = zeigen(highscore, Spiellaengen[i], fehler);
        vergleichen(gelesen, Spiellaengen[i] == 1 ? erwartet : vorher[i], Spiellaengen[i], fehler);
    }
    return fehler;
}

std::string zahltextPruefen(std::string_view text) {
    std::string fehler;
    const double wert = zahlAusText(text);
    if (!std::isfinite(wert)) {
        fehler += "zahlAusText nicht endlich\n";
        return fehler;
    }
    if (zahlAusText(std::string(text) + "x") != wert) {
        fehler += "zahlAusText ändert sich, wenn Text folgt\n";
    }
    if (const auto einfach = einfacherWert(text); einfach && *einfach != wert) {
        char zahlen[128];
        std::snprintf(zahlen, sizeof zahlen, "%.17g statt %.17g", wert, *einfach);
        fehler += std::string("zahlAusText = ") + zahlen + "\n";
    }
    rueckwegPruefen(wert, fehler);
    if (text.size() >= sizeof(double)) {
        double roh = 0;
        std::memcpy(&roh, text.data(), sizeof roh);
        rueckwegPruefen(roh, fehler);
    }
    return fehler;
}

} // namespace wk::fuzz
