// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Figures of the highscore store under load, run by bench/run or on its own:
//
//   wk_speichermessung --spiel <wurfkrone> [--runden N] [--kills N] [--versuche N]
//
// * Start window: the game is started N times (offscreen, WURFKRONE_MESSEN=1)
//   on an empty store, on a store of 100 MB (a million lines of another
//   section, the lists at its end) and on a store whose lock path is a
//   directory; measured are the time from just before the start to the first
//   paint and the resident memory then (VmRSS) and at its peak (VmHWM).
// * List buttons and the end of a game, in this process: one list shown
//   (Highscore::highscore_anzeigen) and one game entered (Auswertung) on the
//   same three stores.
// * Kills: a program of its own (this one with --eintragen) saves games one
//   after the other into a store that also holds another section, and is
//   killed with SIGKILL at a random moment, N times. After each kill the file
//   must hold the lists of some number of whole games and the other section
//   unchanged; then one game is entered here: how long it waited for the lock
//   and took in all, and what is left in the folder after it besides the store.
// * Programs at once: 8 and 16 programs (this one with --reihe) let go at one
//   moment enter 15 games each, N times; results lost.
//
// Prints a table with PASS or MISS per target.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace {

using Uhr = std::chrono::steady_clock;

constexpr double kStartHoechstensMs = 1000;
constexpr double kSpeicherPlusHoechstensMb = 50;
constexpr double kWartenNachKillHoechstensMs = 100;

struct StummeMeldung : wk::Meldung {
    void zeigen(const std::string&) override {}
};

double median(std::vector<double> werte) {
    if (werte.empty()) return 0;
    std::sort(werte.begin(), werte.end());
    const std::size_t n = werte.size();
    return n % 2 ? werte[n / 2] : (werte[n / 2 - 1] + werte[n / 2]) / 2;
}

QByteArray lies(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

double statusMb(qint64 pid, const char* feld) {
    const QByteArray status = lies(QStringLiteral("/proc/%1/status").arg(pid));
    const qsizetype pos = status.indexOf(feld);
    return pos < 0 ? 0 : status.mid(pos + qstrlen(feld)).trimmed().split(' ').front().toDouble() / 1024;
}

void spielEintragen(wk::Einstellungen& speicher, const std::string& name, double punkte) {
    StummeMeldung meldung;
    wk::Spielstand stand;
    stand.spielerAnlegen(1);
    stand.Namen[1] = name;
    stand.Gesamtpunkte[1] = punkte;
    wk::Highscore(speicher, meldung).Auswertung(stand);
}

std::vector<std::string> liste(const QString& pfad) {
    wk::QtEinstellungen speicher(pfad);
    StummeMeldung meldung;
    const wk::HighscoreAnzeige anzeige = wk::Highscore(speicher, meldung).highscore_anzeigen(1, false);
    std::vector<std::string> eintraege;
    for (int i = 0; i < wk::ListenLaenge; ++i) eintraege.push_back(anzeige.namen[i] + ":" + anzeige.punkte[i]);
    return eintraege;
}

void zeile(const std::string& was, const std::string& wert, const std::string& ziel = "", std::optional<bool> erfuellt = {}) {
    std::printf("| %-58s | %-24s | %-12s | %-4s |\n", was.c_str(), wert.c_str(), ziel.c_str(),
                erfuellt ? (*erfuellt ? "PASS" : "MISS") : "");
}

std::string ms(double wert) { return QString::number(wert, 'f', wert < 10 ? 2 : 1).toStdString() + " ms"; }
std::string mb(double wert) { return QString::number(wert, 'f', 1).toStdString() + " MB"; }

// The three stores, each in a configuration folder of its own.
struct Speicherarten {
    QTemporaryDir ordner;
    std::vector<std::pair<std::string, QString>> arten;  // name, configuration folder

    Speicherarten() {
        for (const char* art : {"empty store", "store of 100 MB", "lock path a directory"}) {
            const QString konfig = ordner.filePath(QString::fromLatin1(art).section(' ', 0, 0) + QString::number(arten.size()));
            QDir().mkpath(konfig + QStringLiteral("/Wurfkrone"));
            arten.emplace_back(art, konfig);
        }
        const QString gross = datei(1);
        QFile aus(gross);
        aus.open(QIODevice::WriteOnly);
        aus.write("[Andere]\n");
        const QByteArray fuellung(80, 'w');
        for (int i = 0; i < 1000000; ++i) aus.write("Schluessel" + QByteArray::number(i).rightJustified(7, '0') + "=" + fuellung + "\n");
        aus.close();
        for (std::size_t i = 0; i < arten.size(); ++i) {
            wk::QtEinstellungen speicher(datei(i));
            StummeMeldung meldung;
            wk::Highscore(speicher, meldung).highscore_loeschen();
            spielEintragen(speicher, "Anna", 245);
        }
        QDir().mkdir(datei(2) + QStringLiteral(".sperre"));
    }
    QString datei(std::size_t i) const { return arten[i].second + QStringLiteral("/Wurfkrone/Wurfkrone.conf"); }
};

void startfenster(const QString& spiel, const Speicherarten& speicher, int runden) {
    std::vector<double> zeit[3], rss[3], spitze[3];
    for (int runde = 0; runde < runden; ++runde) {
        for (std::size_t i = 0; i < 3; ++i) {
            QProcess programm;
            QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
            umgebung.insert(QStringLiteral("XDG_CONFIG_HOME"), speicher.arten[i].second);
            umgebung.insert(QStringLiteral("WURFKRONE_MESSEN"), QStringLiteral("1"));
            umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            programm.setProcessEnvironment(umgebung);
            programm.setStandardErrorFile(QProcess::nullDevice());
            const auto start = Uhr::now();
            programm.start(spiel, {});
            QByteArray ausgabe;
            while (!ausgabe.contains('\n') && programm.waitForReadyRead(30000)) ausgabe += programm.readAll();
            const qsizetype pos = ausgabe.indexOf("erstes-bild ");
            if (pos >= 0) {
                const auto bild = Uhr::time_point(std::chrono::nanoseconds(ausgabe.mid(pos + 12).trimmed().toLongLong()));
                zeit[i].push_back(std::chrono::duration<double, std::milli>(bild - start).count());
                rss[i].push_back(statusMb(programm.processId(), "VmRSS:"));
                spitze[i].push_back(statusMb(programm.processId(), "VmHWM:"));
            }
            programm.kill();
            programm.waitForFinished();
        }
    }
    std::printf("\nStart window (offscreen, %d runs each, medians)\n", runden);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string art = speicher.arten[i].first;
        zeile(art + ": first paint", ms(median(zeit[i])), i == 1 ? "<= 1000 ms" : "",
              i == 1 ? std::optional(median(zeit[1]) <= kStartHoechstensMs) : std::nullopt);
        const double mehr = median(rss[i]) - median(rss[0]);
        zeile(art + ": resident memory then, peak", mb(median(rss[i])) + ", " + mb(median(spitze[i])));
        if (i > 0) {
            zeile(art + ": memory then / at the peak, more than empty",
                  mb(mehr) + " / " + mb(median(spitze[i]) - median(spitze[0])), i == 1 ? "<= +50 MB" : "",
                  i == 1 ? std::optional(mehr <= kSpeicherPlusHoechstensMb) : std::nullopt);
        }
    }
    zeile("lock path a directory / empty: first paint", QString::number(median(zeit[2]) / median(zeit[0]), 'f', 2).toStdString(),
          "as fast", median(zeit[2]) <= median(zeit[0]) * 1.15);
}

