#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

#include "platform/qteinstellungen.h"

using namespace std::chrono_literals;

namespace {

const std::string Fehlt = "fehlt";

QString q(const std::string& text) { return QString::fromStdString(text); }

QByteArray inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

bool schreibeDatei(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

// Within one program QSettings shares what it has parsed of a file, so a
// second object on the same path may never look at the bytes. A copy under a
// new name is read from disk, as another program would read the file.
QString vonPlatte(const QString& pfad, const std::string& abschnitt, const std::string& schluessel) {
    static int kopien = 0;
    const QString kopie = pfad + QStringLiteral(".kopie%1").arg(++kopien);
    QFile::copy(pfad, kopie);
    return q(wk::QtEinstellungen(kopie).lesen(abschnitt, schluessel, Fehlt));
}

void warnungErwartet(const char* muster) {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString::fromUtf8(muster)));
}

// While it lives, files can grow to `grenze` bytes only, as on a full disk;
// writing past that fails instead of raising SIGXFSZ.
class Dateigrenze {
public:
    explicit Dateigrenze(rlim_t grenze) : m_signalVorher(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_vorher);
        rlimit neu = m_vorher;
        neu.rlim_cur = grenze;
        setrlimit(RLIMIT_FSIZE, &neu);
    }
    ~Dateigrenze() {
        setrlimit(RLIMIT_FSIZE, &m_vorher);
        std::signal(SIGXFSZ, m_signalVorher);
    }
    Dateigrenze(const Dateigrenze&) = delete;
    Dateigrenze& operator=(const Dateigrenze&) = delete;

private:
    void (*m_signalVorher)(int) = SIG_DFL;
    rlimit m_vorher{};
};

// Keeps the warnings about damaged files out of the test log while it lives.
class WarnungenSchlucken {
public:
    WarnungenSchlucken()
        : m_vorher(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {})) {}
    ~WarnungenSchlucken() { qInstallMessageHandler(m_vorher); }
    WarnungenSchlucken(const WarnungenSchlucken&) = delete;
    WarnungenSchlucken& operator=(const WarnungenSchlucken&) = delete;

private:
    QtMessageHandler m_vorher = nullptr;
};

} // namespace

class TstQtEinstellungen : public QObject {
    Q_OBJECT

    QString pfad() const { return m_ordner->filePath(QStringLiteral("Wurfkrone.conf")); }

    std::unique_ptr<QTemporaryDir> m_ordner;

private slots:
    void init() { m_ordner = std::make_unique<QTemporaryDir>(); }
    void cleanup() {
        QFile::setPermissions(m_ordner->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_ordner.reset();
    }

    void text_kommtUnveraendertZurueck_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("Komma") << "A, B";
        QTest::newRow("nur ein Komma") << ",";
        QTest::newRow("Anführungszeichen") << "Sie sagte \"Hallo\"";
        QTest::newRow("Gleichheitszeichen und Semikolon") << "x=y;z";
        QTest::newRow("Umlaute und Würfel") << "Jürgen Öztürk-Weiß \U0001F3B2";
        QTest::newRow("Leerzeichen vorn") << "  Anna";
        QTest::newRow("Leerzeichen hinten") << "Anna  ";
        QTest::newRow("leer") << "";
        QTest::newRow("wie ein Variant") << "@Variant(0)";
        QTest::newRow("Rückstrich") << "C:\\Spiele\\";
        QTest::newRow("Tabulator und Zeilenumbruch") << "Tab\tund\nZeile";
        QTest::newRow("wie ein Abschnittskopf") << "[Highscore1]";
        QTest::newRow("wie ein Kommentar") << "; nur Text";
    }

