// The settings store over real files, and the highscore lists over damaged,
// odd or unreachable ones: the start window still gets a list, a result is
// saved whenever that loses nothing, only whole numbers are saved as points,
// and a failed save leaves the old file as it was.

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

#include "fakes/fakemeldung.h"
#include "platform/qteinstellungen.h"
#include "speicherhilfen.h"

using namespace std::chrono_literals;

namespace {

const std::string Fehlt = "fehlt";
QStringList warnungen, erwartet;

// The test fails unless the log gets a line matching `muster`.
void warnungErwartet(const char* muster) { erwartet << QString::fromUtf8(muster); }

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
QStringList listeVonPlatte(const QString& pfad) {
    wk::QtEinstellungen speicher(kopieVonPlatte(pfad));
    FakeMeldung meldung;
    wk::Highscore highscore(speicher, meldung);
    return angezeigt(highscore);
}

enum Hindernis { DateiUnlesbar, OrdnerSchreibgeschuetzt, OrdnerStattDatei, DateiStattOrdner };

} // namespace

class TstSpeicherfehler : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_ordner;
    QString pfad() const { return m_ordner->filePath(QStringLiteral("Wurfkrone.conf")); }
    void rechteZurueck() {  // the own user again, and the folder writable
        QVERIFY(seteuid(getuid()) == 0);
        QVERIFY(QFile::setPermissions(m_ordner->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { warnungen << text; });
    }
    void init() {
        m_ordner.emplace();
        warnungen.clear();
        erwartet.clear();
    }
    void cleanup() {
        rechteZurueck();
        for (const QString& muster : std::as_const(erwartet)) {
            QVERIFY2(warnungen.join('\n').contains(QRegularExpression(muster)), qPrintable(muster + " not in:\n" + warnungen.join('\n')));
        }
    }

    void textKommtUnveraendertZurueck_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("comma") << "A, B";
        QTest::newRow("quotes") << "Sie sagte \"Hallo\"";
        QTest::newRow("equals sign and semicolon") << "x=y;z";
        QTest::newRow("umlauts and emoji") << "Jürgen Öztürk-Weiß \U0001F3B2";
        QTest::newRow("blanks at the ends") << "  Anna  ";
        QTest::newRow("empty") << "";
        QTest::newRow("like a variant") << "@Variant(0)";
        QTest::newRow("backslashes") << "C:\\Spiele\\";
        QTest::newRow("tab and line break") << "Tab\tund\nZeile";
        QTest::newRow("like a section header") << "[Highscore1]";
        QTest::newRow("like a comment") << "; nur Text";
    }
    void textKommtUnveraendertZurueck() {
        QFETCH(QString, text);
        wk::QtEinstellungen(pfad()).schreiben("Highscore1", "Name1", text.toStdString());
        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), text);
        QCOMPARE(q(wk::QtEinstellungen(pfad()).lesen("Highscore1", "Name1", Fehlt)), text);
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
        rlimit grenze{};
        getrlimit(RLIMIT_FSIZE, &grenze);
        const rlimit vorherGrenze = grenze;
        grenze.rlim_cur = 1024;  // files grow to 1 KB only, and writing past that fails
        const auto vorherSignal = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &grenze);
        speicher.schreiben("Highscore1", "Name2", std::string(4096, 'x'));
        setrlimit(RLIMIT_FSIZE, &vorherGrenze);
        std::signal(SIGXFSZ, vorherSignal);

        QCOMPARE(inhalt(pfad()), vorher);
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::Files), QStringList{"Wurfkrone.conf"});
    }

    void transaktionSiehtEigeneSchreibvorgaengeUndDarfGeschachteltSein() {
        wk::QtEinstellungen speicher(pfad(), 100ms);
        std::string gelesen;

        speicher.gesperrt([&] {
            speicher.schreiben("Highscore1", "1", "245");
            gelesen = speicher.lesen("Highscore1", "1", Fehlt);
            speicher.gesperrt([&] { speicher.schreiben("Highscore1", "Name1", "Anna"); });
        });

        QCOMPARE(q(gelesen), QStringLiteral("245"));
        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), QStringLiteral("Anna"));
        QVERIFY(!QFile::exists(speicher.sperrPfad()));
        QCOMPARE(warnungen, QStringList());
    }

    void fremdeSperreWirdNachDerWartezeitUebergangen() {
        wk::QtEinstellungen speicher(pfad(), 50ms);
        QLockFile fremd(speicher.sperrPfad());
        QVERIFY(fremd.tryLock(0));
        warnungErwartet("Sperre");

        speicher.schreiben("Highscore1", "Name1", "Anna");

        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), QStringLiteral("Anna"));
    }

    void standardPfadLiegtImKonfigurationsordner() {
        const QByteArray vorher = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_ordner->path().toUtf8());
        const QString standard = wk::QtEinstellungen::standardPfad();
        vorher.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", vorher);
        QCOMPARE(standard, m_ordner->path() + QStringLiteral("/Wurfkrone/Wurfkrone.conf"));
    }

    // The list shows what can be read; the new result is saved, and so is
    // whatever else could be read.
    void lesbareDateiZeigtWasLesbarIstUndNimmtErgebnisAuf_data() {
        QTest::addColumn<QByteArray>("datei");  // null: no file
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("nachher");
        QTest::addColumn<QString>("breite");  // an entry of another section
        const auto fall = [](const char* name, const QByteArray& datei, const QStringList& vorher,
                             const QStringList& nachher, const QString& breite = q(Fehlt)) {
            QTest::newRow(name) << datei << vorher << nachher << breite;
        };
        const auto alt = [](const QByteArray& punkte) { return "[Highscore1]\n1=\"" + punkte + "\"\nName1=Alt\n"; };
        QByteArray zufall(8192, '\0');
        for (quint32 i = 0, z = 2024; i < 8192; ++i) zufall[i] = char((z = z * 1664525u + 1013904223u) >> 24);
        const QStringList nurNeu{"Neu:100"}, neuVorn{"Neu:100", "Alt:0"};
        const QByteArray megabyte(1 << 20, 'x');
        const QString langerName = QString::fromLatin1(megabyte);

        fall("no file", QByteArray(), {}, nurNeu);
        fall("empty file", "", {}, nurNeu);
        fall("binary garbage", zufall, {}, nurNeu);
        fall("null bytes", QByteArray(512, '\0'), {}, nurNeu);
        fall("section header without bracket", "[Highscore1\n1=5\n[Fenster]\nBreite=800\n", {"0:5"}, {"Neu:100", "0:5"}, "800");
        fall("line without equals sign", "[Fenster]\nBreite=800\nMüll\n[Highscore1]\n1=x\n", {}, nurNeu, "800");
        fall("open quote", "[Fenster]\nBreite=800\n[Highscore1]\nName1=\"Anna\n2=3\n", {"Anna\n2=3\n:0"},
             {"Neu:100", "Anna\n2=3:0"}, "800");
        fall("foreign list with a null character", "[Fenster]\nTitel=a, b\\0c\nBreite=800\n", {}, nurNeu, "800");
        fall("foreign number that is none",
             "[Fenster]\nZoom=@Variant(\\0\\0\\0\\x6\\x7f\\xf8\\0\\0\\0\\0\\0\\0)\nBreite=800\n", {}, nurNeu, "800");
        fall("name of 1 MB", "[Highscore1]\n1=300\nName1=" + megabyte + "\n", {langerName + ":300"},
             {langerName + ":300", "Neu:100"});
        fall("points of 1 MB of digits read as 0", alt(QByteArray(1 << 20, '9')), {"Alt:0"}, neuVorn);
        fall("points \"..\"", alt(".."), {"Alt:0"}, neuVorn);
        fall("points \"abc\"", alt("abc"), {"Alt:0"}, neuVorn);
        fall("points \" 12abc\"", alt(" 12abc"), {"Alt:12"}, {"Neu:100", "Alt:12"});
        fall("points \"-5\"", alt("-5"), {"Alt:-5"}, {"Neu:100", "Alt:-5"});
        fall("points \"1e400\"", alt("1e400"), {"Alt:1"}, {"Neu:100", "Alt:1"});
        fall("points \"NaN\"", alt("NaN"), {"Alt:0"}, neuVorn);
        fall("points \"inf\"", alt("inf"), {"Alt:0"}, neuVorn);
        fall("points \"245.7\" as a whole number", alt("245.7"), {"Alt:246"}, {"Alt:246", "Neu:100"});
        fall("points \"99999999999999999999\"", alt("99999999999999999999"), {"Alt:100000000000000000000"},
             {"Alt:100000000000000000000", "Neu:100"});
        fall("name with a line break", "[Highscore1]\n1=300\nName1=Anna\\nBernd\n", {"Anna\nBernd:300"},
             {"Anna\nBernd:300", "Neu:100"});
        fall("hand-typed list as a name", "[Highscore1]\n1=300\nName1=A, B\n", {"A, B:300"}, {"A, B:300", "Neu:100"});
        fall("hand-typed byte array as a name", "[Highscore1]\n1=300\nName1=@ByteArray(Xaver)\n", {"Xaver:300"}, {"Xaver:300", "Neu:100"});
        fall("a point as a name reads as missing", "[Highscore1]\n1=300\nName1=@Point(1 2)\n", {"0:300"}, {"0:300", "Neu:100"});
        fall("blanks around keys and values", "[Highscore1]\n1 =  300  \nName1= Alt \n", {"Alt:300"}, {"Alt:300", "Neu:100"});
        fall("name key split by a line break", "[Highscore1]\n1=300\nNa\nme1=Anna\n2=50\nName2=Bernd\n",
             {"0:300", "Bernd:50"}, {"0:300", "Neu:100", "Bernd:50"});
    }
    void lesbareDateiZeigtWasLesbarIstUndNimmtErgebnisAuf() {
        QFETCH(QByteArray, datei);
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, nachher);
        QFETCH(QString, breite);
        QVERIFY(datei.isNull() || schreibeDatei(pfad(), datei));
        wk::QtEinstellungen speicher(pfad());
        FakeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);

        QCOMPARE(angezeigt(highscore), plaetze(vorher));
        QCOMPARE(QFile::exists(pfad()), !datei.isNull());  // reading creates no file
        highscore.Auswertung(spiel(1, {"Neu"}, {100}));

        QCOMPARE(listeVonPlatte(pfad()), plaetze(nachher));
        QCOMPARE(vonPlatte(pfad(), "Fenster", "Breite"), breite);
        static const QRegularExpression keineGanzeZahl(QStringLiteral("^\\d+=(?!-?\\d+$).*$"),
                                                       QRegularExpression::MultilineOption);
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
            FakeMeldung meldung;
            wk::Highscore highscore(speicher, meldung);
            QCOMPARE(angezeigt(highscore), plaetze(vorher));
            highscore.Auswertung(spiel(1, {"Neu"}, {100}));
        }
        rechteZurueck();
        QVERIFY(QFile::setPermissions(datei, QFile::ReadOwner));
        QCOMPARE(QDir(ordner).entryList(QDir::AllEntries | QDir::Hidden), dateienVorher);
        QCOMPARE(inhalt(datei), alt);
    }
};

QTEST_GUILESS_MAIN(TstSpeicherfehler)
#include "tst_speicherfehler.moc"
