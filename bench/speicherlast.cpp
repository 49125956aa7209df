// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The highscore store under load and in trouble (see speichermessung.cpp):
// many programs saving at once, a program stopped while it holds the lock,
// a full disk and a read-only store.
#include "speicherhilfe.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <iostream>
#include <limits>
#include <memory>

namespace messung {

namespace {

// Runs the event loop for at most `frist` or until `fertig`, and returns the
// longest gap between the ticks of a 10 ms timer meanwhile: how long the
// window's thread was kept from its events.
double schleife(std::chrono::milliseconds frist, const std::function<bool()>& fertig) {
    QEventLoop schleife;
    QTimer takt;
    QElapsedTimer uhr, gesamt;
    double laengste = 0;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        laengste = std::max(laengste, double(uhr.restart()));
        if (fertig() || gesamt.hasExpired(frist.count())) schleife.quit();
    });
    uhr.start();
    gesamt.start();
    takt.start(10);
    schleife.exec();
    return laengste;
}

std::unique_ptr<QProcess> starten(const QString& selbst, const QStringList& args) {
    auto programm = std::make_unique<QProcess>();
    programm->start(selbst, args);
    programm->waitForReadyRead(30000);
    return programm;
}

} // namespace

// 8, 16 and 32 programs let go at one moment, each entering 15 games one
// after the other into a store of 6.7 MB, and waiting as the game does.
void zugleich(const QString& selbst, int versuche) {
    std::printf("\nPrograms saving at once into a store of 6.7 MB, 15 games each, waiting as the game does (%d time(s))\n", versuche);
    QByteArray andere = "[Andere]\n";
    for (int i = 0; andere.size() < 6700000; ++i) andere += "Schluessel" + QByteArray::number(i).rightJustified(6, '0') + "=" + QByteArray(64, 'w') + "\n";
    for (const bool ordner : {false, true}) {
        for (const int programme : {8, 16, 32}) {
            int verloren = 0, beschaedigt = 0, gemeldet = 0, offen = 0;
            double dauer = 0;
            for (int versuch = 0; versuch < versuche; ++versuch) {
                const QTemporaryDir dir;
                const QString pfad = dir.filePath(QStringLiteral("Wurfkrone.conf"));
                QFile vorlage(pfad);
                vorlage.open(QIODevice::WriteOnly);
                vorlage.write(andere);
                vorlage.close();
                if (ordner) QDir().mkdir(pfad + QStringLiteral(".sperre"));
                std::vector<std::unique_ptr<QProcess>> laufend;
                std::vector<int> alle;
                for (int k = 0; k < programme; ++k) {
                    laufend.push_back(starten(selbst, {QStringLiteral("--reihe"), pfad, QString::number(k)}));
                    for (int runde = 0; runde < 15; ++runde) alle.push_back((15 - runde) * 100 + k);
                }
                dauer += zeitMs([&] {
                    for (auto& p : laufend) p->closeWriteChannel();
                    for (auto& p : laufend) p->waitForFinished(600000);
                });
                for (auto& p : laufend) {  // "gemeldet N offen M"
                    const QList<QByteArray> teile = p->readAllStandardOutput().trimmed().split(' ');
                    gemeldet += teile.value(teile.size() - 3).toInt();
                    offen += teile.value(teile.size() - 1).toInt();
                }
                naechsterStart(pfad);
                std::sort(alle.rbegin(), alle.rend());
                const std::vector<std::string> gespeichert = liste(pfad);
                for (int platz = 0; platz < wk::ListenLaenge; ++platz) verloren += punkte(gespeichert[platz]) != alle[platz];
                beschaedigt += !lies(pfad).contains(andere);
            }
            const std::string art = std::to_string(programme) + " programs" + (ordner ? ", a directory as the lock" : "");
            zeile(art + ": places lost / files damaged", std::to_string(verloren) + " / " + std::to_string(beschaedigt), "0 / 0",
                  verloren == 0 && beschaedigt == 0);
            zeile(art + ": told / left in a journal / time", std::to_string(gemeldet) + " / " + std::to_string(offen) + " / " +
                  ms(dauer / versuche));
        }
    }
}