    void text_kommtUnveraendertZurueck() {
        QFETCH(QString, text);

        wk::QtEinstellungen(pfad()).schreiben("Highscore1", "Name1", text.toStdString());

        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), text);
        QCOMPARE(q(wk::QtEinstellungen(pfad()).lesen("Highscore1", "Name1", Fehlt)), text);
    }

    void fehlenderEintrag_liefertVorgabe_data() {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<bool>("dateiDa");
        QTest::newRow("keine Datei") << QByteArray() << false;
        QTest::newRow("leere Datei") << QByteArray() << true;
        QTest::newRow("anderer Abschnitt") << QByteArray("[Highscore5]\nName1=Anna\n") << true;
        QTest::newRow("anderer Schlüssel") << QByteArray("[Highscore1]\nName2=Anna\n") << true;
    }

    void fehlenderEintrag_liefertVorgabe() {
        QFETCH(QByteArray, datei);
        QFETCH(bool, dateiDa);
        QVERIFY(!dateiDa || schreibeDatei(pfad(), datei));

        QCOMPARE(q(wk::QtEinstellungen(pfad()).lesen("Highscore1", "Name1", "0")), QStringLiteral("0"));
        QCOMPARE(QFile::exists(pfad()), dateiDa);
    }

    void vonHandGeschrieben_liestAlsText_data() {
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<QString>("text");
        QTest::newRow("Liste ohne Anführungszeichen") << QByteArray("Name1=A, B") << "A, B";
        QTest::newRow("Bytefolge") << QByteArray("Name1=@ByteArray(Xaver)") << "Xaver";
        QTest::newRow("Leerraum um den Wert") << QByteArray("Name1 =  245  ") << "245";
        QTest::newRow("Punkt statt Text") << QByteArray("Name1=@Point(1 2)") << q(Fehlt);
    }

    void vonHandGeschrieben_liestAlsText() {
        QFETCH(QByteArray, zeile);
        QFETCH(QString, text);
        QVERIFY(schreibeDatei(pfad(), "[Highscore1]\n" + zeile + "\n"));

        QCOMPARE(q(wk::QtEinstellungen(pfad()).lesen("Highscore1", "Name1", Fehlt)), text);
    }

    void beschaedigteDatei_liestVorgabenUndBehaeltLesbares_data() {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QString>("breite");
        QByteArray zufall;
        quint32 zustand = 12345;
        for (int i = 0; i < 4096; ++i) {
            zustand = zustand * 1103515245u + 12345u;
            zufall.append(static_cast<char>(zustand >> 24));
        }
        QTest::newRow("Zufallsbytes") << zufall << q(Fehlt);
        QTest::newRow("Nullbytes") << QByteArray(512, '\0') << q(Fehlt);
        QTest::newRow("Abschnittskopf ohne Klammer")
            << QByteArray("[Highscore1\n1=5\n[Fenster]\nBreite=800\n") << "800";
        QTest::newRow("Zeile ohne Gleichheitszeichen")
            << QByteArray("[Fenster]\nBreite=800\nMüll\n[Highscore1]\n1=x\n") << "800";
        QTest::newRow("offenes Anführungszeichen")
            << QByteArray("[Fenster]\nBreite=800\n[Highscore1]\nName1=\"Anna\n2=3\n") << "800";
    }

    void beschaedigteDatei_liestVorgabenUndBehaeltLesbares() {
        QFETCH(QByteArray, datei);
        QFETCH(QString, breite);
        QVERIFY(schreibeDatei(pfad(), datei));
        const WarnungenSchlucken schlucken;
        wk::QtEinstellungen speicher(pfad());

        QCOMPARE(q(speicher.lesen("Highscore25", "Name7", Fehlt)), q(Fehlt));
        speicher.schreiben("Highscore1", "1", "77");

        QCOMPARE(vonPlatte(pfad(), "Highscore1", "1"), QStringLiteral("77"));
        QCOMPARE(vonPlatte(pfad(), "Fenster", "Breite"), breite);
    }

    void beschaedigteDatei_wirdVorDemErsetzenKopiert() {
        const QByteArray beschaedigt("[Highscore1\n1=5\n");
        QVERIFY(schreibeDatei(pfad(), beschaedigt));
        warnungErwartet("ist beschädigt");
        warnungErwartet("Kopie.*defekt");

        wk::QtEinstellungen(pfad()).schreiben("Highscore1", "1", "77");

        const QStringList kopien = QDir(m_ordner->path()).entryList({QStringLiteral("*.defekt-*")});
        QCOMPARE(kopien.size(), 1);
        QCOMPARE(inhalt(m_ordner->filePath(kopien.front())), beschaedigt);
    }

    void volleFestplatte_laesstAlteDateiUnveraendert() {
        wk::QtEinstellungen speicher(pfad());
        speicher.schreiben("Highscore1", "Name1", "Anna");
        const QByteArray vorher = inhalt(pfad());
        warnungErwartet("nicht gespeichert");
        {
            const Dateigrenze grenze(1024);
            speicher.schreiben("Highscore1", "Name2", std::string(4096, 'x'));
        }

        QCOMPARE(inhalt(pfad()), vorher);
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::Files), QStringList{"Wurfkrone.conf"});
    }

    void schreibgeschuetzterOrdner_laesstAlteDateiUnveraendert() {
        if (geteuid() == 0) {
            QSKIP("root writes into read-only folders");
        }
        wk::QtEinstellungen speicher(pfad());
        speicher.schreiben("Highscore1", "Name1", "Anna");
        const QByteArray vorher = inhalt(pfad());
        QVERIFY(QFile::setPermissions(m_ordner->path(), QFile::ReadOwner | QFile::ExeOwner));
        warnungErwartet("Sperre");
        warnungErwartet("nicht gespeichert");

        speicher.schreiben("Highscore1", "Name1", "Bernd");

        QCOMPARE(inhalt(pfad()), vorher);
    }

    void ordnerNichtAnlegbar_warntUndLiestVorgabe() {
        const QString keinOrdner = m_ordner->filePath(QStringLiteral("keinOrdner"));
        QVERIFY(schreibeDatei(keinOrdner, "eine Datei"));
        warnungErwartet("Ordner");
        warnungErwartet("Sperre");
        warnungErwartet("nicht gespeichert");
        wk::QtEinstellungen speicher(keinOrdner + QStringLiteral("/Wurfkrone.conf"));

        speicher.schreiben("Highscore1", "Name1", "Anna");

        QCOMPARE(q(speicher.lesen("Highscore1", "Name1", "0")), QStringLiteral("0"));
        QCOMPARE(inhalt(keinOrdner), QByteArray("eine Datei"));
    }

    void transaktion_siehtEigeneSchreibvorgaengeUndDarfGeschachteltSein() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
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
    }

    void gleichzeitigeTransaktionen_verlierenNichts() {
        constexpr int ErhoehungenJe = 15;
        const auto zaehlen = [this] {
            wk::QtEinstellungen speicher(pfad());
            for (int i = 0; i < ErhoehungenJe; ++i) {
                speicher.gesperrt([&] {
                    const int stand = std::stoi(speicher.lesen("Zaehler", "stand", "0"));
                    std::this_thread::sleep_for(2ms);
                    speicher.schreiben("Zaehler", "stand", std::to_string(stand + 1));
                });
            }
        };

        std::thread erster(zaehlen);
        std::thread zweiter(zaehlen);
        erster.join();
        zweiter.join();

        QCOMPARE(vonPlatte(pfad(), "Zaehler", "stand"), QString::number(2 * ErhoehungenJe));
    }

    void fremdeSperre_nachWartezeitTrotzdemGespeichert() {
        wk::QtEinstellungen speicher(pfad(), 50ms);
        QLockFile fremd(speicher.sperrPfad());
        QVERIFY(fremd.tryLock(0));
        warnungErwartet("Sperre");

        speicher.schreiben("Highscore1", "Name1", "Anna");

        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), QStringLiteral("Anna"));
    }

    void standardPfad_liegtImKonfigurationsordner() {
        const bool gesetzt = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        const QByteArray vorher = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_ordner->path().toUtf8());

        const QString standard = wk::QtEinstellungen::standardPfad();

        gesetzt ? qputenv("XDG_CONFIG_HOME", vorher) : qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(standard, m_ordner->path() + QStringLiteral("/Wurfkrone/Wurfkrone.conf"));
    }
};

QTEST_GUILESS_MAIN(TstQtEinstellungen)
#include "tst_qteinstellungen.moc"
