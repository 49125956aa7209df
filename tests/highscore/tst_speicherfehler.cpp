// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The highscore lists and the settings store they live in: ranking and
// clearing over a store in memory; the store over real files: files the
// released program wrote, hostile names, damaged, huge, linked or unreachable
// files, a full disk, the lock in every state and what crashed programs left.

#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fstream>
#include <map>
#include <optional>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

using namespace std::chrono_literals;

namespace {

const std::string Fehlt = "fehlt";
QStringList warnungen, erwartet;

// As text, a leading byte-order mark included (QString::fromStdString drops it).
QString q(const std::string& text) { return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)(text); }

// The test fails unless the log gets a line matching `muster`.
void warnungErwartet(const char* muster) { erwartet << QString::fromUtf8(muster); }

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

// Enters a finished game of one Runde with these players and totals.
void eintragen(wk::Einstellungen& speicher, const QStringList& namen, const QList<double>& punkte) {
    wk::Spielstand stand;
    stand.spielerAnlegen(int(namen.size()));
    for (int p = 1; p <= namen.size(); ++p) {
        stand.Namen[p] = namen[p - 1].toStdString();
        stand.Gesamtpunkte[p] = punkte[p - 1];
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
QString vonPlatte(const QString& pfad, const std::string& abschnitt, const std::string& schluessel) {
    return q(wk::QtEinstellungen(pfad).lesen(abschnitt, {schluessel}, Fehlt).front());
}

// The process id of a program that has ended.
qint64 toterProzess() {
    const pid_t kind = fork();
    if (kind == 0) _exit(0);
    waitpid(kind, nullptr, 0);
    return kind;
}

enum Hindernis { DateiUnlesbar, OrdnerSchreibgeschuetzt, OrdnerStattDatei, DateiStattOrdner, DateiSchreibgeschuetzt };
enum Sperre { Lebend, Tot, Leer, Ordner };

} // namespace

class TstSpeicherfehler : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_ordner;
    QString pfad() const { return m_ordner->filePath(QStringLiteral("Wurfkrone.conf")); }
    QStringList dateien() const { return QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
    void rechteZurueck() {  // the own user again, and the folder writable
        QCOMPARE(seteuid(getuid()), 0);
        QVERIFY(QFile::setPermissions(m_ordner->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

private slots:
    void initTestCase() { qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { warnungen << text; }); }
    void init() {
        // In memory where there is one: saves flush to disk, which a disk makes slow.
        m_ordner.emplace(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/wurfkrone-XXXXXX") : QDir::tempPath() + QStringLiteral("/wurfkrone-XXXXXX"));
        warnungen.clear();
        erwartet.clear();
    }
    void cleanup() {
        rechteZurueck();
        const QString log = warnungen.join('\n');
        for (const QString& muster : std::as_const(erwartet)) QVERIFY2(log.contains(QRegularExpression(muster)), qPrintable(muster + " not in:\n" + log));
    }

    void auswertungReihtJedenSpielerEin_data() {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QList<double>>("punkte");
        QTest::addColumn<QStringList>("nachher");
        const auto fall = [](const char* name, const QStringList& vorher, const QStringList& namen, const QList<double>& punkte,
                             const QStringList& nachher) { QTest::newRow(name) << vorher << namen << punkte << nachher; };
        QStringList voll;  // places 1..18 hold 500 points, place 19 holds 120 and place 20 holds 100
        for (int platz = 1; platz <= 18; ++platz) voll << QStringLiteral("P%1:500").arg(platz);
        voll << QStringLiteral("Vorletzter:120") << QStringLiteral("Letzter:100");
        QStringList geschlagen = voll, vorletzter = voll;
        geschlagen.last() = QStringLiteral("Neu:101");
        vorletzter.insert(18, QStringLiteral("Neu:130"));
        vorletzter.removeLast();
        fall("fresh store: first place, the rest 0", {}, {"Anna"}, {245}, plaetze({"Anna:245"}));
        fall("equal totals: player 1 above player 2", {}, {"Anna", "Bernd"}, {150, 150}, plaetze({"Anna:150", "Bernd:150"}));
        fall("equal to a stored result: below it", plaetze({"Alt:245"}), {"Neu"}, {245}, plaetze({"Alt:245", "Neu:245"}));
        fall("equal to place 20: stays out", voll, {"Neu"}, {100}, voll);
        fall("beats place 20 by one: old 20th drops out", voll, {"Neu"}, {101}, geschlagen);
        fall("new 19th: old 19th becomes 20th", voll, {"Neu"}, {130}, vorletzter);
        fall("after clearing: 1 point is first", plaetze({}, "..:0"), {"Eva"}, {1}, plaetze({"Eva:1"}, "..:0"));
        fall("0 points never enter a list of zeros", {}, {"Null"}, {0}, plaetze({}));
        fall("no number never enters", {}, {"X"}, {qQNaN()}, plaetze({}));
        fall("infinity never enters", {}, {"X"}, {qInf()}, plaetze({}));
        fall("names stored without blanks at the ends", plaetze({" Alt :300"}), {"\t Anna Maria  "}, {245}, plaetze({"Alt:300", "Anna Maria:245"}));
        fall("an empty name stays empty", {}, {""}, {245}, plaetze({":245"}));
        fall("stored points read from the start of the text", plaetze({"Alt:250 Punkte", "Zwei:.."}), {"Neu"}, {245},
             plaetze({"Alt:250", "Neu:245", "Zwei:0"}));
        fall("players ranked in player order", {}, {"A", "B", "C"}, {10, 30, 20}, plaetze({"B:30", "C:20", "A:10"}));
        fall("points stored as a whole number", {}, {"Anna"}, {245.4}, plaetze({"Anna:245"}));
    }
    void auswertungReihtJedenSpielerEin() {
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, namen);
        QFETCH(QList<double>, punkte);
        QFETCH(QStringList, nachher);
        FakeEinstellungen speicher;
        for (int platz = 1; platz <= vorher.size(); ++platz) {
            speicher.werte["Highscore1/" + std::to_string(platz)] = vorher[platz - 1].section(':', 1).toStdString();
            speicher.werte["Highscore1/Name" + std::to_string(platz)] = vorher[platz - 1].section(':', 0, 0).toStdString();
        }
        eintragen(speicher, namen, punkte);
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
        const QString ordner = QStringLiteral(FREIGEGEBEN "/");
        std::map<std::string, std::pair<std::vector<std::string>, QList<QByteArray>>> abschnitte;  // keys, values
        for (const QByteArray& zeile : inhalt(ordner + name + QStringLiteral(".erwartet")).split('\n')) {
            const qsizetype strich = zeile.indexOf('/'), tab = zeile.indexOf('\t');
            if (zeile.isEmpty()) continue;
            auto& [schluessel, werte] = abschnitte[zeile.left(strich).toStdString()];
            schluessel.push_back(zeile.mid(strich + 1, tab - strich - 1).toStdString());
            werte << (zeile.mid(tab + 1) == "-" ? QByteArray("-") : QByteArray::fromHex(zeile.mid(tab + 1)));
        }
        QVERIFY(abschnitte.size() >= 4);
        wk::QtEinstellungen speicher(ordner + name + QStringLiteral(".conf"));
        for (const auto& [abschnitt, erwartet] : abschnitte) {
            QList<QByteArray> gelesen;
            for (const std::string& wert : speicher.lesen(abschnitt, erwartet.first, "-")) gelesen << QByteArray::fromStdString(wert);
            QCOMPARE(gelesen, erwartet.second);
        }
    }

    // The list shows what can be read; the new results are saved, and every
    // other line stays. QSettings, as earlier versions read, sees the saved
    // names alike. (Which number a text of points reads as is the fuzz
    // corpus's business; here: unreadable, a leading number, a fraction, and
    // numbers too long for a double.)
    void lesbareDateiZeigtWasLesbarIstUndNimmtErgebnisAuf_data() {
        QTest::addColumn<QByteArray>("datei");  // null: no file
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("nachher");
        QTest::addColumn<QString>("breite");  // an entry of another section
        QTest::addColumn<QStringList>("neu");  // the names entered, with 100, 90, 80... points
        const auto fall = [](const char* name, const QByteArray& datei, const QStringList& vorher, const QStringList& nachher,
                             const QString& breite = q(Fehlt), const QStringList& neu = {"Neu"}) {
            QTest::newRow(name) << datei << vorher << nachher << breite << neu;
        };
        const auto alt = [](const QByteArray& punkte) { return "[Highscore1]\n1=\"" + punkte + "\"\nName1=Alt\n"; };
        const auto name = [](const QByteArray& name) { return "[Highscore1]\n1=300\nName1=" + name + "\n"; };
        QByteArray zufall(8192, '\0');
        for (quint32 i = 0, z = 2024; i < 8192; ++i) zufall[i] = char((z = z * 1664525u + 1013904223u) >> 24);
        const QStringList nurNeu{"Neu:100"}, neuVorn{"Neu:100", "Alt:0"};
        const QByteArray megabyte(1 << 20, 'x');
        const QString bom(QChar(0xFEFF));
        fall("no file", QByteArray(), {}, nurNeu);
        for (const QString& text : QStringList{"A, B", "Sie sagte \"Hallo\"", "x=y;z", "Jürgen Öztürk-Weiß \U0001F3B2", "@Variant(0)", "@@", "C:\\Spiele\\",
                                    "Tab\tund\nZeile\rEnde", "[Highscore1]", "; nur Text", "<b>fett</b>", "<img src=\"/dev/zero\">" + QString(300, 'x'),
                                    "&amp;", bom + bom + "Anna", "a" + bom + "1", QString::fromUtf8("Null\0\x31", 6), "\x7f\x01\\x41"}) {
            fall(qPrintable("the name " + text.left(40).toUtf8().toPercentEncoding(" ") + " comes back as written"), QByteArray(), {}, {text + ":100"}, q(Fehlt), {text});
        }
        fall("three players with byte-order marks lose nothing", QByteArray(), {}, {bom + "A:100", bom + bom + "B:90", "C" + bom + ":80"}, q(Fehlt),
             {bom + "A", bom + bom + "B", "C" + bom});
        fall("a name of 1 MB typed", QByteArray(), {}, {QString(megabyte) + ":100"}, q(Fehlt), {QString(megabyte)});
        fall("lone surrogates in another section", "[Fenster]\nTitel=\\xd800x\\xdc00\nBreite=800\n", {}, nurNeu, "800");
        fall("empty file", "", {}, nurNeu);
        fall("binary garbage", zufall, {}, nurNeu);
        fall("section header without bracket", "[Highscore1\n1=5\n[Fenster]\nBreite=800\n", {"0:5"}, {"Neu:100", "0:5"}, "800");
        fall("open quote", "[Fenster]\nBreite=800\n[Highscore1]\nName1=\"Anna\n2=3\n", {"Anna\n2=3\n:0"}, {"Neu:100", "Anna\n2=3:0"}, "800");
        fall("foreign list with a null character", "[Fenster]\nTitel=a, b\\0c\nBreite=800\n", {}, nurNeu, "800");
        fall("foreign number that is none", "[Fenster]\nZoom=@Variant(\\0\\0\\0\\x6\\x7f\\xf8\\0\\0\\0\\0\\0\\0)\nBreite=800\n", {}, nurNeu, "800");
        fall("name with a line break", name("Anna\\nBernd"), {"Anna\nBernd:300"}, {"Anna\nBernd:300", "Neu:100"});
        fall("hand-typed list as a name", name("A, B"), {"A, B:300"}, {"A, B:300", "Neu:100"});
        fall("hand-typed byte array as a name", name("@ByteArray(Xaver)"), {"Xaver:300"}, {"Xaver:300", "Neu:100"});
        fall("a byte array that is no UTF-8 as a name", name("@ByteArray(M\\xfcller)"), {"M\uFFFDller:300"}, {"M\uFFFDller:300", "Neu:100"});
        fall("a point as a name reads as missing", name("@Point(1 2)"), {"0:300"}, {"0:300", "Neu:100"});
        fall("blanks around keys and values", "[Highscore1]\n1 =  300  \nName1= Alt \n", {"Alt:300"}, {"Alt:300", "Neu:100"});
        fall("name key split by a line break", "[Highscore1]\n1=300\nNa\nme1=Anna\n2=50\nName2=Bernd\n", {"0:300", "Bernd:50"},
             {"0:300", "Neu:100", "Bernd:50"});
        fall("points of 1 MB of digits read as 0", alt(QByteArray(1 << 20, '9')), {"Alt:0"}, neuVorn);
        fall("points \"..\"", alt(".."), {"Alt:0"}, neuVorn);
        fall("points \" 12abc\"", alt(" 12abc"), {"Alt:12"}, {"Neu:100", "Alt:12"});
        fall("points \"NaN\"", alt("NaN"), {"Alt:0"}, neuVorn);
        fall("points \"245.7\" as a whole number", alt("245.7"), {"Alt:246"}, {"Alt:246", "Neu:100"});
        fall("points \"99999999999999999999\"", alt("99999999999999999999"), {"Alt:100000000000000000000"},
             {"Alt:100000000000000000000", "Neu:100"});
    }
    void lesbareDateiZeigtWasLesbarIstUndNimmtErgebnisAuf() {
        QFETCH(QByteArray, datei);
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, nachher);
        QFETCH(QString, breite);
        QFETCH(QStringList, neu);
        QVERIFY(datei.isNull() || schreibeDatei(pfad(), datei));
        wk::QtEinstellungen speicher(pfad());
        QCOMPARE(angezeigt(speicher), plaetze(vorher));
        QCOMPARE(QFile::exists(pfad()), !datei.isNull());  // reading creates no file
        QList<double> punkte;
        for (int i = 0; i < neu.size(); ++i) punkte << 100 - 10 * i;
        eintragen(speicher, neu, punkte);
        QCOMPARE(dateien(), QStringList{"Wurfkrone.conf"});  // no draft or lock left behind
        wk::QtEinstellungen gelesen(pfad());
        QCOMPARE(angezeigt(gelesen), plaetze(nachher));
        QCOMPARE(vonPlatte(pfad(), "Fenster", "Breite"), breite);
        static const QRegularExpression keineGanzeZahl(QStringLiteral("^\\d+=(?!-?\\d+$).*$"), QRegularExpression::MultilineOption);
        QCOMPARE(keineGanzeZahl.match(QString::fromUtf8(inhalt(pfad()))).captured(), QString());
        const QString kopie = pfad() + QStringLiteral(".kopie");
        QVERIFY(QFile::copy(pfad(), kopie));  // a new name, so that QSettings reads it from disk
        const QSettings wieFrueher(kopie, QSettings::IniFormat);
        std::vector<std::string> namen;
        for (int platz = 1; platz <= wk::ListenLaenge; ++platz) namen.push_back("Name" + std::to_string(platz));
        const std::vector<std::string> werte = gelesen.lesen("Highscore1", namen, Fehlt);
        for (std::size_t i = 0; i < namen.size(); ++i) {
            const QVariant frueher = wieFrueher.value(q("Highscore1/" + namen[i]));
            QCOMPARE(frueher.typeId() == QMetaType::QByteArray ? frueher.toByteArray() : frueher.toString().toUtf8(),
                     QByteArray::fromStdString(werte[i]));
        }
    }

    // A damaged file keeps every line it had but those of the list saved, and
    // nothing is copied: neither when the disk is full (three saves fail and
    // leave the file as it was) nor when the save succeeds.
    void beschaedigteDateiBehaeltJedeZeileAuchBeiVollerFestplatte() {
        const QByteArray kaputt("kaputt\n[Fenster\nBreite=800\n[Highscore1]\n1=5\nName1=Alt\n");
        QVERIFY(schreibeDatei(pfad(), kaputt));
        warnungErwartet("beschädigt");
        warnungErwartet("nicht gespeichert");
        wk::QtEinstellungen speicher(pfad());
        rlimit vorherGrenze{};
        getrlimit(RLIMIT_FSIZE, &vorherGrenze);
        const rlimit grenze{1024, vorherGrenze.rlim_max};  // files grow to 1 KB only, and writing past that fails
        const auto vorherSignal = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &grenze);
        for (const char* name : {"Anna", "Bernd", "Eva"}) eintragen(speicher, {name + QString(2000, 'x')}, {10});
        setrlimit(RLIMIT_FSIZE, &vorherGrenze);
        std::signal(SIGXFSZ, vorherSignal);
        QCOMPARE(inhalt(pfad()), kaputt);
        QCOMPARE(dateien(), QStringList{"Wurfkrone.conf"});
        eintragen(speicher, {"Neu"}, {10});
        QCOMPARE(angezeigt(speicher), plaetze({"Neu:10", "Alt:5"}));
        QVERIFY(inhalt(pfad()).startsWith("kaputt\n[Fenster\nBreite=800\n"));
        QCOMPARE(dateien(), QStringList{"Wurfkrone.conf"});
    }

    // Reading never waits for the lock. A save waits for a living holder (here
    // an earlier version's QLockFile) and is then dropped; takes over a lock
    // left by a program that died at once, empty or not; and goes on without
    // a lock that cannot be made.
    void sperreInJedemZustand_data() {
        QTest::addColumn<int>("sperre");
        QTest::addColumn<bool>("gespeichert");
        QTest::addColumn<QString>("warnung");
        QTest::newRow("held by a living program") << int{Lebend} << false << "gehalten(.|\n)*nicht gespeichert";
        QTest::newRow("left by a dead program") << int{Tot} << true << "";
        QTest::newRow("left empty by a killed program") << int{Leer} << true << "";
        QTest::newRow("a directory in its place") << int{Ordner} << true << "kann nicht angelegt werden";
    }
    void sperreInJedemZustand() {
        QFETCH(int, sperre);
        QFETCH(bool, gespeichert);
        QFETCH(QString, warnung);
        wk::QtEinstellungen speicher(pfad(), 300ms);
        eintragen(speicher, {"Alt"}, {5});
        QLockFile lebend(speicher.sperrPfad());
        QVERIFY(sperre != Lebend || lebend.tryLock(0));
        if (sperre == Tot) {
            QVERIFY(schreibeDatei(speicher.sperrPfad(), QByteArray::number(toterProzess()) + "\ntst_speicherfehler\n" +
                                                           QSysInfo::machineHostName().toUtf8() + "\n"));
        }
        QVERIFY(sperre != Leer || schreibeDatei(speicher.sperrPfad(), ""));
        QVERIFY(sperre != Ordner || QDir().mkdir(speicher.sperrPfad()));
        QFile(speicher.sperrPfad()).setFileTime(QDateTime::currentDateTime().addSecs(-1), QFileDevice::FileModificationTime);
        warnungen.clear();
        QCOMPARE(angezeigt(speicher), plaetze({"Alt:5"}));
        QCOMPARE(warnungen, QStringList());
        eintragen(speicher, {"Neu"}, {10});
        QCOMPARE(angezeigt(speicher), plaetze(gespeichert ? QStringList{"Neu:10", "Alt:5"} : QStringList{"Alt:5"}));
        QVERIFY2(warnung.isEmpty() ? warnungen.isEmpty() : warnungen.join('\n').contains(QRegularExpression(warnung)),
                 qPrintable(warnungen.join('\n')));
        QCOMPARE(QFileInfo::exists(speicher.sperrPfad()), sperre == Lebend || sperre == Ordner);
    }

    // Drafts and check files of programs that no longer run, and the guard an
    // earlier version left, go with the next save; a running program's draft stays.
    void resteBeendeterProgrammeGehenBeimNaechstenSpeichern() {
        const QString tot = QString::number(toterProzess()), lebend = QString::number(getppid());
        for (const QString& rest : QStringList{".neu-" + tot, ".neu-" + tot + "-3", ".neu-" + tot + "-3.pruefen", ".neu-" + tot + "-4.lock",
                                    ".neu-" + lebend, ".sperre.rmlock"}) {
            QVERIFY(schreibeDatei(pfad() + rest, rest == ".sperre.rmlock" ? tot.toUtf8() + "\nx\n" : QByteArray("[Highscore1]\n1=1\n")));
        }
        QVERIFY(schreibeDatei(pfad() + ".sperre", ""));  // killed between making the lock and writing into it
        QFile(pfad() + ".sperre").setFileTime(QDateTime::currentDateTime().addSecs(-1), QFileDevice::FileModificationTime);
        wk::QtEinstellungen speicher(pfad(), 300ms);
        eintragen(speicher, {"Neu"}, {10});
        QCOMPARE(dateien(), (QStringList{"Wurfkrone.conf", "Wurfkrone.conf.neu-" + lebend}));
        QCOMPARE(angezeigt(speicher), plaetze({"Neu:10"}));
    }

    // A store of 12 MB (other sections) shows its list without holding the
    // file in memory, and keeps those sections byte for byte.
    void grosseDateiWirdStueckweiseGelesen() {
        QByteArray fremd = "[Fremd]\n";
        for (int i = 0; fremd.size() < 12 << 20; ++i) fremd += "Schluessel" + QByteArray::number(i) + "=" + QByteArray(80, 'w') + "\n";
        QVERIFY(schreibeDatei(pfad(), fremd + "[Highscore1]\n1=7\nName1=Alt\n"));
        const auto kb = [](const char* zeile) {  // from /proc/self/status
            const QByteArray status = inhalt(QStringLiteral("/proc/self/status"));
            return status.mid(status.indexOf(zeile) + 6).trimmed().split(' ').front().toLongLong();
        };
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak of resident memory starts again from here
        const qint64 vorher = kb("VmRSS:");
        wk::QtEinstellungen speicher(pfad());
        QCOMPARE(angezeigt(speicher), plaetze({"Alt:7"}));
        QVERIFY2(kb("VmHWM:") - vorher < 8 << 10, qPrintable(QString::number(kb("VmHWM:") - vorher) + " KB more at the peak"));
        eintragen(speicher, {"Neu"}, {10});
        QCOMPARE(angezeigt(speicher), plaetze({"Neu:10", "Alt:7"}));
        QVERIFY(inhalt(pfad()).contains(fremd));
    }

    // A link is written through and stays a link; the file it leads to keeps
    // its other lines, whether it is a store or not.
    void verknuepfungWirdDurchgeschrieben_data() {
        QTest::addColumn<QByteArray>("ziel");
        QTest::newRow("to a store kept elsewhere") << QByteArray("[Fenster]\nBreite=800\n[Highscore1]\n1=5\nName1=Alt\n");
        QTest::newRow("to a file that is no store") << QByteArray("Kein Speicher, nur Text\nPATH=/usr/bin\n");
    }
    void verknuepfungWirdDurchgeschrieben() {
        QFETCH(QByteArray, ziel);
        const QString woanders = m_ordner->filePath(QStringLiteral("punktgedateien/wurfkrone.conf"));
        QVERIFY(QDir().mkpath(QFileInfo(woanders).path()) && schreibeDatei(woanders, ziel));
        QVERIFY(QFile::link(woanders, pfad()));
        wk::QtEinstellungen speicher(pfad());
        eintragen(speicher, {"Neu"}, {10});
        QCOMPARE(QFileInfo(pfad()).symLinkTarget(), woanders);
        QCOMPARE(angezeigt(speicher), plaetze(ziel.contains("Alt") ? QStringList{"Neu:10", "Alt:5"} : QStringList{"Neu:10"}));
        QVERIFY(inhalt(woanders).contains(ziel.left(ziel.indexOf("[Highscore1]"))));
        QCOMPARE(QDir(QFileInfo(woanders).path()).entryList(QDir::Files), QStringList{"wurfkrone.conf"});
    }

    // The list shows what can be read, the file stays byte for byte as it
    // was, nothing is left beside it, and the log says that nothing was saved.
    void unerreichbareDateiBleibtUnberuehrt_data() {
        QTest::addColumn<int>("hindernis");
        QTest::addColumn<QStringList>("vorher");
        QTest::newRow("file unreadable") << int{DateiUnlesbar} << QStringList{};
        QTest::newRow("file read-only") << int{DateiSchreibgeschuetzt} << QStringList{"Alt:300"};
        QTest::newRow("folder read-only") << int{OrdnerSchreibgeschuetzt} << QStringList{"Alt:300"};
        QTest::newRow("a folder in place of the file") << int{OrdnerStattDatei} << QStringList{};
        QTest::newRow("a file in place of the folder") << int{DateiStattOrdner} << QStringList{};
    }
    void unerreichbareDateiBleibtUnberuehrt() {
        QFETCH(int, hindernis);
        QFETCH(QStringList, vorher);
        const QByteArray alt("[Highscore1]\n1=300\nName1=Alt\n");
        warnungErwartet("nicht gespeichert");
        const QString datei = hindernis == OrdnerStattDatei ? pfad() + QStringLiteral("/darin") : pfad();
        const QString speicherPfad = hindernis == DateiStattOrdner ? pfad() + QStringLiteral("/Wurfkrone.conf") : pfad();
        QVERIFY(QDir().mkpath(QFileInfo(datei).path()) && schreibeDatei(datei, alt));
        const QString ordner = m_ordner->path();
        QFile::Permissions rechte(0x5555);  // r-x for all, rwx unless read-only
        if (hindernis != OrdnerSchreibgeschuetzt) rechte |= QFile::Permissions(0x2222);
        QVERIFY(QFile::setPermissions(ordner, rechte));
        QVERIFY(hindernis != DateiUnlesbar || QFile::setPermissions(pfad(), {}));
        QVERIFY(hindernis != DateiSchreibgeschuetzt || QFile::setPermissions(pfad(), QFile::Permissions(0x4444)));
        const QStringList dateienVorher = dateien();
        if (geteuid() == 0 && hindernis != DateiSchreibgeschuetzt) {  // file permissions do not stop root; as the user "nobody" they do
            const passwd* niemand = getpwnam("nobody");
            if (!niemand || seteuid(niemand->pw_uid) != 0) QSKIP("root ignores file permissions, and there is no user nobody");
        }
        {
            wk::QtEinstellungen speicher(speicherPfad, 100ms);
            QCOMPARE(angezeigt(speicher), plaetze(vorher));
            eintragen(speicher, {"Neu"}, {100});
        }
        rechteZurueck();
        QVERIFY(QFile::setPermissions(datei, QFile::ReadOwner));
        QCOMPARE(dateien(), dateienVorher);
        QCOMPARE(inhalt(datei), alt);
    }
};

QTEST_GUILESS_MAIN(TstSpeicherfehler)
#include "tst_speicherfehler.moc"