// A program holds the lock and is stopped (SIGSTOP); this one finishes a game.
void angehalten(const QString& selbst) {
    std::printf("\nA program stopped while it holds the lock; this one finishes a game (the game's own waiting)\n");
    // The yardstick: the same timer while nothing else happens in this program.
    zeile("without any store: longest gap of a 10 ms timer over 8 s", ms(schleife(std::chrono::seconds(8), [] { return false; })));
    for (const bool beenden : {false, true}) {
        const QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("Wurfkrone.conf"));
        const std::unique_ptr<QProcess> halter = starten(selbst, {QStringLiteral("--halten"), pfad});
        ::kill(pid_t(halter->processId()), SIGSTOP);
        auto speicher = std::make_unique<wk::QtEinstellungen>(pfad);
        ZaehlendeMeldung meldung;
        auto highscore = std::make_unique<wk::Highscore>(*speicher, meldung);
        double laengste = 0;
        const double uebergabe = zeitMs([&] { spielEintragen(*highscore, "Anna", 245); });
        laengste = schleife(std::chrono::seconds(8), [] { return false; });
        if (beenden) {  // the program ends while the holder is stopped
            highscore.reset();
            speicher.reset();
        }
        ::kill(pid_t(halter->processId()), SIGCONT);
        halter->closeWriteChannel();
        halter->waitForFinished(10000);
        double bisEingetragen = 0;
        if (beenden) {
            bisEingetragen = zeitMs([&] { naechsterStart(pfad); });
        } else {
            bisEingetragen = zeitMs([&] { laengste = std::max(laengste, schleife(std::chrono::seconds(30), [&] { return speicher->warten(std::chrono::milliseconds(0)); })); });
        }
        const bool da = liste(pfad).front() == "Anna:245";
        const std::string wie = beenden ? "program ended meanwhile, entered at its next start" : "entered after SIGCONT by the same program";
        zeile(wie + ": entered, time", std::string(da ? "yes" : "NO") + ", " + ms(bisEingetragen), "yes", da);
        zeile("  the window's thread: hand-over / longest gap of a 10 ms timer", ms(uebergabe) + " / " + ms(laengste), "<= 100 ms",
              laengste <= 100);
        zeile("  messages told", std::to_string(meldung.gezeigt), "1", meldung.gezeigt == 1);
    }
}

// A full disk (a tmpfs of 1 MB) and a read-only store: the player is told,
// and the game is entered once space or permission returns.
void platteUndRechte() {
    std::printf("\nA full disk and a read-only store\n");
    for (const bool voll : {true, false}) {
        const QTemporaryDir dir;
        const QString ordner = dir.filePath(QStringLiteral("platte"));
        QDir().mkpath(ordner);
        if (voll && QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=1m", "tmpfs", ordner}) != 0) {
            zeile("full disk", "not measured: no tmpfs could be mounted (needs root)");
            continue;
        }
        const QString pfad = ordner + QStringLiteral("/Wurfkrone.conf");
        {
            QFile store(pfad);
            store.open(QIODevice::WriteOnly);
            store.write("[Highscore1]\n1=5\nName1=Alt\n");
        }
        QFile fueller(ordner + QStringLiteral("/fueller"));
        if (voll) {
            fueller.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
            const QByteArray block(4096, 'x');
            while (fueller.write(block) == block.size()) {}
            fueller.close();
        } else {
            QFile::setPermissions(pfad, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        }
        {
            wk::QtEinstellungen speicher(pfad);
            ZaehlendeMeldung meldung;
            wk::Highscore highscore(speicher, meldung);
            spielEintragen(highscore, "Anna", 245);
            schleife(std::chrono::seconds(10), [&] { return meldung.gezeigt > 0; });
            const bool journal = !QDir(ordner).entryList({"Wurfkrone.conf.offen-*"}, QDir::Files | QDir::Hidden).isEmpty();
            voll ? void(fueller.remove()) : void(QFile::setPermissions(pfad, QFile::ReadOwner | QFile::WriteOwner));
            const double zeit = zeitMs([&] { schleife(std::chrono::seconds(30), [&] { return speicher.warten(std::chrono::milliseconds(0)); }); });
            const bool da = liste(pfad).front() == "Anna:245";
            const std::string art = voll ? "full disk" : "read-only store";
            zeile(art + ": told / waited in a journal", std::to_string(meldung.gezeigt) + " / " + (journal ? "yes" : "no, in memory"), "1 /",
                  meldung.gezeigt == 1);
            zeile(art + ": entered once " + (voll ? "space" : "permission") + " returned, after", std::string(da ? "yes" : "NO") + ", " + ms(zeit),
                  "yes", da);
        }
        if (voll) QProcess::execute(QStringLiteral("umount"), {ordner});
    }
}

int helfer(const QStringList& args) {
    const QString pfad = args.value(2);
    if (args[1] == QStringLiteral("--halten")) {  // holds the lock until standard input is closed
        const int fd = sperreNehmen(pfad);
        std::cout << "gehalten" << std::endl;
        std::cin.ignore(std::numeric_limits<std::streamsize>::max());
        return fd >= 0 ? 0 : 1;
    }
    // --reihe: 15 games, one after the other, once standard input is closed
    wk::QtEinstellungen speicher(pfad);
    ZaehlendeMeldung meldung;
    wk::Highscore highscore(speicher, meldung);
    std::cout << "bereit" << std::endl;
    std::cin.ignore(std::numeric_limits<std::streamsize>::max());
    bool fertig = true;
    for (int runde = 0; runde < 15; ++runde) {
        spielEintragen(highscore, "P", (15 - runde) * 100 + args.value(3).toInt());
        schleife(std::chrono::seconds(120), [&] { return speicher.warten(std::chrono::milliseconds(0)); });
        fertig = fertig && speicher.warten(std::chrono::milliseconds(0));
    }
    std::cout << "gemeldet " << meldung.gezeigt << " offen " << (fertig ? 0 : 1) << std::endl;
    return 0;
}

} // namespace messung
