// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The highscore lists and the settings store they live in: ranking and
// clearing over a store in memory; the store over real files: files the
// released program wrote, hostile names, damaged, huge, linked or unreachable
// files, a full disk, the lock in every state, what crashed programs left,
// and results that wait in the journal until the store can take them.
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
#include <mutex>
#include <optional>
#include <set>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"
#include "speicherdateien.h"

namespace {

enum Lage { KeineDatei, Datei, GrosseDatei, UeberGross, Beschaedigt, PlatteVoll, VormerkenUnmoeglich, DateiUnlesbar, DateiSchreibgeschuetzt,
            OrdnerSchreibgeschuetzt, SperreLebend, SperreTot, SperreOrdner, ResteToter, Verknuepfung };

} // namespace

class TstSpeicherfehler : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_ordner;
    QString pfad() const { return m_ordner->filePath(QStringLiteral("Wurfkrone.conf")); }
    const uid_t m_ich = getuid();
    void rechteZurueck() {  // the own user again, and the folder writable
        QCOMPARE(setresuid(m_ich, m_ich, m_ich), 0);
        QVERIFY(QFile::setPermissions(m_ordner->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    // As the user "nobody" when root, who owns the folder and all in it then:
    // permissions do not stop root, and another user's programs are not
    // root's to signal.
    // False when that cannot be done.
    bool alsNiemand() {
        const passwd* niemand = getpwnam("nobody");
        if (geteuid() != 0) return true;
        const QDir ordner(m_ordner->path());
        bool ok = niemand != nullptr;
        const QStringList namen = ordner.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) << ".";
        for (const QString& name : namen) {
            ok = ok && lchown(QFile::encodeName(ordner.filePath(name)).constData(), niemand->pw_uid, niemand->pw_gid) == 0;
        }
        return ok && setresuid(niemand->pw_uid, niemand->pw_uid, 0) == 0;  // root stays in reach
    }

private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            const std::lock_guard lage(protokollSperre);
            warnungen << text;
        });
        std::signal(SIGXFSZ, SIG_IGN);  // writing past the file size limit fails rather than ending the program
    }
    void init() {
        // In memory where there is one: saves flush to disk, which a disk makes slow.
        m_ordner.emplace(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/wurfkrone-XXXXXX") : QDir::tempPath() + QStringLiteral("/wurfkrone-XXXXXX"));
        warnungen.clear();
    }
    void cleanup() {
        rechteZurueck();
        const rlimit offen{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &offen);
    }

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
            for (const QByteArray& zeile : zeilen) schluessel.push_back(zeile.split('\t').front().toStdString());
            const std::vector<std::string> werte = speicher.lesen(schluessel, "-");
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
    // anything while the file is whole and readable. A save that can be made
    // is made quietly: it takes over at once a lock left by a program that
    // died, empty or not; locks the folder where no lock file can be made;
    // removes the drafts of programs that no longer run (another user's run)
    // and the guard an earlier version left; writes through a link, which
    // stays; keeps every other line, the file's permissions, and every name as
    // typed, to this store and to QSettings as earlier versions read; moves a
    // file too large aside once. A save that cannot be made now (the lock held
    // by a living program, here an earlier version's QLockFile; a full disk; a
    // file that cannot be read or written) leaves the file as it was, and the
    // game waits in the journal, flushed to disk, or in memory where not even
    // that can be written; the player is told once; the game is entered when
    // the cause goes. Every file put in place was flushed to disk first.
    // Nothing is left beside the file but `bleiben`.
    void speichernInJederLage_data() {
        QTest::addColumn<int>("lage");
        QTest::addColumn<QStringList>("namen");  // entered in one game, each with 100 points
        QTest::addColumn<QString>("gemeldet");   // a pattern of what the player is told; "": saved at once, quietly
        QTest::addColumn<QString>("warnung");    // a pattern the log matches; "": nothing logged
        QTest::addColumn<QStringList>("bleiben");
        const auto fall = [](const char* name, Lage lage, const char* gemeldet, const char* warnung = "", const QStringList& bleiben = {},
                             const QStringList& namen = {"Neu"}) {
            QTest::newRow(name) << int{lage} << namen << QString::fromUtf8(gemeldet) << QString::fromUtf8(warnung) << bleiben;
        };
        const auto namen = [&fall](const char* name, const QStringList& namen) { fall(name, KeineDatei, "", "", {}, namen); };
        const QString bom(QChar(0xFEFF));
        const char* vorgemerkt = "^Die Ergebnisse konnten noch nicht gespeichert werden.\nSie sind vorgemerkt";
        const char* imSpeicher = "^Die Ergebnisse konnten nicht gespeichert werden,\nauch nicht vorläufig";
        namen("names with markup, one as long as the input box takes", {"<b>fett</b>", "<img src=\"/dev/zero\">" + QString(32767, 'x'), "&amp;"});
        namen("names with byte-order marks before, inside and after", {bom + "A", bom + bom + "B", "C" + bom, "a" + bom + "1"});
        namen("names with the file's own syntax", {"A, B", "Sie sagte \"Hallo\"", "x=y;z", "[Highscore1]", "; nur Text", "C:\\Spiele\\"});
        namen("names with control characters, escapes, types, letters beyond ASCII",
              {"Tab\tund\nZeile\rEnde\vSenkrecht\fSeite", QString::fromUtf8("Null\0\x31", 6), "\x7f\x01\\x41", "@Variant(0)", "@@", "Jürgen Öztürk-Weiß \U0001F3B2"});
        fall("lone surrogates in another section", Datei, "");
        fall("a store of 12 MB", GrosseDatei, "");
        fall("a store over 16 MB: moved aside once", UeberGross, "", "größer als 16 MB(.|\n)*zu groß", {"Wurfkrone.conf.zu-gross-*"});
        fall("a line without \"=\"", Beschaedigt, "", "beschädigt");
        fall("a section header without \"]\" on a full disk", PlatteVoll, vorgemerkt, "beschädigt(.|\n)*nicht gespeichert");
        fall("a disk that takes not even the journal", VormerkenUnmoeglich, imSpeicher, "nicht gespeichert");
        fall("file unreadable", DateiUnlesbar, vorgemerkt, "nicht gelesen");
        fall("file read-only", DateiSchreibgeschuetzt, vorgemerkt, "schreibgeschützt");
        fall("folder read-only", OrdnerSchreibgeschuetzt, imSpeicher, "nicht gespeichert");
        fall("lock held by a living program", SperreLebend, vorgemerkt);
        fall("lock left by a dead program", SperreTot, "");
        fall("lock left empty by a killed program, drafts of dead ones and another user's", ResteToter, "", "",
             {"Wurfkrone.conf.neu-1", "Wurfkrone.conf.neu-" + QString::number(getppid())});
        fall("a directory in place of the lock", SperreOrdner, "", "gesperrt wird der Ordner", {"Wurfkrone.conf.sperre"});
        fall("a link to a file that is no store", Verknuepfung, "", "", {"ziel.conf"});
    }
    void speichernInJederLage() {
        QFETCH(int, lage);
        QFETCH(QStringList, namen);
        QFETCH(QString, gemeldet);
        QFETCH(QString, warnung);
        QFETCH(QStringList, bleiben);
        const bool beschaedigt = lage == Beschaedigt || lage == PlatteVoll;
        QByteArray fremd = lage == KeineDatei    ? ""
                           : lage == Beschaedigt ? "kaputt\n[Fenster]\nBreite=800\n"
                           : lage == PlatteVoll  ? "[Fenster\nBreite=800\n"
                                                 : "PATH=/usr/bin\n[Fenster]\nTitel=\\xd800x\\xdc00\nBreite=800\n";
        const qint64 groesse = lage == GrosseDatei ? 12 << 20 : lage == UeberGross ? wk::ini::Obergrenze + 1 : 0;
        for (int i = 0; fremd.size() < groesse; ++i) fremd += "Schluessel" + QByteArray::number(i) + "=" + QByteArray(8000, 'w') + "\n";
        const QByteArray liste = "[Highscore1]\n1=5\nName1=Alt\n";
        const QByteArray alt = lage == UeberGross ? liste + fremd : fremd + liste;
        const QString sperre = pfad() + QStringLiteral(".sperre"), tot = QString::number(toterProzess());
        const QString datei = lage == Verknuepfung ? m_ordner->filePath(QStringLiteral("ziel.conf")) : pfad();
        QLockFile lebend(sperre);
        QVERIFY(lage != SperreLebend || lebend.tryLock(0));
        QVERIFY(lage != SperreTot || schreibeDatei(sperre, tot.toUtf8() + "\ntst_speicherfehler\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
        QVERIFY(lage != SperreOrdner || QDir().mkdir(sperre));
        QVERIFY(lage != Verknuepfung || QFile::link(datei, pfad()));
        if (lage == ResteToter) {  // the guard names its program first; the lock of a program killed at once is empty
            for (const QString& rest : QStringList{".neu-" + tot, ".neu-" + tot + "-3.pruefen", ".neu-" + QString::number(getppid()), ".neu-1", ".sperre.rmlock", ".sperre"}) {
                QVERIFY(schreibeDatei(pfad() + rest, rest == ".sperre" ? "" : tot.toUtf8() + "\nx\n"));
            }
        }
        QVERIFY(lage == KeineDatei || schreibeDatei(datei, alt));
        const int vorherModus = lage == DateiUnlesbar ? 0222 : lage == DateiSchreibgeschuetzt ? 0444 : lage == GrosseDatei ? 0600 : 0640;
        QVERIFY(lage == KeineDatei || ::chmod(QFile::encodeName(datei).constData(), mode_t(vorherModus)) == 0);
        QVERIFY(schreibeDatei(QStringLiteral("/proc/self/clear_refs"), "5"));  // the peak of resident memory starts again from here
        const qint64 vorher = kb("VmRSS:");
        if ((lage == DateiUnlesbar || lage == OrdnerSchreibgeschuetzt || lage == ResteToter) && !alsNiemand()) {
            QSKIP("root ignores file permissions and signals any program, and there is no user nobody to be");
        }
        QVERIFY(lage != OrdnerSchreibgeschuetzt || QFile::setPermissions(m_ordner->path(), QFile::Permissions(0x5555)));
        wk::QtEinstellungen speicher(pfad(), std::chrono::milliseconds(100), sichern);
        QCOMPARE(angezeigt(speicher), plaetze(lage == KeineDatei || lage == DateiUnlesbar ? QStringList{} : QStringList{"Alt:5"}));
        QVERIFY2(kb("VmHWM:") - vorher < 8 << 10, qPrintable(QString::number(kb("VmHWM:") - vorher) + " KB more at the peak"));
        QCOMPARE(QFile::exists(pfad()), lage != KeineDatei);
        if (lage != DateiUnlesbar && lage != UeberGross && !beschaedigt) QCOMPARE(warnungen, QStringList());
        QStringList neu;
        for (const QString& name : namen) neu << name + QStringLiteral(":100");
        rlimit grenze{};
        getrlimit(RLIMIT_FSIZE, &grenze);
        const rlimit voll{lage == PlatteVoll ? rlim_t(alt.size()) : lage == VormerkenUnmoeglich ? 0 : grenze.rlim_cur, grenze.rlim_max};
        setrlimit(RLIMIT_FSIZE, &voll);  // files cannot grow
        const QString vorherStand = QFileInfo(datei).lastModified().toString(Qt::ISODateWithMs) + QString::number(QFileInfo(datei).size());
        const QStringList gesagt = eintragen(speicher, neu);
        QCOMPARE(gesagt.size(), gemeldet.isEmpty() ? 0 : 1);
        if (!gemeldet.isEmpty()) {
            QVERIFY2(gesagt.front().contains(QRegularExpression(gemeldet)), qPrintable(gesagt.front()));
            QCOMPARE(QFileInfo(datei).lastModified().toString(Qt::ISODateWithMs) + QString::number(QFileInfo(datei).size()), vorherStand);
            const QStringList journal = QDir(m_ordner->path()).entryList({"Wurfkrone.conf.offen-*"}, QDir::Files | QDir::Hidden);
            QCOMPARE(journal.size(), gemeldet.contains(QStringLiteral("vorläufig")) ? 0 : 1);
            QVERIFY(journal.isEmpty() || gesichertWurde(m_ordner->filePath(journal.front())));
        }
        setrlimit(RLIMIT_FSIZE, &grenze);  // the cause goes: the game is entered
        rechteZurueck();
        lebend.unlock();
        QVERIFY(lage != DateiUnlesbar || ::chmod(QFile::encodeName(datei).constData(), 0600) == 0);
        QVERIFY(lage != DateiSchreibgeschuetzt || ::chmod(QFile::encodeName(datei).constData(), 0600) == 0);
        QVERIFY(QTest::qWaitFor([&] { return speicher.warten(std::chrono::milliseconds(0)); }, 20000));
        if (lage != KeineDatei) QCOMPARE(modus(datei), lage == DateiUnlesbar || lage == DateiSchreibgeschuetzt ? 0600 : vorherModus);
        QVERIFY(gesichertWurde(datei));
        QStringList nachher = neu;
        if (lage != KeineDatei) nachher << QStringLiteral("Alt:5");
        const QString log = warnungen.join('\n');
        QVERIFY2(warnung.isEmpty() ? log.isEmpty() : log.contains(QRegularExpression(warnung)), qPrintable(log));
        QCOMPARE(angezeigt(speicher), plaetze(nachher));
        QStringList liegen = QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (QString& name : liegen) {
            if (!name.startsWith(QStringLiteral("Wurfkrone.conf.zu-gross-"))) continue;
            QCOMPARE(inhalt(m_ordner->filePath(name)), alt);  // the file too large, as it was
            QVERIFY(inhalt(datei).size() < 4096);
            name = QStringLiteral("Wurfkrone.conf.zu-gross-*");
        }
        if (lage != UeberGross) QCOMPARE(inhalt(datei).left(fremd.size()), fremd);
        QCOMPARE(QFileInfo(pfad()).symLinkTarget(), lage == Verknuepfung ? datei : QString());
        QCOMPARE(liegen, QStringList{"Wurfkrone.conf"} + bleiben);
        const QSettings wieFrueher(pfad(), QSettings::IniFormat);  // a path new to QSettings: read from disk
        const auto wert = [&wieFrueher](const QString& schluessel) { return wieFrueher.value("Highscore1/" + schluessel, "0").toString(); };
        QStringList frueher;
        for (int platz = 1; platz <= wk::ListenLaenge; ++platz) frueher << wert(QStringLiteral("Name%1").arg(platz)) + ':' + wert(QString::number(platz));
        QCOMPARE(frueher, plaetze(nachher));
    }

    // A section given twice gets its new lines where it first stood; its
    // other heading goes with the last of its lines.
    void doppelterAbschnittBekommtSeineZeilenWoErZuerstStand() {
        const QByteArray fremd = "[Fenster]\nBreite=800\n";
        QVERIFY(schreibeDatei(pfad(), "[Highscore1]\n1=5\nName1=Alt\n\n" + fremd + "\n[Highscore1]\n2=3\nName2=Zwei\n"));
        wk::QtEinstellungen speicher(pfad());
        QCOMPARE(eintragen(speicher, {"Neu:100"}), QStringList());
        QByteArray liste = "[Highscore1]\n";
        const QStringList plaetze = ::plaetze({"Neu:100", "Alt:5", "Zwei:3"});
        for (int platz = 1; platz <= wk::ListenLaenge; ++platz) {
            liste += QByteArray::number(platz) + "=" + plaetze[platz - 1].section(':', 1).toUtf8() + "\nName" + QByteArray::number(platz) + "=" +
                     plaetze[platz - 1].section(':', 0, 0).toUtf8() + "\n";
        }
        QCOMPARE(inhalt(pfad()), liste + "\n" + fremd);
    }

    // A result waits in the journal of a program that ends before the lock is
    // free. The next start enters it and removes the journal; the save that
    // enters it names its id until the journal is gone. A kill between that
    // save and the journal's removal leaves both (here put back as it left
    // them): the next start enters nothing twice, and cleans up.
    void vorgemerktesWirdGenauEinmalEingetragen() {
        QLockFile lebend(pfad() + QStringLiteral(".sperre"));
        QVERIFY(lebend.tryLock(0));
        {
            wk::QtEinstellungen speicher(pfad(), std::chrono::milliseconds(10), sichern);
            QCOMPARE(eintragen(speicher, {"Anna:245", "Bert:17"}).size(), 1);
        }  // the program ends while the lock is held
        const QDir ordner(m_ordner->path());
        const QStringList journal = ordner.entryList({"Wurfkrone.conf.offen-*"}, QDir::Files | QDir::Hidden);
        QCOMPARE(journal.size(), 1);
        const QByteArray vorgemerkt = inhalt(ordner.filePath(journal.front()));
        const QByteArray id = vorgemerkt.left(vorgemerkt.indexOf(' '));
        lebend.unlock();
        for (int start = 0; start < 3; ++start) {
            {
                wk::QtEinstellungen naechsterStart(pfad(), wk::QtEinstellungen::StandardGeduld, sichern);
                naechsterStart.nachtragen();
                QVERIFY(naechsterStart.warten(std::chrono::seconds(20)));
                QCOMPARE(angezeigt(naechsterStart), plaetze({"Anna:245", "Bert:17"}));
            }
            QCOMPARE(ordner.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Wurfkrone.conf"});
            QVERIFY(std::any_of(gesicherteTexte.begin(), gesicherteTexte.end(), [&](const QByteArray& t) { return t.contains("erledigt=" + id); }));
            QVERIFY(schreibeDatei(ordner.filePath(journal.front()), vorgemerkt));
            QVERIFY(schreibeDatei(pfad(), inhalt(pfad()) + "\n[Nachtrag]\nerledigt=" + id + "\n"));
        }
    }

    // Entries outside the lists (the computer players' choice) go the same
    // way as results: they wait in the journal with them and land with them
    // at the next start, read back by QSettings too; one that names a list's
    // section is passed over.
    void andereEintraegeWartenUndLandenMitDenErgebnissen() {
        QLockFile lebend(pfad() + QStringLiteral(".sperre"));
        QVERIFY(lebend.tryLock(0));
        {
            wk::QtEinstellungen speicher(pfad(), std::chrono::milliseconds(10), sichern);
            wk::Auftrag wahl;
            wahl.setzen = {{"Computergegner/Anzahl", "2"}, {"Computergegner/Tempo", "sofort = 100%"}, {"Highscore1/1", "999"}};
            speicher.vormerken(wahl);
            QCOMPARE(eintragen(speicher, {"Anna:245"}).size(), 1);
        }
        lebend.unlock();
        wk::QtEinstellungen naechsterStart(pfad());
        naechsterStart.nachtragen();
        QVERIFY(naechsterStart.warten(std::chrono::seconds(20)));
        QCOMPARE(naechsterStart.lesen({"Computergegner/Anzahl", "Computergegner/Tempo"}, "-"),
                 (std::vector<std::string>{"2", "sofort = 100%"}));
        QCOMPARE(angezeigt(naechsterStart), plaetze({"Anna:245"}));
        QCOMPARE(QSettings(pfad(), QSettings::IniFormat).value(QStringLiteral("Computergegner/Tempo")).toString(), QStringLiteral("sofort = 100%"));
    }
};

QTEST_GUILESS_MAIN(TstSpeicherfehler)
#include "tst_speicherfehler.moc"
