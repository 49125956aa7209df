#include "platform/inidatei.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

namespace wk::ini {

namespace {

constexpr qsizetype Stueck = qsizetype{1} << 20;  // bytes read at a time
constexpr QByteArrayView Bom = "\xEF\xBB\xBF";

bool istLeer(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool zeilenEnde(char c) { return c == '\n' || c == '\r'; }

int ziffer(char c, int basis) {
    const int wert = c >= '0' && c <= '9' ? c - '0'
                     : c >= 'a' && c <= 'f' ? c - 'a' + 10
                     : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                            : 99;
    return wert < basis ? wert : -1;
}

// The character of a one-letter escape ("\n" gives '\n'), or 0.
char einfacheFolge(char c) {
    constexpr std::array<std::pair<char, char>, 11> folgen{{{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},
                                                            {'r', '\r'}, {'t', '\t'}, {'v', '\v'}, {'"', '"'},
                                                            {'?', '?'}, {'\'', '\''}, {'\\', '\\'}}};
    const auto* folge = std::find_if(folgen.begin(), folgen.end(), [c](const auto& f) { return f.first == c; });
    return folge == folgen.end() ? 0 : folge->second;
}

// One line of the file as QSettings splits the text: it may run over several
// lines of the text inside quotes or after a backslash. [anfang, ende) are its
// bytes in the file, without the blanks and comments before it; `gleich` is
// the place of its first "=" outside quotes in `text`, or -1.
struct Zeile {
    qsizetype leerAb = 0;  // where the blanks before it begin, after any comment
    qsizetype anfang = 0;
    qsizetype ende = 0;
    QByteArrayView text;
    qsizetype gleich = -1;
};

// Finds the next line in `d` from `pos` and moves `pos` past it; false when
// only blanks and comments are left.
bool zeileFinden(QByteArrayView d, qsizetype& pos, qsizetype& leerAb, qsizetype& anfang, qsizetype& gleich) {
    const qsizetype n = d.size();
    bool inAnfuehrung = false;
    gleich = -1;
    leerAb = pos;
    anfang = pos;
    while (anfang < n && istLeer(d[anfang])) ++anfang;
    qsizetype i = anfang;
    while (i < n) {
        const char c = d[i++];
        if (c == '=') {
            if (!inAnfuehrung && gleich == -1) gleich = i - 1;
        } else if (zeilenEnde(c)) {
            if (i == anfang + 1) {
                ++anfang;
            } else if (!inAnfuehrung) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < n) {
                const char e = d[i++];
                if (i < n && zeilenEnde(e) && zeilenEnde(d[i]) && d[i] != e) ++i;
            }
        } else if (c == '"') {
            inAnfuehrung = !inAnfuehrung;
        } else if (c == ';') {
            if (i == anfang + 1) {  // a comment line
                while (i < n && !zeilenEnde(d[i])) ++i;
                leerAb = i;
                while (i < n && istLeer(d[i])) ++i;
                anfang = i;
            } else if (!inAnfuehrung) {
                --i;
                break;
            }
        }
    }
    pos = i;
    return i > anfang;
}

// The lines of a file, read in pieces. A line that reaches the end of the
// piece at hand is read again with more of the file behind it.
class Zeilenleser {
public:
    explicit Zeilenleser(QIODevice& datei) : m_datei(datei) {}

    bool naechste(Zeile& zeile) {
        while (true) {
            if (m_pos >= Stueck) {
                m_puffer.remove(0, m_pos);
                m_basis += m_pos;
                m_pos = 0;
            }
            qsizetype pos = m_pos, leerAb = 0, anfang = 0, gleich = -1;
            const bool gefunden = zeileFinden(m_puffer, pos, leerAb, anfang, gleich);
            if (pos == m_puffer.size() && !m_ende) {
                nachladen();
                continue;
            }
            if (!gefunden) return false;
            zeile = {m_basis + leerAb, m_basis + anfang, m_basis + pos, QByteArrayView(m_puffer).sliced(anfang, pos - anfang),
                     gleich < 0 ? -1 : gleich - anfang};
            m_pos = pos;
            return true;
        }
    }

    bool fehler() const { return m_fehler; }
    qsizetype bomLaenge() const { return m_bom; }

private:
    void nachladen() {
        const qsizetype vorher = m_puffer.size();
        const qsizetype mehr = std::max(Stueck, vorher);  // doubles for a line longer than a piece
        m_puffer.resize(vorher + mehr);
        const qint64 gelesen = m_datei.read(m_puffer.data() + vorher, mehr);
        m_fehler = gelesen < 0;
        m_ende = gelesen <= 0;
        m_puffer.resize(vorher + std::max<qint64>(gelesen, 0));
        if (m_basis == 0 && vorher < Bom.size() && m_puffer.startsWith(Bom)) {
            m_bom = Bom.size();
            m_pos = Bom.size();
        }
    }