double zeitMs(const std::function<void()>& arbeit) {
    QElapsedTimer uhr;
    uhr.start();
    arbeit();
    return double(uhr.nsecsElapsed()) / 1e6;
}

void listenUndSpielende(const Speicherarten& speicher) {
    std::printf("\nIn this process (medians of 20 / 5)\n");
    double leer = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        wk::QtEinstellungen einstellungen(speicher.datei(i));
        StummeMeldung meldung;
        wk::Highscore highscore(einstellungen, meldung);
        std::vector<double> zeigen, eintragen;
        for (int n = 0; n < 20; ++n) zeigen.push_back(zeitMs([&] { highscore.highscore_anzeigen(5, false); }));
        for (int n = 0; n < 5; ++n) eintragen.push_back(zeitMs([&] { spielEintragen(einstellungen, "Bernd", 100 + n); }));
        leer = i == 0 ? median(zeigen) : leer;
        zeile(speicher.arten[i].first + ": a list button", ms(median(zeigen)), i == 2 ? "as fast" : "",
              i == 2 ? std::optional(median(zeigen) <= leer * 1.5 + 0.1) : std::nullopt);
        zeile(speicher.arten[i].first + ": a game entered", ms(median(eintragen)));
    }
}

void kills(const QString& selbst, int anzahl) {
    const QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone.conf"));
    const QByteArray andere = "[Andere]\nTitel=\"Ein, anderes\"\nBreite=800\n";
    int ganz = 0, andereGanz = 0, reste = 0, sperren = 0, entwuerfe = 0;
    std::vector<double> gewartet, naechste;
    for (int versuch = 0; versuch < anzahl; ++versuch) {
        {
            QFile vorlage(pfad);
            vorlage.open(QIODevice::WriteOnly);
            vorlage.write(andere);
        }
        QProcess programm;
        programm.setStandardErrorFile(QProcess::nullDevice());
        programm.start(selbst, {QStringLiteral("--eintragen"), pfad});
        programm.waitForReadyRead(30000);
        QThread::usleep(QRandomGenerator::global()->bounded(30000));
        programm.kill();
        programm.waitForFinished();
        const QStringList liegen = QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden);
        sperren += liegen.contains(QStringLiteral("Wurfkrone.conf.sperre"));
        entwuerfe += int(liegen.filter(QStringLiteral(".neu-")).size());
        const std::vector<std::string> vorher = liste(pfad);
        const int hoechste = std::atoi(vorher.front().substr(vorher.front().find(':') + 1).c_str());
        bool stimmt = true;
        for (int platz = 0; platz < wk::ListenLaenge; ++platz) {
            stimmt = stimmt && vorher[platz] == (hoechste - platz > 0 ? "K:" + std::to_string(hoechste - platz) : std::string("0:0"));
        }
        ganz += stimmt;
        andereGanz += lies(pfad).contains(andere);
        wk::QtEinstellungen speicher(pfad);
        QElapsedTimer uhr;
        uhr.start();
        speicher.gesperrt([&] {  // the work starts once the lock is held; the game joins this transaction
            gewartet.push_back(double(uhr.nsecsElapsed()) / 1e6);
            spielEintragen(speicher, "Neu", 100000);
        });
        naechste.push_back(double(uhr.nsecsElapsed()) / 1e6);
        reste += int(QDir(ordner.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size()) - 1;
    }
    std::printf("\n%d programs killed while saving (a lock was left %d times, a draft %d times)\n", anzahl, sperren, entwuerfe);
    zeile("files whole (lists of whole games)", std::to_string(ganz) + " of " + std::to_string(anzahl), "all", ganz == anzahl);
    zeile("other section unchanged", std::to_string(andereGanz) + " of " + std::to_string(anzahl), "all", andereGanz == anzahl);
    zeile("left over after the next save", std::to_string(reste), "0", reste == 0);
    const double laengstes = *std::max_element(gewartet.begin(), gewartet.end());
    zeile("next save: waiting for the lock, median / longest", ms(median(gewartet)) + " / " + ms(laengstes), "<= 100 ms",
          laengstes <= kWartenNachKillHoechstensMs);
    zeile("next save: all of it (lock, read, write, flush), median / longest",
          ms(median(naechste)) + " / " + ms(*std::max_element(naechste.begin(), naechste.end())));
}

