// Installs the build into a staging folder (DESTDIR, prefix /usr) and packs the
// Debian package, then checks what a user's system would receive: the program,
// the menu entry, the icons drawn by the artwork code and the AppStream data.
// External checkers that were not found when configuring skip their check.
#include "ui/artwork.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include <cstdlib>

namespace {

const QString kId = QStringLiteral(WK_APP_ID);
const QString kVersion = QStringLiteral(WK_VERSION);
constexpr int kGroessen[] = {16, 32, 48, 64, 128, 256};

// Everything an installation puts below its prefix, and nothing else.
QStringList erwarteteDateien()
{
    QStringList dateien{
        QStringLiteral("bin/wurfkrone"),
        QStringLiteral("share/applications/%1.desktop").arg(kId),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId),
        QStringLiteral("share/icons/hicolor/scalable/apps/wurfkrone.svg"),
    };
    for (const int g : kGroessen)
        dateien << QStringLiteral("share/icons/hicolor/%1x%1/apps/wurfkrone.png").arg(g);
    dateien.sort();
    return dateien;
}

struct Lauf {
    int code = -1;  // -1 when the program did not start or did not end normally
    QString ausgabe{};  // standard output and error together
};

Lauf starte(const QString& programm, const QStringList& argumente,
            const QProcessEnvironment& umgebung = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setProcessEnvironment(umgebung);
    p.start(programm, argumente);
    if (!p.waitForFinished(240'000)) {
        p.kill();
        p.waitForFinished();
        return {-1, programm + QStringLiteral(": ") + p.errorString()};
    }
    const QString ausgabe = QString::fromLocal8Bit(p.readAll());
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, ausgabe};
}

// A program path from find_program(); empty or "...-NOTFOUND" when missing.
bool gefunden(const QString& programm)
{
    return !programm.isEmpty() && !programm.endsWith(QStringLiteral("-NOTFOUND"));
}

// The keys of the [Desktop Entry] group.
QHash<QString, QString> eintraege(const QString& datei)
{
    QFile f(datei);
    QHash<QString, QString> werte;
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return werte;
    QString gruppe;
    for (const QString& zeile : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (zeile.startsWith(u'[')) {
            gruppe = zeile.trimmed();
        } else if (gruppe == QStringLiteral("[Desktop Entry]") && zeile.contains(u'=')
                   && !zeile.startsWith(u'#')) {
            const qsizetype gleich = zeile.indexOf(u'=');
            werte.insert(zeile.left(gleich).trimmed(), zeile.mid(gleich + 1).trimmed());
        }
    }
    return werte;
}

// How far two pictures of the same size lie apart: the mean difference per
// channel (0..255) and the share of pixels with any channel off by more than 48.
struct Abstand {
    double mittel = 0;
    double ausreisser = 0;
};

Abstand abstand(const QImage& a0, const QImage& b0)
{
    const QImage a = a0.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = b0.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double summe = 0;
    long ausreisser = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d[] = {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))};
            summe += d[0] + d[1] + d[2] + d[3];
            ausreisser += (d[0] > 48 || d[1] > 48 || d[2] > 48 || d[3] > 48) ? 1 : 0;
        }
    const double pixel = double(a.width()) * a.height();
    return {summe / (4 * pixel), ausreisser / pixel};
}

bool beispielDomain(const QString& host)
{
    for (const char* reserviert : {"example", "example.org", "example.com", "example.net"}) {
        const QString r = QString::fromLatin1(reserviert);
        if (host == r || host.endsWith(u'.' + r))
            return true;
    }
    return false;
}

} // namespace

class TstInstallation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void genauDieseDateien();
    void programmIstAusfuehrbar();
    void menueEintrag();
    void menueEintragIstGueltig();
    void symbole_data();
    void symbole();
    void svgIstVektorgrafik_data();
    void svgIstVektorgrafik();
    void metainfoIstGueltig();
    void metainfoPasstZumPaket();
    void debianPaket();

private:
    QString pfad(const QString& relativ) const { return m_stufe.path() + QStringLiteral("/usr/") + relativ; }

    QTemporaryDir m_stufe{};
};

void TstInstallation::initTestCase()
{
    QVERIFY(m_stufe.isValid());
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("DESTDIR"), m_stufe.path());
    const Lauf lauf = starte(QStringLiteral(WK_CMAKE),
                             {QStringLiteral("--install"), QStringLiteral(WK_BAUORDNER), QStringLiteral("--prefix"),
                              QStringLiteral("/usr")},
                             umgebung);
    QVERIFY2(lauf.code == 0, qPrintable(lauf.ausgabe));
}

void TstInstallation::genauDieseDateien()
{
    QStringList gefundene;
    QDirIterator it(m_stufe.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        gefundene << QDir(m_stufe.path()).relativeFilePath(it.next());
    gefundene.sort();
    QStringList erwartet;
    for (const QString& d : erwarteteDateien())
        erwartet << QStringLiteral("usr/") + d;
    QCOMPARE(gefundene, erwartet);
}

void TstInstallation::programmIstAusfuehrbar()
{
    const QString programm = pfad(QStringLiteral("bin/wurfkrone"));
    QVERIFY(QFileInfo(programm).isExecutable());
    QFile f(programm);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(4), QByteArray("\x7f" "ELF"));
}