    QIODevice& m_datei;
    QByteArray m_puffer;
    qsizetype m_basis = 0;  // place in the file of m_puffer[0]
    qsizetype m_pos = 0;    // in m_puffer
    qsizetype m_bom = 0;
    bool m_ende = false;
    bool m_fehler = false;
};

// A key or section name as QSettings reads it: "\" is "/", "%XX" and
// "%UXXXX" are characters.
QString nameAus(QByteArrayView roh) {
    const QString text = QString::fromUtf8(roh.trimmed());
    QString name;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == u'\\') {
            name += u'/';
            ++i;
            continue;
        }
        const qsizetype ziffern = i + 1 < text.size() && text[i + 1] == u'U' ? 4 : 2;
        const qsizetype erste = i + 1 + (ziffern == 4 ? 1 : 0);
        bool ok = false;
        const ushort zeichen = c == u'%' && erste + ziffern <= text.size()
                                   ? QStringView(text).sliced(erste, ziffern).toUShort(&ok, 16)
                                   : 0;
        name += ok ? QChar(zeichen) : c;
        i = ok ? erste + ziffern : i + 1;
    }
    return name;
}

// The section a line "[...]" opens: "" for [General].
QString abschnittAus(QByteArrayView zeile, bool& beschaedigt) {
    qsizetype klammer = zeile.indexOf(']');
    if (klammer < 0) {
        beschaedigt = true;
        klammer = zeile.size();
    }
    const QByteArrayView name = zeile.first(klammer).sliced(1).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0) return {};
    if (name.compare("%general", Qt::CaseInsensitive) == 0) return QString::fromLatin1(name.sliced(1));
    return nameAus(name);
}

QString voll(const QString& abschnitt, const QString& schluessel) {
    return abschnitt.isEmpty() ? schluessel : abschnitt + u'/' + schluessel;
}

// The sections whose lines can hold one of these keys: "" and each part of a
// key before a "/".
QSet<QString> abschnitteFuer(const QList<QString>& schluessel) {
    QSet<QString> abschnitte{QString()};
    for (const QString& name : schluessel) {
        for (qsizetype strich = name.indexOf(u'/'); strich >= 0; strich = name.indexOf(u'/', strich + 1)) {
            abschnitte.insert(name.first(strich));
        }
    }
    return abschnitte;
}

void randBlanksKuerzen(QString& text, qsizetype grenze) {
    qsizetype n = text.size();
    while (n > grenze && (text[n - 1] == u' ' || text[n - 1] == u'\t')) --n;
    text.truncate(n);
}

