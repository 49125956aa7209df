// Installs the build into a staging folder (DESTDIR, prefix /usr) and packs the
// Debian package, then checks what a user's system would receive: the program,
// the menu entry, the icons and the AppStream data. External checkers that
// were not found when configuring skip their check.
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kId = QStringLiteral(WK_APP_ID);
const QString kDesktop = QStringLiteral("share/applications/%1.desktop").arg(kId);
const QString kMetainfo = QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId);

// Every file the installation must bring, with the pixel size of the icons
// (0 for other files).
QList<QPair<QString, int>> erwarteteDateien()
{
    QList<QPair<QString, int>> dateien{{QStringLiteral("bin/wurfkrone"), 0},
                                       {kDesktop, 0},
                                       {kMetainfo, 0},
                                       {QStringLiteral("share/icons/hicolor/scalable/apps/wurfkrone.svg"), 0}};
    for (const int g : {16, 32, 48, 64, 128, 256})
        dateien.append({QStringLiteral("share/icons/hicolor/%1x%1/apps/wurfkrone.png").arg(g), g});
    return dateien;
}

// Exit code (-1 if the program did not run to its end) and all its output.
QPair<int, QString> starte(const QString& programm, const QStringList& argumente,
                           const QProcessEnvironment& umgebung = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setProcessEnvironment(umgebung);
    p.start(programm, argumente);
    const bool fertig = p.waitForFinished(240'000);
    const QString ausgabe = QString::fromLocal8Bit(p.readAll()) + (fertig ? QString() : p.errorString());
    return {fertig && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, ausgabe};
}

bool gefunden(const QString& programm)
{
    return !programm.isEmpty() && !programm.endsWith(QStringLiteral("-NOTFOUND"));
}

} // namespace

class TstInstallation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_stufe.isValid());
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QStringLiteral("DESTDIR"), m_stufe.path());
        const auto [code, ausgabe] = starte(QStringLiteral(WK_CMAKE),
                                            {QStringLiteral("--install"), QStringLiteral(WK_BAUORDNER),
                                             QStringLiteral("--prefix"), QStringLiteral("/usr")},
                                            umgebung);
        QVERIFY2(code == 0, qPrintable(ausgabe));
    }

    void datei_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("groesse");
        for (const auto& [datei, groesse] : erwarteteDateien())
            QTest::newRow(qPrintable(datei)) << datei << groesse;
    }

    void datei()
    {
        QFETCH(QString, datei);
        QFETCH(int, groesse);
        const QFileInfo info(pfad(datei));
        QVERIFY2(info.isFile() && info.size() > 0, qPrintable(info.filePath()));
        if (datei.startsWith(QStringLiteral("bin/")))
            QVERIFY(info.isExecutable());
        if (groesse > 0)
            QCOMPARE(QImage(info.filePath()).size(), QSize(groesse, groesse));
    }

    void pruefprogramm_data()
    {
        QTest::addColumn<QString>("programm");
        QTest::addColumn<QStringList>("argumente");
        QTest::newRow("desktop-file-validate") << QStringLiteral(WK_DESKTOP_FILE_VALIDATE)
                                               << QStringList{pfad(kDesktop)};
        QTest::newRow("appstreamcli") << QStringLiteral(WK_APPSTREAMCLI)
                                      << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                     pfad(kMetainfo)};
    }

    void pruefprogramm()
    {
        QFETCH(QString, programm);
        QFETCH(QStringList, argumente);
        if (!gefunden(programm))
            QSKIP("checker not installed");
        const auto [code, ausgabe] = starte(programm, argumente);
        QVERIFY2(code == 0, qPrintable(ausgabe));
    }

    void debianPaket()
    {
        if (!gefunden(QStringLiteral(WK_DPKG_DEB)) || !gefunden(QStringLiteral(WK_DPKG)))
            QSKIP("dpkg or dpkg-deb not found");
        QTemporaryDir ordner;
        QVERIFY(ordner.isValid());
        const auto [packCode, packAusgabe] =
            starte(QStringLiteral(WK_CPACK), {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                                              QStringLiteral(WK_BAUORDNER "/CPackConfig.cmake"), QStringLiteral("-B"),
                                              ordner.path()});
        QVERIFY2(packCode == 0, qPrintable(packAusgabe));
        const QString arch = starte(QStringLiteral(WK_DPKG), {QStringLiteral("--print-architecture")}).second.trimmed();
        const QString deb =
            ordner.filePath(QStringLiteral("wurfkrone_%1_%2.deb").arg(QStringLiteral(WK_VERSION), arch));
        QVERIFY2(QFileInfo::exists(deb), qPrintable(packAusgabe));

        const QString abhaengig =
            starte(QStringLiteral(WK_DPKG_DEB), {QStringLiteral("-f"), deb, QStringLiteral("Depends")}).second;
        for (const char* paket : {"libqt6core6", "libqt6gui6", "libqt6widgets6"})
            QVERIFY2(abhaengig.contains(QLatin1String(paket)), qPrintable(abhaengig));

        const auto [code, inhalt] = starte(QStringLiteral(WK_DPKG_DEB), {QStringLiteral("-c"), deb});
        QCOMPARE(code, 0);
        for (const auto& [datei, groesse] : erwarteteDateien())
            QVERIFY2(inhalt.contains(QStringLiteral(" ./usr/") + datei + u'\n'), qPrintable(datei + u'\n' + inhalt));
    }

private:
    QString pfad(const QString& relativ) const { return m_stufe.path() + QStringLiteral("/usr/") + relativ; }

    QTemporaryDir m_stufe{};
};

QTEST_MAIN(TstInstallation)
#include "tst_installation.moc"
