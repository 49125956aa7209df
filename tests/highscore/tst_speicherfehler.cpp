// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The highscore lists and the settings store they live in: ranking and
// clearing over a store in memory; the store over real files: files the
// released program wrote, hostile names, damaged, huge, linked or unreachable
// files, a full disk, the lock in every state and what crashed programs left.
// (How the store reads damaged or odd files is checked against QSettings by
// the fuzz corpus in tst_fuzzkorpus.)

#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace {

QStringList warnungen;

// As text, a leading byte-order mark included (QString::fromStdString drops it).
QString q(const std::string& text) { return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)(text); }

// Twenty places as "Name:Punkte": the given ones first, then `rest`.
QStringList plaetze(QStringList anfang, const QString& rest = QStringLiteral("0:0")) {
    while (anfang.size() < wk::ListenLaenge) anfang << rest;
    return anfang;
}

// The list of one-Runde games in `speicher` as the start window shows it.
QStringList angezeigt(wk::Einstellungen& speicher, int laenge = 1) {
    FakeMeldung meldung;
    const wk::HighscoreAnzeige anzeige = wk::Highscore(speicher, meldung).highscore_anzeigen(laenge, false);
    QStringList liste;
    for (int i = 0; i < wk::ListenLaenge; ++i) liste << q(anzeige.namen[i] + ":" + anzeige.punkte[i]);
    return liste;
}

// Enters a finished game of one Runde with these players, as "Name:Punkte"
// in player order ("nan" and "inf" for points that are no number).
void eintragen(wk::Einstellungen& speicher, const QStringList& spieler) {
    wk::Spielstand stand;
    stand.spielerAnlegen(int(spieler.size()));
    for (int p = 1; p <= spieler.size(); ++p) {
        stand.Namen[p] = spieler[p - 1].section(':', 0, -2).toStdString();
        stand.Gesamtpunkte[p] = spieler[p - 1].section(':', -1).toDouble();
    }
    FakeMeldung meldung;
    wk::Highscore(speicher, meldung).Auswertung(stand);
    QVERIFY(meldung.texte.empty());
}

QByteArray inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}
bool schreibeDatei(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

// A figure of this program in KB from /proc/self/status ("VmRSS:").
qint64 kb(const char* zeile) {
    const QByteArray status = inhalt(QStringLiteral("/proc/self/status"));
    return status.mid(status.indexOf(zeile) + 6).trimmed().split(' ').front().toLongLong();
}

// The process id of a program that has ended.
qint64 toterProzess() {
    const pid_t kind = fork();
    if (kind == 0) _exit(0);
    waitpid(kind, nullptr, 0);
    return kind;
}

enum Lage { KeineDatei, Datei, GrosseDatei, Beschaedigt, PlatteVoll, DateiUnlesbar, DateiSchreibgeschuetzt, OrdnerSchreibgeschuetzt,
            SperreLebend, SperreTot, SperreOrdner, ResteToter, Verknuepfung };

} // namespace

