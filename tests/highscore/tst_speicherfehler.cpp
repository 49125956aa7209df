// The highscore lists over a damaged, odd or unreachable settings file: the
// start window still gets a list, a result is saved whenever that loses
// nothing, and only whole numbers are saved as points.

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "speicherhilfen.h"

using namespace std::chrono_literals;

namespace {

// Pseudo-random bytes, the same on every run.
QByteArray zufallsbytes(int anzahl) {
    QByteArray bytes;
    quint32 zustand = 2024;
    for (int i = 0; i < anzahl; ++i) {
        zustand = zustand * 1664525u + 1013904223u;
        bytes.append(static_cast<char>(zustand >> 24));
    }
    return bytes;
}

// The list of one-Runde games as the start window shows it.
QStringList angezeigt(wk::Highscore& highscore) {
    const wk::HighscoreAnzeige anzeige = highscore.highscore_anzeigen(1, false);
    QStringList liste;
    for (int i = 0; i < wk::ListenLaenge; ++i) {
        liste << q(anzeige.namen[i]) + QLatin1Char(':') + q(anzeige.punkte[i]);
    }
    return liste;
}

// The list as another program finds it.
QStringList vonPlatte(const QString& pfad) {
    wk::QtEinstellungen speicher(kopieVonPlatte(pfad));
    FakeMeldung meldung;
    wk::Highscore highscore(speicher, meldung);
    return angezeigt(highscore);
}

enum Hindernis { DateiUnlesbar, OrdnerSchreibgeschuetzt, DateiIstOrdner };

constexpr QFile::Permissions NurLesen = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions Ordnerrechte = NurLesen | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

} // namespace

class TstSpeicherfehler : public QObject, MitOrdner {
    Q_OBJECT

private slots:
    void init() { ordnerAnlegen(); }
    void cleanup() { ordnerEntfernen(); }

    // Damaged, odd and hand-made files: the list shows what can be read, the
    // new result is saved, and so is whatever else could be read.
    void lesbareDatei_zeigtWasLesbarIstUndNimmtErgebnisAuf_data() {
        QTest::addColumn<bool>("dateiDa");
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("nachher");
        QTest::addColumn<QString>("breite");
        const auto fall = [](const char* name, const QByteArray& datei, const QStringList& vorher,
                             const QStringList& nachher, const QString& breite = q(Fehlt)) {
            QTest::newRow(name) << true << datei << vorher << nachher << breite;
        };
        const auto alt = [](const QByteArray& punkte) { return "[Highscore1]\n1=\"" + punkte + "\"\nName1=Alt\n"; };
        const QStringList nurNeu{"Neu:100"};
        const QStringList neuVorn{"Neu:100", "Alt:0"};
        const QByteArray megabyte(1 << 20, 'x');
        const QString langerName = QString::fromLatin1(megabyte);

        QTest::newRow("Datei fehlt") << false << QByteArray() << QStringList{} << nurNeu << q(Fehlt);
        fall("leere Datei", {}, {}, nurNeu);
        fall("Zufallsbytes", zufallsbytes(8192), {}, nurNeu);
        fall("Nullbytes", QByteArray(512, '\0'), {}, nurNeu);
        fall("Abschnittskopf ohne Klammer", "[Highscore1\n1=5\n[Fenster]\nBreite=800\n", {"0:5"},
             {"Neu:100", "0:5"}, "800");
        fall("Zeile ohne Gleichheitszeichen", "[Fenster]\nBreite=800\nMüll\n[Highscore1]\n1=x\n", {}, nurNeu, "800");
        fall("offenes Anführungszeichen", "[Fenster]\nBreite=800\n[Highscore1]\nName1=\"Anna\n2=3\n",
             {"Anna\n2=3\n:0"}, {"Neu:100", "Anna\n2=3:0"}, "800");
        fall("fremde Liste mit Nullzeichen", "[Fenster]\nTitel=a, b\\0c\nBreite=800\n", {}, nurNeu, "800");
        fall("fremde Zahl, die keine ist",
             "[Fenster]\nZoom=@Variant(\\0\\0\\0\\x6\\x7f\\xf8\\0\\0\\0\\0\\0\\0)\nBreite=800\n", {}, nurNeu, "800");
        fall("Name von 1 MB", "[Highscore1]\n1=300\nName1=" + megabyte + "\n", {langerName + ":300"},
             {langerName + ":300", "Neu:100"});
        fall("Punkte aus 1 MB Ziffern lesen sich als 0", alt(QByteArray(1 << 20, '9')), {"Alt:0"}, neuVorn);
        fall("Punkte \"..\"", alt(".."), {"Alt:0"}, neuVorn);
        fall("Punkte \" 12abc\"", alt(" 12abc"), {"Alt:12"}, {"Neu:100", "Alt:12"});
        fall("Punkte \"-5\"", alt("-5"), {"Alt:-5"}, {"Neu:100", "Alt:-5"});
        fall("Punkte \"1e400\"", alt("1e400"), {"Alt:1"}, {"Neu:100", "Alt:1"});
        fall("Punkte \"NaN\"", alt("NaN"), {"Alt:0"}, neuVorn);
        fall("Punkte \"inf\"", alt("inf"), {"Alt:0"}, neuVorn);
        fall("Punkte \"245.7\" als ganze Zahl", alt("245.7"), {"Alt:246"}, {"Alt:246", "Neu:100"});
        fall("Punkte \"99999999999999999999\"", alt("99999999999999999999"), {"Alt:100000000000000000000"},
             {"Alt:100000000000000000000", "Neu:100"});
        fall("Name mit Zeilenumbruch", "[Highscore1]\n1=300\nName1=Anna\\nBernd\n", {"Anna\nBernd:300"},
             {"Anna\nBernd:300", "Neu:100"});
        fall("Namensschlüssel durch Zeilenumbruch geteilt", "[Highscore1]\n1=300\nNa\nme1=Anna\n2=50\nName2=Bernd\n",
             {"0:300", "Bernd:50"}, {"0:300", "Neu:100", "Bernd:50"});
    }

