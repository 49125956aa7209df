// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Figures of the highscore store, run by bench/run or on its own:
//
//   wk_speichermessung --spiel <wurfkrone> [--runden N] [--kills N] [--versuche N]
//
// * Start window: the game is started N times (offscreen, WURFKRONE_MESSEN=1)
//   on an empty store, on stores of 100 MB with one stray quote in a name
//   (the rest of the file one name) and with a name of 100 MB, on a sparse
//   file of 10 GB, and with a directory in place of the lock; measured are
//   the time from just before the start to the first paint and the resident
//   memory then (VmRSS) and at its peak (VmHWM).
// * List buttons and the end of a game, in this process, on the same stores:
//   one list shown after the start window's (Highscore::highscore_anzeigen),
//   the hand-over of a game (Auswertung) and the time until it is saved.
// * Kills: a program of its own (this one with --eintragen) saves games one
//   after the other into a store that also holds another section, while a
//   thread here takes the lock at random moments, so that games wait in its
//   journal and are merged from there; it is killed with SIGKILL at a random
//   moment, N times. After each kill the file must hold the lists of some
//   number of whole games and the other section unchanged; then the next
//   start enters what the journal held: every game once, none lost, nothing
//   left beside the file.
// * speicherlast.cpp: programs at once, a stopped holder of the lock, a
//   full disk and a read-only store.
//
// Prints a table with PASS or MISS per target.
#include "speicherhilfe.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <iostream>
#include <thread>

using namespace messung;

namespace {

constexpr double kStartHoechstensMs = 1000;
constexpr double kSpeicherPlusHoechstensMb = 50;
constexpr double kListeHoechstensMs = 100;

double statusMb(qint64 pid, const char* feld) {
    const QByteArray status = lies(QStringLiteral("/proc/%1/status").arg(pid));
    const qsizetype pos = status.indexOf(feld);
    return pos < 0 ? 0 : status.mid(pos + qstrlen(feld)).trimmed().split(' ').front().toDouble() / 1024;
}

// The stores, each in a configuration folder of its own: the lists of one
// game ("Anna" 245) and whatever makes the store hard.
struct Speicherarten {
    QTemporaryDir ordner;
    std::vector<std::pair<std::string, QString>> arten;  // name, configuration folder

    Speicherarten() {
        const std::vector<std::string> namen{"empty store", "100 MB, one stray quote", "a name of 100 MB", "sparse file of 10 GB",
                                             "lock path a directory"};
        for (const std::string& art : namen) {
            const QString konfig = ordner.filePath(QString::number(arten.size()));
            QDir().mkpath(konfig + QStringLiteral("/Wurfkrone"));
            arten.emplace_back(art, konfig);
            QFile datei(this->datei(arten.size() - 1));
            datei.open(QIODevice::WriteOnly);
            datei.write("[Highscore1]\n1=245\nName1=Anna\n");
            const QByteArray zeile = QByteArray(79, 'w') + '\n';
            if (arten.size() == 2) datei.write("2=100\nName2=\"Bert\n");  // the quote that never closes
            if (arten.size() == 3) datei.write("2=100\nName2=");
            for (int i = 0; (arten.size() == 2 || arten.size() == 3) && i < 100 << 20; i += 80) datei.write(arten.size() == 2 ? zeile : QByteArray(80, 'n'));
            if (arten.size() == 4) datei.resize(qint64{10} << 30);
        }
        QDir().mkdir(datei(4) + QStringLiteral(".sperre"));
    }
    QString datei(std::size_t i) const { return arten[i].second + QStringLiteral("/Wurfkrone/Wurfkrone.conf"); }
};

void startfenster(const QString& spiel, const Speicherarten& speicher, int runden) {
    const std::size_t n = speicher.arten.size();
    std::vector<std::vector<double>> zeit(n), rss(n), spitze(n);
    for (int runde = 0; runde < runden; ++runde) {
        for (std::size_t i = 0; i < n; ++i) {
            QProcess programm;
            QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
            umgebung.insert(QStringLiteral("XDG_CONFIG_HOME"), speicher.arten[i].second);
            umgebung.insert(QStringLiteral("WURFKRONE_MESSEN"), QStringLiteral("1"));
            umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            programm.setProcessEnvironment(umgebung);
            programm.setStandardErrorFile(QProcess::nullDevice());
            const auto start = std::chrono::steady_clock::now();
            programm.start(spiel, {});
            QByteArray ausgabe;
            while (!ausgabe.contains('\n') && programm.waitForReadyRead(30000)) ausgabe += programm.readAll();
            const qsizetype pos = ausgabe.indexOf("erstes-bild ");
            if (pos >= 0) {
                const auto bild = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ausgabe.mid(pos + 12).trimmed().toLongLong()));
                zeit[i].push_back(std::chrono::duration<double, std::milli>(bild - start).count());
                rss[i].push_back(statusMb(programm.processId(), "VmRSS:"));
                spitze[i].push_back(statusMb(programm.processId(), "VmHWM:"));
            }
            programm.kill();
            programm.waitForFinished();
        }
    }
    std::printf("\nStart window (offscreen, %d runs each, medians)\n", runden);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string art = speicher.arten[i].first;
        const bool gross = i > 0 && i < 4;
        zeile(art + ": first paint (" + std::to_string(zeit[i].size()) + " runs)", ms(median(zeit[i])), gross ? "<= 1000 ms" : "",
              gross ? std::optional(zeit[i].size() == std::size_t(runden) && median(zeit[i]) <= kStartHoechstensMs) : std::nullopt);
        if (i > 0) {
            const double mehr = median(rss[i]) - median(rss[0]), spitzeMehr = median(spitze[i]) - median(spitze[0]);
            zeile(art + ": memory then / at the peak, more than empty", mb(mehr) + " / " + mb(spitzeMehr), gross ? "<= +50 MB" : "",
                  gross ? std::optional(spitzeMehr <= kSpeicherPlusHoechstensMb) : std::nullopt);
        } else {
            zeile(art + ": resident memory then, peak", mb(median(rss[i])) + ", " + mb(median(spitze[i])));
        }
    }
}