void zugleich(const QString& selbst, int versuche) {
    std::printf("\nPrograms saving at once, 15 games each (%d times)\n", versuche);
    for (const int programme : {8, 16}) {
        int verloren = 0;
        for (int versuch = 0; versuch < versuche; ++versuch) {
            const QTemporaryDir ordner;
            const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone.conf"));
            std::vector<std::unique_ptr<QProcess>> laufend;
            std::vector<int> alle;
            for (int k = 0; k < programme; ++k) {
                auto& p = laufend.emplace_back(std::make_unique<QProcess>());
                p->start(selbst, {QStringLiteral("--reihe"), pfad, QString::number(k)});
                for (int runde = 0; runde < 15; ++runde) alle.push_back((15 - runde) * 100 + k);
            }
            for (auto& p : laufend) p->waitForReadyRead(30000);
            for (auto& p : laufend) p->closeWriteChannel();
            for (auto& p : laufend) p->waitForFinished(300000);
            std::sort(alle.rbegin(), alle.rend());
            const std::vector<std::string> gespeichert = liste(pfad);
            for (int platz = 0; platz < wk::ListenLaenge; ++platz) {
                verloren += gespeichert[platz].substr(gespeichert[platz].find(':') + 1) != std::to_string(alle[platz]);
            }
        }
        zeile(std::to_string(programme) + " programs: places of the best 20 lost", std::to_string(verloren), "0", verloren == 0);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (args.size() >= 3 && args[1] == QStringLiteral("--eintragen")) {  // games 1, 2, 3... until killed
        wk::QtEinstellungen speicher(args[2]);
        std::cout << "bereit" << std::endl;
        for (int punkte = 1;; ++punkte) spielEintragen(speicher, "K", punkte);
    }
    if (args.size() >= 4 && args[1] == QStringLiteral("--reihe")) {  // 15 games, once standard input is closed
        wk::QtEinstellungen speicher(args[2], std::chrono::minutes(5));
        std::cout << "bereit" << std::endl;
        std::cin.ignore(std::numeric_limits<std::streamsize>::max());
        for (int runde = 0; runde < 15; ++runde) spielEintragen(speicher, "P", (15 - runde) * 100 + args[3].toInt());
        return 0;
    }
    QString spiel;
    int runden = 10, anzahl = 200, versuche = 5;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--spiel")) spiel = args[i + 1];
        if (args[i] == QStringLiteral("--runden")) runden = args[i + 1].toInt();
        if (args[i] == QStringLiteral("--kills")) anzahl = args[i + 1].toInt();
        if (args[i] == QStringLiteral("--versuche")) versuche = args[i + 1].toInt();
    }
    if (spiel.isEmpty()) {
        std::fprintf(stderr, "usage: %s --spiel <wurfkrone> [--runden N] [--kills N] [--versuche N]\n", argv[0]);
        return 2;
    }
    std::printf("Highscore store\n| %-58s | %-24s | %-12s | %-4s |\n", "", "measured", "target", "");
    const Speicherarten speicher;
    startfenster(spiel, speicher, runden);
    listenUndSpielende(speicher);
    if (anzahl > 0) kills(app.applicationFilePath(), anzahl);
    if (versuche > 0) zugleich(app.applicationFilePath(), versuche);
    return 0;
}