    void lesbareDatei_zeigtWasLesbarIstUndNimmtErgebnisAuf() {
        QFETCH(bool, dateiDa);
        QFETCH(QByteArray, datei);
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, nachher);
        QFETCH(QString, breite);
        QVERIFY(!dateiDa || schreibeDatei(pfad(), datei));
        const Warnungen warnungen;
        wk::QtEinstellungen speicher(pfad());
        FakeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);

        QCOMPARE(angezeigt(highscore), plaetze(vorher));
        highscore.Auswertung(spiel(1, {"Neu"}, {100}));

        QCOMPARE(vonPlatte(pfad()), plaetze(nachher));
        QCOMPARE(vonPlatte(pfad(), "Fenster", "Breite"), breite);
        static const QRegularExpression keineGanzeZahl(QStringLiteral("^\\d+=(?!-?\\d+$).*$"),
                                                       QRegularExpression::MultilineOption);
        QCOMPARE(keineGanzeZahl.match(QString::fromUtf8(inhalt(pfad()))).captured(), QString());
    }

    void unerreichbareDatei_zeigtWasLesbarIstUndBleibtUnberuehrt_data() {
        QTest::addColumn<int>("hindernis");
        QTest::addColumn<QStringList>("vorher");
        QTest::newRow("Datei unlesbar") << int{DateiUnlesbar} << QStringList{};
        QTest::newRow("Ordner schreibgeschützt") << int{OrdnerSchreibgeschuetzt} << QStringList{"Alt:300"};
        QTest::newRow("Ordner statt Datei") << int{DateiIstOrdner} << QStringList{};
    }

    void unerreichbareDatei_zeigtWasLesbarIstUndBleibtUnberuehrt() {
        QFETCH(int, hindernis);
        QFETCH(QStringList, vorher);
        const QByteArray alt("[Highscore1]\n1=300\nName1=Alt\n");
        const QString imOrdner = pfad() + QStringLiteral("/darin");
        if (hindernis == DateiIstOrdner) {
            QVERIFY(QDir().mkpath(pfad()) && schreibeDatei(imOrdner, alt));
        } else {
            QVERIFY(schreibeDatei(pfad(), alt));
        }
        if (hindernis == DateiUnlesbar) {
            QVERIFY(QFile::setPermissions(pfad(), {}));
            QVERIFY(QFile::setPermissions(m_ordner->path(), Ordnerrechte | QFile::WriteOwner |
                                                                QFile::WriteGroup | QFile::WriteOther));
        } else if (hindernis == OrdnerSchreibgeschuetzt) {
            QVERIFY(QFile::setPermissions(m_ordner->path(), Ordnerrechte));
        }
        const QStringList dateienVorher = QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden);
        const Warnungen warnungen;
        {
            const OhneRootrechte ohneRoot;
            if (!ohneRoot.wirksam()) {
                QSKIP("root ignores file permissions and cannot act as the user nobody here");
            }
            wk::QtEinstellungen speicher(pfad(), 100ms);
            FakeMeldung meldung;
            wk::Highscore highscore(speicher, meldung);

            QCOMPARE(angezeigt(highscore), plaetze(vorher));
            highscore.Auswertung(spiel(1, {"Neu"}, {100}));
        }

        QVERIFY(QFile::setPermissions(m_ordner->path(), Ordnerrechte | QFile::WriteOwner));
        QVERIFY(hindernis == DateiIstOrdner || QFile::setPermissions(pfad(), NurLesen));
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden), dateienVorher);
        QCOMPARE(inhalt(hindernis == DateiIstOrdner ? imOrdner : pfad()), alt);
        QVERIFY2(Warnungen::texte().join(QLatin1Char('\n')).contains(QStringLiteral("nicht gespeichert")),
                 qPrintable(Warnungen::texte().join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TstSpeicherfehler)
#include "tst_speicherfehler.moc"