void listenUndSpielende(const Speicherarten& speicher) {
    std::printf("\nIn this process: the start window's list, then list buttons (median of 20), a game handed over and saved\n");
    for (std::size_t i = 0; i < speicher.arten.size(); ++i) {
        wk::QtEinstellungen einstellungen(speicher.datei(i));
        ZaehlendeMeldung meldung;
        wk::Highscore highscore(einstellungen, meldung);
        double ladenCpu = 0;
        const double laden = zeitMs([&] { ladenCpu = cpuMs([&] { highscore.highscore_anzeigen(1, true); }); });
        std::vector<double> zeigen;
        for (int n = 0; n < 20; ++n) zeigen.push_back(zeitMs([&] { highscore.highscore_anzeigen(5 + n % 2 * 5, false); }));
        const double uebergabe = zeitMs([&] { spielEintragen(highscore, "Bernd", 100); });
        const double gespeichert = uebergabe + zeitMs([&] { einstellungen.warten(std::chrono::minutes(2)); });
        const std::string art = speicher.arten[i].first;
        zeile(art + ": start window's list (CPU) / a list button", ms(laden) + " (" + ms(ladenCpu) + ") / " + ms(median(zeigen)),
              "<= 100 ms", std::max(laden, *std::max_element(zeigen.begin(), zeigen.end())) <= kListeHoechstensMs);
        zeile(art + ": a game handed over / saved", ms(uebergabe) + " / " + ms(gespeichert));
    }
}

// Takes the store's lock now and then for a few ms, as other programs saving would.
class Stoerer {
public:
    explicit Stoerer(QString pfad) : m_pfad(std::move(pfad)), m_thread([this] { laufen(); }) {}
    ~Stoerer() {
        m_ende = true;
        m_thread.join();
    }

private:
    void laufen() {
        while (!m_ende) {
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            const int fd = sperreNehmen(m_pfad);
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            if (fd >= 0) ::close(fd);
        }
    }
    QString m_pfad;
    std::atomic<bool> m_ende{false};
    std::thread m_thread;
};