void TstInstallation::menueEintrag()
{
    const auto e = eintraege(pfad(QStringLiteral("share/applications/%1.desktop").arg(kId)));
    QCOMPARE(e.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(e.value(QStringLiteral("Name")), QStringLiteral("Wurfkrone"));
    QVERIFY(!e.value(QStringLiteral("Comment")).isEmpty());
    // Exec and Icon name files that the installation brings along.
    const QString exec = e.value(QStringLiteral("Exec")).section(u' ', 0, 0);
    QVERIFY2(!exec.contains(u'/') && QFileInfo(pfad(QStringLiteral("bin/") + exec)).isExecutable(), qPrintable(exec));
    const QString icon = e.value(QStringLiteral("Icon"));
    QVERIFY2(QFileInfo::exists(pfad(QStringLiteral("share/icons/hicolor/48x48/apps/%1.png").arg(icon))), qPrintable(icon));
    QVERIFY2(QFileInfo::exists(pfad(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(icon))), qPrintable(icon));
    const QStringList kategorien = e.value(QStringLiteral("Categories")).split(u';', Qt::SkipEmptyParts);
    QVERIFY(kategorien.contains(QStringLiteral("Game")));
    QVERIFY(kategorien.contains(QStringLiteral("BoardGame")));
}

void TstInstallation::menueEintragIstGueltig()
{
    if (!gefunden(QStringLiteral(WK_DESKTOP_FILE_VALIDATE)))
        QSKIP("desktop-file-validate not found (Debian package desktop-file-utils)");
    const Lauf lauf = starte(QStringLiteral(WK_DESKTOP_FILE_VALIDATE),
                             {pfad(QStringLiteral("share/applications/%1.desktop").arg(kId))});
    QVERIFY2(lauf.code == 0, qPrintable(lauf.ausgabe));
    QVERIFY2(lauf.ausgabe.trimmed().isEmpty(), qPrintable(lauf.ausgabe));  // not even a hint
}

void TstInstallation::symbole_data()
{
    QTest::addColumn<int>("groesse");
    for (const int g : kGroessen)
        QTest::addRow("%d", g) << g;
}

void TstInstallation::symbole()
{
    QFETCH(int, groesse);
    const QImage bild(pfad(QStringLiteral("share/icons/hicolor/%1x%1/apps/wurfkrone.png").arg(groesse)));
    QVERIFY(!bild.isNull());
    QCOMPARE(bild.size(), QSize(groesse, groesse));
    QVERIFY(bild.hasAlphaChannel());
    // Drawn by the code that draws the window icon, pixel for pixel.
    QCOMPARE(bild.convertToFormat(QImage::Format_ARGB32),
             wk::artwork::symbol(groesse).convertToFormat(QImage::Format_ARGB32));
}

void TstInstallation::svgIstVektorgrafik_data()
{
    QTest::addColumn<int>("groesse");
    // symbol() draws the same lines at both sizes, so the SVG must match both.
    QTest::addRow("256") << 256;
    QTest::addRow("512") << 512;
}

void TstInstallation::svgIstVektorgrafik()
{
    QFETCH(int, groesse);
    const QString datei = pfad(QStringLiteral("share/icons/hicolor/scalable/apps/wurfkrone.svg"));
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY2(!text.contains("<image"), "the SVG embeds a bitmap");
    QVERIFY(text.count("<path") >= 10);

    QSvgRenderer svg(datei);
    QVERIFY(svg.isValid());
    QCOMPARE(svg.viewBoxF().width(), svg.viewBoxF().height());
    QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    svg.render(&p);
    p.end();
    const Abstand d = abstand(bild, wk::artwork::symbol(groesse));
    const QByteArray text2 = QByteArrayLiteral("mean ") + QByteArray::number(d.mittel) + " outliers "
                             + QByteArray::number(d.ausreisser);
    QVERIFY2(d.mittel < 0.25, text2.constData());
    QVERIFY2(d.ausreisser < 0.002, text2.constData());
}

void TstInstallation::metainfoIstGueltig()
{
    if (!gefunden(QStringLiteral(WK_APPSTREAMCLI)))
        QSKIP("appstreamcli not found (Debian package appstream)");
    const Lauf lauf = starte(QStringLiteral(WK_APPSTREAMCLI),
                             {QStringLiteral("validate"), QStringLiteral("--no-net"),
                              pfad(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId))});
    QVERIFY2(lauf.code == 0, qPrintable(lauf.ausgabe));
}