// A value after "=" as QSettings takes it apart: true for a list (a comma
// outside quotes), with its elements in `liste`; otherwise the text.
bool zerlegen(QByteArrayView s, QString& text, QStringList& liste) {
    const qsizetype n = s.size();
    bool istListe = false, inAnfuehrung = false, angefuehrt = false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    qsizetype i = 0;
    qsizetype kuerzenBis = 0;  // blanks at the end are cut back to here, unless quoted
    const auto weiter = [&](bool blanks) {
        while (blanks && i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
        kuerzenBis = text.size();
    };
    const auto fertig = [&] {
        if (istListe) liste.append(text);
        return istListe;
    };
    weiter(true);
    while (i < n) {
        const char c = s[i];
        if (c == '\\') {
            if (++i >= n) return fertig();
            const char e = s[i++];
            const int basis = e == 'x' ? 16 : ziffer(e, 8) >= 0 ? 8 : 0;
            if (const char zeichen = einfacheFolge(e)) {
                text += QLatin1Char(zeichen);
            } else if (basis != 0) {
                if (basis == 16 && i >= n) return fertig();
                if (basis == 8 || ziffer(s[i], 16) >= 0) {
                    char16_t wert = basis == 8 ? char16_t(ziffer(e, 8)) : 0;
                    while (i < n && ziffer(s[i], basis) >= 0) wert = char16_t(wert * basis + ziffer(s[i++], basis));
                    text += QChar(wert);
                    if (i >= n) return fertig();
                }
            } else if (zeilenEnde(e) && i < n && zeilenEnde(s[i]) && s[i] != e) {
                ++i;  // any other escaped character is dropped
            }
            weiter(false);
        } else if (c == '"') {
            ++i;
            angefuehrt = true;
            inAnfuehrung = !inAnfuehrung;
            if (!inAnfuehrung) weiter(true);
        } else if (c == ',' && !inAnfuehrung) {
            if (!angefuehrt) randBlanksKuerzen(text, kuerzenBis);
            if (!istListe) liste.clear();
            istListe = true;
            liste.append(text);
            text.clear();
            angefuehrt = false;
            ++i;
            weiter(true);
        } else {
            qsizetype j = i + 1;
            while (j < n && s[j] != '\\' && s[j] != '"' && s[j] != ',') ++j;
            text += utf8(s.sliced(i, j - i));
            i = j;
        }
    }
    if (!angefuehrt) randBlanksKuerzen(text, kuerzenBis);
    return fertig();
}

// How many arguments QSettings counts in "@Point(1 2)": one per blank or ")".
qsizetype argumente(const QString& s, qsizetype klammer) {
    return std::count_if(s.begin() + klammer + 1, s.end(), [](QChar c) { return c == u' ' || c == u')'; });
}

// A text as QSettings turns it into a value.
QVariant alsVariant(const QString& s) {
    if (s.startsWith(u'@') && s.endsWith(u')')) {
        if (s.startsWith(u"@ByteArray(")) return QStringView(s).sliced(11).chopped(1).toLatin1();
        if (s.startsWith(u"@String(")) return QStringView(s).sliced(8).chopped(1).toString();
        if (s.startsWith(u"@Variant(") || s.startsWith(u"@DateTime(")) {
            const bool zeit = s[1] == u'D';
            QByteArray bytes = QStringView(s).sliced(zeit ? 10 : 9).toLatin1();
            QDataStream strom(&bytes, QIODevice::ReadOnly);
            strom.setVersion(zeit ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            QVariant wert;
            strom >> wert;
            return wert;
        }
        if (s.startsWith(u"@Rect(")) {
            if (argumente(s, 5) == 4) return QRect();
        } else if (s.startsWith(u"@Size(")) {
            if (argumente(s, 5) == 2) return QSize();
        } else if (s.startsWith(u"@Point(")) {
            if (argumente(s, 6) == 2) return QPoint();
        } else if (s == u"@Invalid()") {
            return {};
        }
    }
    return s.startsWith(u"@@") ? s.sliced(1) : s;
}

std::optional<std::string> alsText(const QVariant& wert) {
    switch (wert.typeId()) {
    case QMetaType::QString:
        return wert.toString().toStdString();
    case QMetaType::QStringList:
        return wert.toStringList().join(u", ").toStdString();
    case QMetaType::QVariantList: {
        QStringList texte;
        const QVariantList elemente = wert.toList();
        for (const QVariant& element : elemente) {
            const std::optional<std::string> text = alsText(element);
            if (!text) return std::nullopt;
            texte << QString::fromStdString(*text);
        }
        return texte.join(u", ").toStdString();
    }
    case QMetaType::QByteArray:
        return wert.toByteArray().toStdString();
    default:
        return std::nullopt;
    }
}

std::optional<std::string> wertAus(QByteArrayView roh) {
    QString text;
    QStringList liste;
    if (!zerlegen(roh, text, liste)) return alsText(alsVariant(text));
    if (std::any_of(liste.begin(), liste.end(), [](const QString& e) { return e.startsWith(u'@') && !e.startsWith(u"@@"); })) {
        QVariantList werte;
        for (const QString& element : std::as_const(liste)) werte << alsVariant(element);
        return alsText(werte);
    }
    for (QString& element : liste) {
        if (element.startsWith(u'@')) element.remove(0, 1);
    }
    return liste.join(u", ").toStdString();
}

// A key or section name as QSettings writes it.
QByteArray nameText(const QString& name) {
    QByteArray text;
    for (const QChar z : name) {
        const char16_t c = z.unicode();
        const bool einfach = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                             c == '-' || c == '.';
        if (c == '/') {
            text += '\\';
        } else if (einfach) {
            text += char(c);
        } else {
            text += (c <= 0xFF ? QByteArray("%") : QByteArray("%U")) +
                    QByteArray::number(c, 16).toUpper().rightJustified(c <= 0xFF ? 2 : 4, '0');
        }
    }
    return text;
}

QByteArray kopfText(const QString& abschnitt) {
    const QByteArray name = nameText(abschnitt);
    if (name.isEmpty()) return "[General]";
    return name.compare("general", Qt::CaseInsensitive) == 0 ? "[%" + name + "]" : "[" + name + "]";
}

// The text written, counting the line breaks at its end.
class Ausgabe {
public:
    explicit Ausgabe(QIODevice& neu) : m_neu(neu) {}

    void text(QByteArrayView t) {
        if (t.isEmpty()) return;
        roh(t);
        qsizetype umbrueche = 0;
        while (umbrueche < 2 && umbrueche < t.size() && t[t.size() - 1 - umbrueche] == '\n') ++umbrueche;
        m_umbrueche = umbrueche == t.size() ? std::min(2, m_umbrueche + int(umbrueche)) : int(umbrueche);
        m_leer = false;
    }

    // Bytes that count as nothing written yet (a byte-order mark).
    void roh(QByteArrayView t) { m_ok = m_ok && m_neu.write(t.data(), t.size()) == t.size(); }

    // Ends what was written with `n` line breaks, unless nothing was written.
    void absatz(int n) {
        while (!m_leer && m_umbrueche < n) text("\n");
    }

    bool ok() const { return m_ok; }

private:
    QIODevice& m_neu;
    bool m_ok = true;
    bool m_leer = true;
    int m_umbrueche = 0;
};

} // namespace

Gelesen lesen(QIODevice& datei, const QString& abschnitt, const std::vector<QString>& schluessel) {
    QHash<QString, int> gesucht;
    for (std::size_t i = 0; i < schluessel.size(); ++i) gesucht.insert(voll(abschnitt, schluessel[i]), int(i));
    const QSet<QString> abschnitte = abschnitteFuer(gesucht.keys());
    Gelesen gelesen;
    gelesen.werte.resize(schluessel.size());
    std::vector<qsizetype> tiefe(schluessel.size(), -1);  // of the section the value came from
    Zeilenleser leser(datei);
    QString aktuell;
    bool betrifft = true;
    Zeile zeile;
    while (leser.naechste(zeile)) {
        if (zeile.text.startsWith('[')) {
            aktuell = abschnittAus(zeile.text, gelesen.beschaedigt);
            betrifft = abschnitte.contains(aktuell);
        } else if (zeile.gleich < 0) {
            gelesen.beschaedigt = true;
        } else if (betrifft) {
            const auto treffer = gesucht.constFind(voll(aktuell, nameAus(zeile.text.first(zeile.gleich))));
            if (treffer != gesucht.constEnd() && aktuell.size() >= tiefe[*treffer]) {
                tiefe[*treffer] = aktuell.size();
                gelesen.werte[*treffer] = wertAus(zeile.text.sliced(zeile.gleich + 1));
            }
        }
    }
    gelesen.vollstaendig = !leser.fehler();
    return gelesen;
}

QByteArray wertText(const std::string& wert) {
    const QByteArrayView roh(wert);
    const bool utf8 = roh.isValidUtf8();
    QByteArray text = !utf8 ? "@ByteArray(" : roh.startsWith('@') ? "@" : "";
    bool anfuehren = false;
    bool hexFolgt = false;  // a hexadecimal digit after "\x..." would join it
    for (qsizetype i = 0; i < roh.size(); ++i) {
        const uchar c = uchar(roh[i]);
        anfuehren = anfuehren || c == ';' || c == ',' || c == '=';
        const bool bom = utf8 && roh.sliced(i).startsWith(Bom);
        const char folge = c == '"' || c == '\\' ? char(c) : c >= '\a' && c <= '\r' ? "abtnvfr"[c - '\a'] : 0;
        if ((hexFolgt && ziffer(char(c), 16) >= 0) || bom || (c < 0x20 && folge == 0) || (!utf8 && c >= 0x7F)) {
            text += "\\x" + QByteArray::number(bom ? 0xFEFF : c, 16);
            hexFolgt = true;
            i += bom ? Bom.size() - 1 : 0;
            continue;
        }
        hexFolgt = false;
        if (folge != 0) {
            text += '\\';
            text += folge;
        } else {
            text += char(c);
        }
    }
    if (!utf8) text += ')';
    return anfuehren || text.startsWith(' ') || text.endsWith(' ') ? '"' + text + '"' : text;
}

bool schreiben(QIODevice* alt, const std::vector<Eintrag>& eintraege, QIODevice& neu) {
    // The sections written, in the order of their first entry, and their keys.
    QList<QString> abschnitte;
    QSet<QString> geschrieben;
    for (const Eintrag& eintrag : eintraege) {
        if (!abschnitte.contains(eintrag.abschnitt)) abschnitte << eintrag.abschnitt;
        geschrieben.insert(voll(eintrag.abschnitt, eintrag.schluessel));
    }
    const QSet<QString> betroffen = abschnitteFuer(geschrieben.values());

    // Where each section goes, and the lines that go: those of the keys
    // written, and the heading of a written section left without lines.
    std::vector<qsizetype> stelle(abschnitte.size(), -1);
    std::vector<std::pair<qsizetype, qsizetype>> weg;
    qsizetype ersterKopf = -1, bom = 0;
    bool ohneAbschnitt = false;  // lines before the first heading remain
    if (alt != nullptr) {
        Zeilenleser leser(*alt);
        QString aktuell;
        qsizetype block = -1;
        std::pair<qsizetype, qsizetype> kopf;
        bool leer = false;
        bool unbenutzt = false;
        Zeile zeile;
        const auto blockEnde = [&] {
            if (block >= 0 && leer) weg.push_back(kopf);
        };
        while (leser.naechste(zeile)) {
            if (zeile.text.startsWith('[')) {
                blockEnde();
                aktuell = abschnittAus(zeile.text, unbenutzt);
                block = abschnitte.indexOf(aktuell);
                kopf = {zeile.leerAb, zeile.ende};
                leer = true;
                if (ersterKopf < 0) ersterKopf = zeile.anfang;
                if (block >= 0 && stelle[block] < 0) stelle[block] = zeile.anfang;
            } else if (zeile.gleich >= 0 && betroffen.contains(aktuell) &&
                       geschrieben.contains(voll(aktuell, nameAus(zeile.text.first(zeile.gleich))))) {
                weg.emplace_back(zeile.leerAb, zeile.ende);
            } else {
                leer = false;
                ohneAbschnitt = ohneAbschnitt || ersterKopf < 0;
            }
        }
        blockEnde();
        if (leser.fehler() || !alt->seek(0)) return false;
        bom = leser.bomLaenge();
    }
    const qsizetype neueStelle = ersterKopf >= 0 ? ersterKopf : bom;
    for (qsizetype& s : stelle) s = s < 0 ? neueStelle : s;
    std::vector<qsizetype> folge(abschnitte.size());
    for (std::size_t i = 0; i < folge.size(); ++i) folge[i] = qsizetype(i);
    std::stable_sort(folge.begin(), folge.end(), [&](qsizetype a, qsizetype b) { return stelle[a] < stelle[b]; });
    std::sort(weg.begin(), weg.end());

    Ausgabe ausgabe(neu);
    qsizetype pos = bom;
    ausgabe.roh(Bom.first(bom));
    bool ok = alt == nullptr || alt->seek(bom);
    int leerzeilen = 0;  // after new lines: the old text follows without its blanks, after so many line breaks
    const auto kopieren = [&](qsizetype bis) {  // the old text from pos to `bis` (-1: the end)
        QByteArray stueck;
        while (ok && alt != nullptr && (bis < 0 || pos < bis)) {
            stueck.resize(bis < 0 ? Stueck : std::min(Stueck, bis - pos));
            const qint64 gelesen = alt->read(stueck.data(), stueck.size());
            ok = gelesen > 0 || (gelesen == 0 && bis < 0);
            if (gelesen <= 0) break;
            QByteArrayView text = QByteArrayView(stueck).first(gelesen);
            pos += gelesen;
            if (leerzeilen > 0) {
                while (!text.isEmpty() && istLeer(text.front())) text = text.sliced(1);
                if (text.isEmpty()) continue;
                ausgabe.absatz(leerzeilen);
                leerzeilen = 0;
            }
            ausgabe.text(text);
        }
    };
    auto naechsterWeg = weg.begin();
    for (std::size_t k = 0; k < folge.size(); ++k) {
        const qsizetype i = folge[k];
        for (; naechsterWeg != weg.end() && naechsterWeg->first < stelle[i]; ++naechsterWeg) {
            kopieren(naechsterWeg->first);
            pos = naechsterWeg->second;
            ok = ok && alt->seek(pos);
        }
        kopieren(stelle[i]);
        ausgabe.absatz(2);
        ausgabe.text(kopfText(abschnitte[i]) + '\n');
        for (const Eintrag& eintrag : eintraege) {
            if (eintrag.abschnitt == abschnitte[i]) ausgabe.text(nameText(eintrag.schluessel) + '=' + wertText(eintrag.wert) + '\n');
        }
        leerzeilen = 2;
        if (ersterKopf < 0 && ohneAbschnitt && k + 1 == folge.size()) {  // the old lines stay outside every section
            ausgabe.absatz(2);
            ausgabe.text("[General]\n");
            leerzeilen = 1;
        }
    }
    for (; naechsterWeg != weg.end(); ++naechsterWeg) {
        kopieren(naechsterWeg->first);
        pos = naechsterWeg->second;
        ok = ok && alt->seek(pos);
    }
    kopieren(-1);
    return ok && ausgabe.ok();
}

} // namespace wk::ini
