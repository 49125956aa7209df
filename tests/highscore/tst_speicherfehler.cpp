// The highscore lists and the settings store they live in: ranking and
// clearing over a store in memory; the store over real files; and the lists
// over damaged, odd or unreachable files, where the start window still gets a
// list, a result is saved whenever that loses nothing, only whole numbers are
// saved as points, and a failed save leaves the old file as it was.

#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <optional>

#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

using namespace std::chrono_literals;

namespace {

const std::string Fehlt = "fehlt";
QStringList warnungen, erwartet;

QString q(const std::string& text) { return QString::fromStdString(text); }

// The test fails unless the log gets a line matching `muster`.
void warnungErwartet(const char* muster) { erwartet << QString::fromUtf8(muster); }

// Twenty places as "Name:Punkte": the given ones first, then `rest`.
QStringList plaetze(QStringList anfang, const QString& rest = QStringLiteral("0:0")) {
    while (anfang.size() < wk::ListenLaenge) anfang << rest;
    return anfang;
}

// The list of `laenge` Runden in a store in memory, "?" for a missing value.
QStringList gespeichert(const FakeEinstellungen& speicher, int laenge = 1) {
    const std::string abschnitt = "Highscore" + std::to_string(laenge);
    QStringList liste;
    for (int n = 1; n <= wk::ListenLaenge; ++n) liste << q(speicher.lesen(abschnitt, "Name" + std::to_string(n), "?") + ":" + speicher.lesen(abschnitt, std::to_string(n), "?"));
    return liste;
}

// The list of one-Runde games in `speicher` as the start window shows it.
QStringList angezeigt(wk::Einstellungen& speicher) {
    FakeMeldung meldung;
    const wk::HighscoreAnzeige anzeige = wk::Highscore(speicher, meldung).highscore_anzeigen(1, false);
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

// The file as another program reads it. Within one program QSettings shares
// what it has parsed of a file, so a copy under a new name is read instead.
QString kopieVonPlatte(const QString& pfad) {
    static int kopien = 0;
    const QString kopie = pfad + QStringLiteral(".kopie%1").arg(++kopien);
    QFile::copy(pfad, kopie);
    return kopie;
}
QString vonPlatte(const QString& pfad, const std::string& abschnitt, const std::string& schluessel) {
    return q(wk::QtEinstellungen(kopieVonPlatte(pfad)).lesen(abschnitt, schluessel, Fehlt));
}

enum Hindernis { DateiUnlesbar, OrdnerSchreibgeschuetzt, OrdnerStattDatei, DateiStattOrdner };

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
    void initTestCase() { qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { warnungen << text; }); }
    void init() {
        m_ordner.emplace();
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
        QCOMPARE(gespeichert(speicher), nachher);
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
        for (const int laenge : wk::Spiellaengen) QCOMPARE(gespeichert(speicher, laenge), plaetze({}, QStringLiteral("..:0")));
        QCOMPARE(highscore.BestenPunkte()[1], 245.0);  // the list in memory stays as it was
    }

    void beschaedigteDateiWirdVorDemErsetzenKopiert_data() {
        QTest::addColumn<int>("vorherGelesen");  // 0 not, 1 a value, 2 a list in a transaction
        QTest::newRow("written at once") << 0;
        QTest::newRow("a value read first") << 1;
        QTest::newRow("a list shown first") << 2;
    }
    void beschaedigteDateiWirdVorDemErsetzenKopiert() {
        QFETCH(int, vorherGelesen);
        const QByteArray beschaedigt("[Highscore1\n1=5\n");
        QVERIFY(schreibeDatei(pfad(), beschaedigt));
        warnungErwartet("ist beschädigt");
        warnungErwartet("Kopie.*defekt");
        wk::QtEinstellungen speicher(pfad());
        if (vorherGelesen == 1) speicher.lesen("Highscore1", "1", "0");
        if (vorherGelesen == 2) speicher.gesperrt([&] { speicher.lesen("Highscore1", "Name1", "0"); });
        speicher.schreiben("Highscore1", "1", "77");
        const QStringList kopien = QDir(m_ordner->path()).entryList({QStringLiteral("*.defekt-*")});
        QCOMPARE(kopien.size(), 1);
        QCOMPARE(inhalt(m_ordner->filePath(kopien.front())), beschaedigt);
        QCOMPARE(vonPlatte(pfad(), "Highscore1", "1"), QStringLiteral("77"));
    }