void TstInstallation::metainfoPasstZumPaket()
{
    QFile f(pfad(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    QString id, starter, heimat, ersteVersion;
    QSet<QString> zusammenfassungen, beschreibungen;  // by language, "" untranslated
    bool einstufung = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        const QString sprache = xml.attributes().value(QStringLiteral("xml:lang")).toString();
        if (name == u"id")
            id = xml.readElementText();
        else if (name == u"launchable")
            starter = xml.readElementText();
        else if (name == u"url" && xml.attributes().value(QStringLiteral("type")) == u"homepage")
            heimat = xml.readElementText();
        else if (name == u"summary")
            zusammenfassungen.insert(sprache);
        else if (name == u"p")
            beschreibungen.insert(sprache);
        else if (name == u"content_rating")
            einstufung = true;
        else if (name == u"release" && ersteVersion.isEmpty())
            ersteVersion = xml.attributes().value(QStringLiteral("version")).toString();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(id, kId);
    QCOMPARE(starter, kId + QStringLiteral(".desktop"));
    QVERIFY(QFileInfo::exists(pfad(QStringLiteral("share/applications/") + starter)));
    QCOMPARE(ersteVersion, kVersion);  // the newest release is listed first
    QCOMPARE(zusammenfassungen, (QSet<QString>{QString(), QStringLiteral("de")}));
    QCOMPARE(beschreibungen, (QSet<QString>{QString(), QStringLiteral("de")}));
    QVERIFY(einstufung);
    const QUrl url(heimat);
    QCOMPARE(url.scheme(), QStringLiteral("https"));
    QVERIFY2(beispielDomain(url.host()), qPrintable(heimat));
}

void TstInstallation::debianPaket()
{
    if (!gefunden(QStringLiteral(WK_CPACK)) || !gefunden(QStringLiteral(WK_DPKG_DEB))
        || !gefunden(QStringLiteral(WK_DPKG)))
        QSKIP("cpack, dpkg or dpkg-deb not found");
    QTemporaryDir ordner;
    QVERIFY(ordner.isValid());
    const Lauf pack = starte(QStringLiteral(WK_CPACK),
                             {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                              QStringLiteral(WK_BAUORDNER "/CPackConfig.cmake"), QStringLiteral("-B"), ordner.path()});
    QVERIFY2(pack.code == 0, qPrintable(pack.ausgabe));
    const Lauf arch = starte(QStringLiteral(WK_DPKG), {QStringLiteral("--print-architecture")});
    QCOMPARE(arch.code, 0);
    const QString deb =
        ordner.filePath(QStringLiteral("wurfkrone_%1_%2.deb").arg(kVersion, arch.ausgabe.trimmed()));
    QVERIFY2(QFileInfo::exists(deb), qPrintable(deb + QStringLiteral("\n") + pack.ausgabe));

    const auto feld = [&deb](const char* name) {
        return starte(QStringLiteral(WK_DPKG_DEB), {QStringLiteral("-f"), deb, QString::fromLatin1(name)})
            .ausgabe.trimmed();
    };
    QCOMPARE(feld("Package"), QStringLiteral("wurfkrone"));
    QCOMPARE(feld("Version"), kVersion);
    QCOMPARE(feld("Architecture"), arch.ausgabe.trimmed());
    QCOMPARE(feld("Section"), QStringLiteral("games"));
    QVERIFY2(QRegularExpression(QStringLiteral("^[^<>]+ <[^@<>\\s]+@[^@<>\\s]+>$")).match(feld("Maintainer")).hasMatch(),
             qPrintable(feld("Maintainer")));
    QVERIFY(feld("Description").count(u'\n') >= 1);  // a summary and a longer text
    // The libraries the program links against, found by dpkg-shlibdeps.
    QSet<QString> abhaengig;
    for (const QString& d : feld("Depends").split(u',', Qt::SkipEmptyParts))
        abhaengig.insert(d.trimmed().section(u' ', 0, 0));
    for (const char* paket : {"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6"})
        QVERIFY2(abhaengig.contains(QString::fromLatin1(paket)), qPrintable(feld("Depends")));

    // The package holds what `cmake --install` installs, owned by root.
    const Lauf inhalt = starte(QStringLiteral(WK_DPKG_DEB), {QStringLiteral("-c"), deb});
    QCOMPARE(inhalt.code, 0);
    QStringList dateien;
    for (const QString& zeile : inhalt.ausgabe.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList teile = zeile.split(u' ', Qt::SkipEmptyParts);
        QVERIFY2(teile.size() >= 6 && teile[1] == QStringLiteral("root/root"), qPrintable(zeile));
        const QString name = teile.last();
        if (name == QStringLiteral("./usr/bin/wurfkrone"))
            QCOMPARE(teile[0], QStringLiteral("-rwxr-xr-x"));
        if (teile[0].startsWith(u'-') && name.startsWith(QStringLiteral("./usr/")))
            dateien << name.mid(6);
        else if (teile[0].startsWith(u'-'))
            dateien << name;  // outside /usr: shows up as a difference below
    }
    dateien.sort();
    QCOMPARE(dateien, erwarteteDateien());
}

QTEST_MAIN(TstInstallation)
#include "tst_installation.moc"
