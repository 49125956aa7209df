// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Installs the build into a staging folder (DESTDIR, prefix /usr) and packs the
// Debian package, then checks what a user's system would receive: the program
// and its options, the menu entry, the icons, the AppStream data, the manual
// page and the package as Debian's checker sees it. External checkers that
// were not found when configuring skip their check.
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Desktop = QStringLiteral("share/applications/" WK_APP_ID ".desktop");
const QString Metainfo = QStringLiteral("share/metainfo/" WK_APP_ID ".metainfo.xml");
const QString Copyright = QStringLiteral("share/doc/wurfkrone/copyright");
const QString Programm = QStringLiteral("bin/wurfkrone");  // in the Debian package games/wurfkrone

// Every file the installation brings, with the pixel size of an icon (0 for other files).
const QList<QPair<QString, int>> Dateien = [] {
    QList<QPair<QString, int>> dateien{{Programm, 0}, {Desktop, 0}, {Metainfo, 0}, {Copyright, 0},
                                       {QStringLiteral("share/doc/wurfkrone/changelog.gz"), 0},
                                       {QStringLiteral("share/man/man6/wurfkrone.6.gz"), 0},
                                       {QStringLiteral("share/icons/hicolor/scalable/apps/wurfkrone.svg"), 0}};
    for (const int g : {16, 32, 48, 64, 128, 256}) dateien.append({QStringLiteral("share/icons/hicolor/%1x%1/apps/wurfkrone.png").arg(g), g});
    return dateien;
}();

// The exit code (-1 if the program did not run to its end) and all its output.
QPair<int, QString> starte(const QString& programm, const QStringList& argumente,
                           const QProcessEnvironment& umgebung = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setProcessEnvironment(umgebung);
    p.start(programm, argumente);
    const bool fertig = p.waitForFinished(240'000);
    return {fertig && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAll()) + (fertig ? QString() : p.errorString())};
}

bool gefunden(const QString& programm) { return !programm.isEmpty() && !programm.endsWith(QStringLiteral("-NOTFOUND")); }

} // namespace

class TstInstallation : public QObject {
    Q_OBJECT

    QTemporaryDir m_stufe;
    QString pfad(const QString& datei) const { return m_stufe.path() + QStringLiteral("/usr/") + datei; }

private slots:
    void initTestCase() {
        const auto [code, ausgabe] = starte(WK_CMAKE, {"-E", "env", "DESTDIR=" + m_stufe.path(), WK_CMAKE, "--install", WK_BAUORDNER, "--prefix", "/usr"});
        QVERIFY2(code == 0, qPrintable(ausgabe));
    }