class TstSpeicherfehler : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_ordner;
    QString pfad() const { return m_ordner->filePath(QStringLiteral("Wurfkrone.conf")); }
    void rechteZurueck() {  // the own user again, and the folder writable
        QCOMPARE(seteuid(getuid()), 0);
        QVERIFY(QFile::setPermissions(m_ordner->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { warnungen << text; });
        std::signal(SIGXFSZ, SIG_IGN);  // writing past the file size limit fails rather than ending the program
    }
    void init() {
        // In memory where there is one: saves flush to disk, which a disk makes slow.
        m_ordner.emplace(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/wurfkrone-XXXXXX") : QDir::tempPath() + QStringLiteral("/wurfkrone-XXXXXX"));
        warnungen.clear();
    }
    void cleanup() { rechteZurueck(); }

    void auswertungReihtJedenSpielerEin_data() {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("spieler");  // of the game entered
        QTest::addColumn<QStringList>("nachher");
        const auto fall = [](const char* name, const QStringList& vorher, const QStringList& spieler, const QStringList& nachher) {
            QTest::newRow(name) << vorher << spieler << nachher;
        };
        QStringList voll;  // places 1..18 hold 500 points, place 19 holds 120 and place 20 holds 100
        for (int platz = 1; platz <= 18; ++platz) voll << QStringLiteral("P%1:500").arg(platz);
        voll << QStringLiteral("Vorletzter:120") << QStringLiteral("Letzter:100");
        fall("fresh store: in player order, equal totals too, as whole numbers", {}, {"A:10.4", "B:30", "C:20", "D:30"},
             plaetze({"B:30", "D:30", "C:20", "A:10"}));
        fall("equal to a stored result: below it", plaetze({"Alt:245"}), {"Neu:245"}, plaetze({"Alt:245", "Neu:245"}));
        fall("equal to place 20: stays out", voll, {"Neu:100"}, voll);
        fall("beats place 20 by one: old 20th drops out", voll, {"Neu:101"}, QStringList(voll.first(19)) << "Neu:101");
        fall("new 19th: old 19th becomes 20th", voll, {"Neu:130"}, QStringList(voll.first(18)) << "Neu:130" << "Vorletzter:120");
        fall("no number and infinity never enter", {}, {"X:nan", "Y:inf"}, plaetze({}));
        fall("names stored without blanks at the ends, an empty one stays empty", plaetze({" Alt :300"}), {"\t Anna Maria  :245", ":100"},
             plaetze({"Alt:300", "Anna Maria:245", ":100"}));
        fall("stored points read from the start of the text", plaetze({"Alt:250 Punkte", "Zwei:.."}), {"Neu:245"},
             plaetze({"Alt:250", "Neu:245", "Zwei:0"}));
    }
    void auswertungReihtJedenSpielerEin() {
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, spieler);
        QFETCH(QStringList, nachher);
        FakeEinstellungen speicher;
        for (int platz = 1; platz <= vorher.size(); ++platz) {
            speicher.werte["Highscore1/" + std::to_string(platz)] = vorher[platz - 1].section(':', 1).toStdString();
            speicher.werte["Highscore1/Name" + std::to_string(platz)] = vorher[platz - 1].section(':', 0, 0).toStdString();
        }
        eintragen(speicher, spieler);
        QCOMPARE(speicher.zugriffeOhneTransaktion, 0);
        QCOMPARE(angezeigt(speicher), nachher);
    }

    void loeschenMeldetZuerstUndLeertAlleVierListen() {
        FakeEinstellungen speicher;
        speicher.werte["Highscore1/1"] = "245";
        FakeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);
        highscore.highscore_anzeigen(1, false);
        int geschriebenBeimHinweis = 99;
        meldung.waehrendOffen = [&] { geschriebenBeimHinweis = speicher.schreibvorgaenge; };
        highscore.highscore_loeschen();
        QCOMPARE(meldung.texte, std::vector<std::string>{" Highscore wird gelöscht."});
        QCOMPARE(geschriebenBeimHinweis, 0);
        QCOMPARE(speicher.zugriffeOhneTransaktion, 0);
        for (const int laenge : wk::Spiellaengen) QCOMPARE(angezeigt(speicher, laenge), plaetze({}, QStringLiteral("..:0")));
        QCOMPARE(highscore.BestenPunkte()[1], 245.0);  // the list in memory stays as it was
    }

    // Files the released store wrote (tests/highscore/freigegeben, made with
    // that store): every entry reads as that store read it, recorded beside
    // each file as "Abschnitt/Schlüssel<Tab>hex of the value" or "-" for none.
    void freigegebeneDateienLesenSichWieZuvor_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("games of every length with hostile names") << QStringLiteral("spiele");
        QTest::newRow("hostile values in every key") << QStringLiteral("werte");
    }
    void freigegebeneDateienLesenSichWieZuvor() {
        QFETCH(QString, name);
        const QString datei = QStringLiteral(FREIGEGEBEN "/") + name;
        QMap<QByteArray, QList<QByteArray>> erwartet;  // the lines of each section
        for (const QByteArray& zeile : inhalt(datei + QStringLiteral(".erwartet")).trimmed().split('\n')) erwartet[zeile.left(zeile.indexOf('/'))] << zeile;
        QVERIFY(erwartet.size() >= 4);
        wk::QtEinstellungen speicher(datei + QStringLiteral(".conf"));
        for (const auto& [abschnitt, zeilen] : erwartet.asKeyValueRange()) {  // the keys of a section in one read
            std::vector<std::string> schluessel;
            for (const QByteArray& zeile : zeilen) schluessel.push_back(zeile.sliced(abschnitt.size() + 1).split('\t').front().toStdString());
            const std::vector<std::string> werte = speicher.lesen(abschnitt.toStdString(), schluessel, "-");
            QList<QByteArray> gelesen;  // the lines as the file beside records them
            for (std::size_t i = 0; i < werte.size(); ++i) {
                gelesen << zeilen[i].first(zeilen[i].indexOf('\t') + 1) + (werte[i] == "-" ? "-" : QByteArray::fromStdString(werte[i]).toHex());
            }
            QCOMPARE(gelesen, zeilen);
        }
    }

    // Saving a game into the store in every state of the file, its folder,
    // the disk and the lock. The file holds the list of "Alt" and other lines,
    // lone surrogates among them. Reading creates no file, holds no more than
    // a piece of the file in memory, and neither waits for the lock nor logs
    // anything while the file is whole and readable. A save waits for a
    // living holder of the lock (here an earlier version's QLockFile) and is
    // then dropped; takes over at once a lock left by a program that died,
    // empty or not; goes on without a lock that cannot be made; removes the
    // drafts and check files of programs that no longer run and the guard an
    // earlier version left; writes through a link, which stays. A save that
    // cannot be made leaves the file byte for byte and is logged; one that can
    // keeps every other line, and every name comes back as typed, to this
    // store and to QSettings as earlier versions read. Nothing is left beside
    // the file but `bleiben`: no draft, no copy of a damaged file.
    void speichernInJederLage_data() {
        QTest::addColumn<int>("lage");
        QTest::addColumn<QStringList>("namen");  // entered in one game, each with 100 points
        QTest::addColumn<bool>("gespeichert");
        QTest::addColumn<QString>("warnung");  // a pattern the log matches; "": nothing logged
        QTest::addColumn<QStringList>("bleiben");
        const auto fall = [](const char* name, Lage lage, bool gespeichert, const char* warnung = "", const QStringList& bleiben = {},
                             const QStringList& namen = {"Neu"}) {
            QTest::newRow(name) << int{lage} << namen << gespeichert << QString::fromUtf8(warnung) << bleiben;
        };
        const auto namen = [&fall](const char* name, const QStringList& namen) { fall(name, KeineDatei, true, "", {}, namen); };
        const QString bom(QChar(0xFEFF));
        namen("names with markup, one of 1 MB", {"<b>fett</b>", "<img src=\"/dev/zero\">" + QString(1 << 20, 'x'), "&amp;"});
        namen("names with byte-order marks before, inside and after", {bom + "A", bom + bom + "B", "C" + bom, "a" + bom + "1"});
        namen("names with the file's own syntax", {"A, B", "Sie sagte \"Hallo\"", "x=y;z", "[Highscore1]", "; nur Text", "C:\\Spiele\\"});
        namen("names with control characters, escapes, types, letters beyond ASCII",
              {"Tab\tund\nZeile\rEnde", QString::fromUtf8("Null\0\x31", 6), "\x7f\x01\\x41", "@Variant(0)", "@@", "Jürgen Öztürk-Weiß \U0001F3B2"});
        fall("lone surrogates in another section", Datei, true);
        fall("a store of 12 MB", GrosseDatei, true);
        fall("a damaged file", Beschaedigt, true, "beschädigt");
        fall("a damaged file on a full disk", PlatteVoll, false, "beschädigt(.|\n)*nicht gespeichert");
        fall("file unreadable", DateiUnlesbar, false, "nicht gespeichert");
        fall("file read-only", DateiSchreibgeschuetzt, false, "nicht gespeichert");
        fall("folder read-only", OrdnerSchreibgeschuetzt, false, "nicht gespeichert");
        fall("lock held by a living program", SperreLebend, false, "gehalten(.|\n)*nicht gespeichert", {"Wurfkrone.conf.sperre"});
        fall("lock left by a dead program", SperreTot, true);
        fall("lock left empty by a killed program, drafts of dead ones", ResteToter, true, "", {"Wurfkrone.conf.neu-" + QString::number(getppid())});
        fall("a directory in place of the lock", SperreOrdner, true, "kann nicht angelegt werden", {"Wurfkrone.conf.sperre"});
        fall("a link to a file that is no store", Verknuepfung, true, "", {"ziel.conf"});
    }
    void speichernInJederLage() {
        QFETCH(int, lage);
        QFETCH(QStringList, namen);
        QFETCH(bool, gespeichert);
        QFETCH(QString, warnung);
        QFETCH(QStringList, bleiben);
        const bool beschaedigt = lage == Beschaedigt || lage == PlatteVoll;
        QByteArray fremd = lage == KeineDatei ? ""
                           : beschaedigt      ? "kaputt\n[Fenster\nBreite=800\n"
                                              : "PATH=/usr/bin\n[Fenster]\nTitel=\\xd800x\\xdc00\nBreite=800\n";
        for (int i = 0; lage == GrosseDatei && fremd.size() < 12 << 20; ++i) fremd += "Schluessel" + QByteArray::number(i) + "=" + QByteArray(8000, 'w') + "\n";
        const QByteArray alt = fremd + "[Highscore1]\n1=5\nName1=Alt\n";
        const QString sperre = pfad() + QStringLiteral(".sperre"), tot = QString::number(toterProzess());
        const QString datei = lage == Verknuepfung ? m_ordner->filePath(QStringLiteral("ziel.conf")) : pfad();
        QLockFile lebend(sperre);
        QVERIFY(lage != SperreLebend || lebend.tryLock(0));
        QVERIFY(lage != SperreTot || schreibeDatei(sperre, tot.toUtf8() + "\ntst_speicherfehler\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
        QVERIFY(lage != SperreOrdner || QDir().mkdir(sperre));
        QVERIFY(lage != Verknuepfung || QFile::link(datei, pfad()));
        if (lage == ResteToter) {  // the guard names its program first; the lock of a program killed at once is empty
            for (const QString& rest : QStringList{".neu-" + tot, ".neu-" + tot + "-3.pruefen", ".neu-" + QString::number(getppid()), ".sperre.rmlock", ".sperre"}) {
                QVERIFY(schreibeDatei(pfad() + rest, rest == ".sperre" ? "" : tot.toUtf8() + "\nx\n"));
            }
        }
        QVERIFY(lage == KeineDatei || schreibeDatei(datei, alt));
        QVERIFY(lage != DateiUnlesbar || QFile::setPermissions(datei, QFile::Permissions(0x2222)));  // writable, so only reading stops
        QVERIFY(lage != DateiSchreibgeschuetzt || QFile::setPermissions(datei, QFile::Permissions(0x4444)));
        QVERIFY(schreibeDatei(QStringLiteral("/proc/self/clear_refs"), "5"));  // the peak of resident memory starts again from here
        const qint64 vorher = kb("VmRSS:");
        if (lage == DateiUnlesbar || lage == OrdnerSchreibgeschuetzt) {  // as the user "nobody" when root, as permissions do not stop root
            QVERIFY(QFile::setPermissions(m_ordner->path(), QFile::Permissions(lage == DateiUnlesbar ? 0x7777 : 0x5555)));
            const passwd* niemand = getpwnam("nobody");
            if (geteuid() == 0 && (!niemand || seteuid(niemand->pw_uid) != 0)) QSKIP("root ignores file permissions, and there is no user nobody");
        }
        wk::QtEinstellungen speicher(pfad(), std::chrono::milliseconds(100));
        QCOMPARE(angezeigt(speicher), plaetze(lage == KeineDatei || lage == DateiUnlesbar ? QStringList{} : QStringList{"Alt:5"}));
        QVERIFY2(kb("VmHWM:") - vorher < 8 << 10, qPrintable(QString::number(kb("VmHWM:") - vorher) + " KB more at the peak"));
        QCOMPARE(QFile::exists(pfad()), lage != KeineDatei);
        if (lage != DateiUnlesbar && !beschaedigt) QCOMPARE(warnungen, QStringList());
        QStringList neu;
        for (const QString& name : namen) neu << name + QStringLiteral(":100");
        rlimit grenze{};
        getrlimit(RLIMIT_FSIZE, &grenze);
        const rlimit voll{lage == PlatteVoll ? rlim_t(alt.size()) : grenze.rlim_cur, grenze.rlim_max};  // the file cannot grow
        setrlimit(RLIMIT_FSIZE, &voll);
        eintragen(speicher, neu);
        setrlimit(RLIMIT_FSIZE, &grenze);
        rechteZurueck();
        QVERIFY(lage == KeineDatei || QFile::setPermissions(datei, QFile::ReadOwner | QFile::WriteOwner));
        QStringList nachher = gespeichert ? neu : QStringList();
        if (lage != KeineDatei) nachher << QStringLiteral("Alt:5");
        const QString log = warnungen.join('\n');
        QVERIFY2(warnung.isEmpty() ? log.isEmpty() : log.contains(QRegularExpression(warnung)), qPrintable(log));
        QCOMPARE(angezeigt(speicher), plaetze(nachher));
        QCOMPARE(gespeichert ? inhalt(datei).left(fremd.size()) : inhalt(datei), gespeichert ? fremd : alt);
        QCOMPARE(QFileInfo(pfad()).symLinkTarget(), lage == Verknuepfung ? datei : QString());
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Wurfkrone.conf"} + bleiben);
        const QSettings wieFrueher(pfad(), QSettings::IniFormat);  // a path new to QSettings: read from disk
        const auto wert = [&wieFrueher](const QString& schluessel) { return wieFrueher.value("Highscore1/" + schluessel, "0").toString(); };
        QStringList frueher;
        for (int platz = 1; platz <= wk::ListenLaenge; ++platz) frueher << wert(QStringLiteral("Name%1").arg(platz)) + ':' + wert(QString::number(platz));
        QCOMPARE(frueher, plaetze(nachher));
    }
};

QTEST_GUILESS_MAIN(TstSpeicherfehler)
#include "tst_speicherfehler.moc"