void kills(const QString& selbst, int anzahl) {
    const QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone.conf"));
    const QByteArray andere = "[Andere]\nTitel=\"Ein, anderes\"\nBreite=800\n";
    int ganz = 0, andereGanz = 0, doppelt = 0, verloren = 0, reste = 0, dazwischen = 0, journale = 0;
    std::vector<double> naechste;
    const auto bis = [](int hoechste) {  // the list after games 1..hoechste
        std::vector<std::string> liste;
        for (int platz = 0; platz < wk::ListenLaenge; ++platz) liste.push_back(hoechste - platz > 0 ? "K:" + std::to_string(hoechste - platz) : "0:0");
        return liste;
    };
    for (int versuch = 0; versuch < anzahl; ++versuch) {
        QFile vorlage(pfad);
        vorlage.open(QIODevice::WriteOnly);
        vorlage.write(andere);
        vorlage.close();
        QProcess programm;
        programm.setStandardErrorFile(QProcess::nullDevice());
        {
            const Stoerer stoerer(pfad);
            programm.start(selbst, {QStringLiteral("--eintragen"), pfad});
            programm.waitForReadyRead(30000);
            QThread::usleep(QRandomGenerator::global()->bounded(300000));
            programm.kill();
            programm.waitForFinished();
        }
        const int gespeichert = punkte(liste(pfad).front());
        ganz += liste(pfad) == bis(gespeichert);
        andereGanz += lies(pfad).contains(andere);
        int vorgemerkt = gespeichert;  // the best game in a journal
        for (const QString& name : QDir(ordner.path()).entryList({"*.offen-*"}, QDir::Files | QDir::Hidden)) {
            if (name.endsWith(QStringLiteral(".neu"))) continue;  // a draft: the game was never safe
            ++journale;
            for (const QByteArray& zeile : lies(ordner.filePath(name)).split('\n')) {
                vorgemerkt = std::max(vorgemerkt, zeile.split(' ').value(3).toInt());
                dazwischen += !zeile.isEmpty() && lies(pfad).contains(zeile.split(' ').front());  // entered, and still in the journal
            }
        }
        naechste.push_back(zeitMs([&] { naechsterStart(pfad); }));
        const std::vector<std::string> danach = liste(pfad);
        const int hoechste = punkte(danach.front());
        for (std::size_t platz = 1; platz < danach.size(); ++platz) doppelt += punkte(danach[platz]) > 0 && punkte(danach[platz]) == punkte(danach[platz - 1]);
        verloren += hoechste < vorgemerkt || danach != bis(hoechste);
        reste += int(QDir(ordner.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size()) - 1;
    }
    std::printf("\n%d programs killed while saving and merging journals (%d journals left, %d of them with a game entered already)\n",
                anzahl, journale, dazwischen);
    zeile("files whole (lists of whole games)", std::to_string(ganz) + " of " + std::to_string(anzahl), "all", ganz == anzahl);
    zeile("other section unchanged", std::to_string(andereGanz) + " of " + std::to_string(anzahl), "all", andereGanz == anzahl);
    zeile("after the next start: games entered twice / lost", std::to_string(doppelt) + " / " + std::to_string(verloren), "0 / 0",
          doppelt == 0 && verloren == 0);
    zeile("left over after the next start", std::to_string(reste), "0", reste == 0);
    zeile("next start: entering what was left, median / longest",
          ms(median(naechste)) + " / " + ms(*std::max_element(naechste.begin(), naechste.end())));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (args.size() >= 3 && (args[1] == QStringLiteral("--reihe") || args[1] == QStringLiteral("--halten"))) return helfer(args);
    if (args.size() >= 3 && args[1] == QStringLiteral("--eintragen")) {  // games 1, 2, 3... until killed
        wk::QtEinstellungen speicher(args[2]);
        ZaehlendeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);
        std::cout << "bereit" << std::endl;
        for (int punkte = 1;; ++punkte) {
            spielEintragen(highscore, "K", punkte);
            speicher.warten(std::chrono::minutes(1));
        }
    }
    QString spiel;
    int runden = 10, anzahl = 200, versuche = 1;
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
    std::printf("Highscore store\n| %-62s | %-26s | %-12s | %-4s |\n", "", "measured", "target", "");
    {
        const Speicherarten speicher;
        if (runden > 0) startfenster(spiel, speicher, runden);
        listenUndSpielende(speicher);
    }
    angehalten(app.applicationFilePath());
    platteUndRechte();
    if (anzahl > 0) kills(app.applicationFilePath(), anzahl);
    if (versuche > 0) zugleich(app.applicationFilePath(), versuche);
    return 0;
}