    // Each file is in place; the program can be run, the icons have their
    // size, and the checkers accept the menu entry and the AppStream data.
    void dateiIstInstalliert_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("groesse");
        for (const auto& [datei, groesse] : Dateien) QTest::newRow(qPrintable(datei)) << datei << groesse;
    }
    void dateiIstInstalliert() {
        QFETCH(QString, datei);
        QFETCH(int, groesse);
        const QFileInfo info(pfad(datei));
        QVERIFY2(info.isFile() && info.size() > 0, qPrintable(info.filePath()));
        QCOMPARE(info.isExecutable(), datei == Programm);
        if (groesse > 0) QCOMPARE(QImage(info.filePath()).size(), QSize(groesse, groesse));
        const QStringList pruefer = datei == Desktop    ? QStringList{WK_DESKTOP_FILE_VALIDATE, info.filePath()}
                                    : datei == Metainfo ? QStringList{WK_APPSTREAMCLI, "validate", "--no-net", info.filePath()}
                                                        : QStringList{};
        if (pruefer.isEmpty()) return;
        if (!gefunden(pruefer.front())) QSKIP("checker not installed");
        const auto [code, ausgabe] = starte(pruefer.front(), pruefer.mid(1));
        QVERIFY2(code == 0, qPrintable(ausgabe));
    }

    // The copyright file is machine-readable (Debian's copyright format 1.0):
    // each stanza of files names its holders and a licence whose text is
    // given, and the licence of all files is the one the AppStream data names.
    void copyrightIstMaschinenlesbarUndPasstZuDenMetadaten() {
        QFile datei(pfad(Copyright));
        QVERIFY(datei.open(QIODevice::ReadOnly));
        const QStringList absaetze = QString::fromUtf8(datei.readAll()).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
        QVERIFY(absaetze.front().startsWith(QLatin1String("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")));
        const QRegularExpression lizenzZeile(QStringLiteral("^License: (\\S+)$"), QRegularExpression::MultilineOption);
        QStringList genannt, mitText;
        QString lizenzAllerDateien;
        for (const QString& absatz : absaetze.mid(1)) {
            const QString lizenz = lizenzZeile.match(absatz).captured(1);
            QVERIFY2(!lizenz.isEmpty(), qPrintable(absatz));
            if (absatz.startsWith(QLatin1String("Files: "))) {
                QVERIFY2(absatz.contains(QRegularExpression(QStringLiteral("^Copyright: \\d{4} \\S"), QRegularExpression::MultilineOption)),
                         qPrintable(absatz));
                genannt.append(lizenz);
                if (absatz.startsWith(QLatin1String("Files: *\n"))) lizenzAllerDateien = lizenz;
            } else {
                QVERIFY2(absatz.startsWith(QLatin1String("License: ")) && absatz.count(QLatin1Char('\n')) >= 3, qPrintable(absatz));
                mitText.append(lizenz);
            }
        }
        for (const QString& lizenz : genannt) QVERIFY2(mitText.contains(lizenz), qPrintable(lizenz + " has no text"));
        QFile metainfo(pfad(Metainfo));
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        QVERIFY(!lizenzAllerDateien.isEmpty());
        QVERIFY2(metainfo.readAll().contains("<project_license>" + lizenzAllerDateien.toUtf8() + "</project_license>"),
                 qPrintable(lizenzAllerDateien));
    }

    // The options are read before any window system is touched, so they
    // answer where there is no display at all, as over ssh.
    void befehlszeileOhneAnzeige_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("ausgabe");  // a pattern for all of the output
        const QString hilfe = QStringLiteral("^Usage: \\S*wurfkrone \\[options\\]\nWürfelspiel .*\n  -h, --help .*\n  -v, --version .*\n$");
        QTest::newRow("--help") << QStringList{"--help"} << 0 << hilfe;
        QTest::newRow("-h, with a Qt option") << QStringList{"-style", "fusion", "-h"} << 0 << hilfe;
        QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringLiteral("^Wurfkrone " WK_VERSION "\n$");
        QTest::newRow("unknown option") << QStringList{"--farbe", "rot"} << 1 << QStringLiteral("^Wurfkrone: Unknown option 'farbe'.\n$");
        QTest::newRow("an argument") << QStringList{"spielstand.txt"} << 1 << QStringLiteral("^Wurfkrone: Unexpected argument 'spielstand.txt'.\n$");
    }
    void befehlszeileOhneAnzeige() {
        QFETCH(QStringList, argumente);
        QFETCH(int, code);
        QFETCH(QString, ausgabe);
        QProcessEnvironment ohneAnzeige = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ohneAnzeige.remove(QLatin1String(name));
        const auto [ende, text] = starte(pfad(Programm), argumente, ohneAnzeige);
        QCOMPARE(ende, code);
        QVERIFY2(QRegularExpression(ausgabe, QRegularExpression::DotMatchesEverythingOption).match(text).hasMatch(), qPrintable(text));
    }

    // The package brings every file, the program where Debian keeps games,
    // needs Qt, and Debian's checker finds no error and no warning in it.
    void debianPaketVollstaendigUndOhneBeanstandung() {
        if (!gefunden(QStringLiteral(WK_DPKG_DEB)) || !gefunden(QStringLiteral(WK_DPKG))) QSKIP("dpkg or dpkg-deb not found");
        QTemporaryDir ordner;
        const auto [packCode, packAusgabe] =
            starte(QStringLiteral(WK_CPACK), {"-G", "DEB", "--config", WK_BAUORDNER "/CPackConfig.cmake", "-B", ordner.path()});
        QVERIFY2(packCode == 0, qPrintable(packAusgabe));
        const QString arch = starte(QStringLiteral(WK_DPKG), {"--print-architecture"}).second.trimmed();
        const QString deb = ordner.filePath(QStringLiteral("wurfkrone_" WK_VERSION "_%1.deb").arg(arch));
        QVERIFY2(QFileInfo::exists(deb), qPrintable(packAusgabe));
        const QString abhaengig = starte(QStringLiteral(WK_DPKG_DEB), {"-f", deb, "Depends"}).second;
        for (const char* paket : {"libqt6core6", "libqt6gui6", "libqt6widgets6"}) QVERIFY2(abhaengig.contains(QLatin1String(paket)), qPrintable(abhaengig));
        const auto [code, inhalt] = starte(QStringLiteral(WK_DPKG_DEB), {"-c", deb});
        QCOMPARE(code, 0);
        for (auto [datei, groesse] : Dateien) {
            if (datei == Programm) datei = QStringLiteral("games/wurfkrone");  // where Debian keeps games
            QVERIFY2(inhalt.contains(" ./usr/" + datei + '\n'), qPrintable(datei + '\n' + inhalt));
        }
        if (!gefunden(QStringLiteral(WK_LINTIAN))) QSKIP("lintian not installed");
        const auto [lintianCode, befund] = starte(QStringLiteral(WK_LINTIAN), {"--fail-on", "error,warning", "--info", deb});
        QVERIFY2(lintianCode == 0, qPrintable(befund));
    }
};

QTEST_MAIN(TstInstallation)
#include "tst_installation.moc"