    void volleFestplatteLaesstAlteDateiUnveraendert() {
        wk::QtEinstellungen speicher(pfad());
        speicher.schreiben("Highscore1", "Name1", "Anna");
        const QByteArray vorher = inhalt(pfad());
        warnungErwartet("nicht gespeichert");
        rlimit vorherGrenze{};
        getrlimit(RLIMIT_FSIZE, &vorherGrenze);
        const rlimit grenze{1024, vorherGrenze.rlim_max};  // files grow to 1 KB only, and writing past that fails
        const auto vorherSignal = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &grenze);
        speicher.schreiben("Highscore1", "Name2", std::string(4096, 'x'));
        setrlimit(RLIMIT_FSIZE, &vorherGrenze);
        std::signal(SIGXFSZ, vorherSignal);
        QCOMPARE(inhalt(pfad()), vorher);
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::Files), QStringList{"Wurfkrone.conf"});
    }

    void fremdeSperreWirdNachDerWartezeitUebergangen() {
        wk::QtEinstellungen speicher(pfad(), 50ms);
        QLockFile fremd(speicher.sperrPfad());
        QVERIFY(fremd.tryLock(0));
        warnungErwartet("Sperre");
        speicher.schreiben("Highscore1", "Name1", "Anna");
        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), QStringLiteral("Anna"));
    }

    // The list shows what can be read; the new result is saved, and so is
    // whatever else could be read. (Which number a text of points reads as is
    // the fuzz corpus's business; here: unreadable, a leading number, a
    // fraction, and numbers too long for a double.)
    void lesbareDateiZeigtWasLesbarIstUndNimmtErgebnisAuf_data() {
        QTest::addColumn<QByteArray>("datei");  // null: no file
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("nachher");
        QTest::addColumn<QString>("breite");  // an entry of another section
        QTest::addColumn<QString>("neu");     // the name entered
        const auto fall = [](const char* name, const QByteArray& datei, const QStringList& vorher, const QStringList& nachher,
                             const QString& breite = q(Fehlt), const QString& neu = QStringLiteral("Neu")) {
            QTest::newRow(name) << datei << vorher << nachher << breite << neu;
        };
        const auto alt = [](const QByteArray& punkte) { return "[Highscore1]\n1=\"" + punkte + "\"\nName1=Alt\n"; };
        const auto name = [](const QByteArray& name) { return "[Highscore1]\n1=300\nName1=" + name + "\n"; };
        QByteArray zufall(8192, '\0');
        for (quint32 i = 0, z = 2024; i < 8192; ++i) zufall[i] = char((z = z * 1664525u + 1013904223u) >> 24);
        const QStringList nurNeu{"Neu:100"}, neuVorn{"Neu:100", "Alt:0"};
        const QByteArray megabyte(1 << 20, 'x');
        fall("no file", QByteArray(), {}, nurNeu);
        for (const auto& [wie, text] : {std::pair{"a comma", "A, B"}, {"quotes", "Sie sagte \"Hallo\""}, {"an equals sign and a semicolon", "x=y;z"},
                                        {"umlauts and an emoji", "Jürgen Öztürk-Weiß \U0001F3B2"}, {"the look of a variant", "@Variant(0)"},
                                        {"backslashes", "C:\\Spiele\\"}, {"a tab and a line break", "Tab\tund\nZeile"},
                                        {"the look of a section header", "[Highscore1]"}, {"the look of a comment", "; nur Text"}}) {
            fall(qPrintable(QStringLiteral("a name with %1 comes back as written").arg(wie)), QByteArray(), {}, {text + QStringLiteral(":100")}, q(Fehlt), text);
        }
        fall("empty file", "", {}, nurNeu);
        fall("binary garbage", zufall, {}, nurNeu);
        fall("section header without bracket", "[Highscore1\n1=5\n[Fenster]\nBreite=800\n", {"0:5"}, {"Neu:100", "0:5"}, "800");
        fall("open quote", "[Fenster]\nBreite=800\n[Highscore1]\nName1=\"Anna\n2=3\n", {"Anna\n2=3\n:0"}, {"Neu:100", "Anna\n2=3:0"}, "800");
        fall("foreign list with a null character", "[Fenster]\nTitel=a, b\\0c\nBreite=800\n", {}, nurNeu, "800");
        fall("foreign number that is none", "[Fenster]\nZoom=@Variant(\\0\\0\\0\\x6\\x7f\\xf8\\0\\0\\0\\0\\0\\0)\nBreite=800\n", {}, nurNeu, "800");
        fall("name of 1 MB", name(megabyte), {megabyte + ":300"}, {megabyte + ":300", "Neu:100"});
        fall("name with a line break", name("Anna\\nBernd"), {"Anna\nBernd:300"}, {"Anna\nBernd:300", "Neu:100"});
        fall("hand-typed list as a name", name("A, B"), {"A, B:300"}, {"A, B:300", "Neu:100"});
        fall("hand-typed byte array as a name", name("@ByteArray(Xaver)"), {"Xaver:300"}, {"Xaver:300", "Neu:100"});
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
        QFETCH(QString, neu);
        QVERIFY(datei.isNull() || schreibeDatei(pfad(), datei));
        wk::QtEinstellungen speicher(pfad());
        QCOMPARE(angezeigt(speicher), plaetze(vorher));
        QCOMPARE(QFile::exists(pfad()), !datei.isNull());  // reading creates no file
        eintragen(speicher, {neu}, {100});
        QVERIFY(!QFile::exists(speicher.sperrPfad()));  // no lock left behind
        wk::QtEinstellungen gelesen(kopieVonPlatte(pfad()));
        QCOMPARE(angezeigt(gelesen), plaetze(nachher));
        QCOMPARE(vonPlatte(pfad(), "Fenster", "Breite"), breite);
        static const QRegularExpression keineGanzeZahl(QStringLiteral("^\\d+=(?!-?\\d+$).*$"), QRegularExpression::MultilineOption);
        QCOMPARE(keineGanzeZahl.match(QString::fromUtf8(inhalt(pfad()))).captured(), QString());
    }

    // The list shows what can be read, the file stays byte for byte as it
    // was, nothing is left beside it, and the log says that nothing was saved.
    void unerreichbareDateiBleibtUnberuehrt_data() {
        QTest::addColumn<int>("hindernis");
        QTest::addColumn<QStringList>("vorher");
        QTest::newRow("file unreadable") << int{DateiUnlesbar} << QStringList{};
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
        const QStringList dateienVorher = QDir(ordner).entryList(QDir::AllEntries | QDir::Hidden);
        if (geteuid() == 0) {  // file permissions do not stop root; as the user "nobody" they do
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
        QCOMPARE(QDir(ordner).entryList(QDir::AllEntries | QDir::Hidden), dateienVorher);
        QCOMPARE(inhalt(datei), alt);
    }
};

QTEST_GUILESS_MAIN(TstSpeicherfehler)
#include "tst_speicherfehler.moc"
