// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/inidatei.h"

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>
#include <utility>

#include <QHash>
#include <QIODevice>
#include <QSet>

#include "platform/iniwerte.h"

namespace wk::ini {

namespace {

constexpr qsizetype Stueck = qsizetype{1} << 20;  // bytes read at a time

bool istLeer(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The bytes that end a plain run inside a line: [0] outside quotes, [1] inside.
constexpr std::array<std::array<bool, 256>, 2> Besonders = [] {
    std::array<std::array<bool, 256>, 2> b{};
    for (const char c : {'=', '\n', '\r', '\\', '"', ';'}) b[0][static_cast<unsigned char>(c)] = true;
    for (const char c : {'\\', '"'}) b[1][static_cast<unsigned char>(c)] = true;
    return b;
}();

// One line of the file as QSettings splits the text: it may run over several
// lines of the text inside quotes or after a backslash. [anfang, ende) are its
// bytes in the file; the blanks before it start at `leerAb`, after any comment
// lines. `text` holds its first LaengsteZeile bytes. `gleich` is the place of
// its first "=" outside quotes, or -1; it lies beyond `text` when that is cut.
struct Zeile {
    qint64 leerAb = 0;
    qint64 anfang = 0;
    qint64 ende = 0;
    QByteArrayView text;
    qint64 gleich = -1;

    // The key before "=", as far as it is held; else nullopt.
    std::optional<QString> schluessel() const {
        if (gleich < 0 || gleich > text.size()) return std::nullopt;
        return nameLesen(text.first(qsizetype(gleich)));
    }
};

// The lines of a file, read in pieces, never more than Obergrenze bytes of
// it. Memory holds one piece and at most LaengsteZeile bytes of a line that
// runs over its end, however long the line.
class Zeilenleser {
public:
    explicit Zeilenleser(QIODevice& datei) : m_datei(datei) {}

    bool naechste(Zeile& zeile) {
        if (m_gelesen == 0 && !m_ende) nachladen();
        enum class Teil { Vorlauf, Kommentar, Inhalt } teil = Teil::Vorlauf;
        bool inAnfuehrung = false, lang = false;
        int flucht = 0;  // 1: after a backslash; 2: after a backslash and a line end (a second one joins it)
        char fluchtEnde = 0;
        qsizetype von = 0;  // where the line's bytes in this piece begin
        zeile = Zeile{};
        zeile.leerAb = m_basis + m_pos;
        m_lang.clear();
        const auto halten = [&] {
            if (teil != Teil::Inhalt) return;
            const qsizetype platz = std::max<qsizetype>(0, LaengsteZeile - m_lang.size());
            m_lang.append(QByteArrayView(m_puffer).sliced(von, m_pos - von).first(std::min(platz, m_pos - von)));
            lang = true;
        };
        while (true) {
            if (m_pos == m_puffer.size()) {
                halten();
                if (!nachladen()) break;
                von = 0;
                continue;
            }
            const char c = m_puffer[m_pos];
            if (teil == Teil::Vorlauf) {
                if (istLeer(c) || c == ';') {
                    teil = c == ';' ? Teil::Kommentar : Teil::Vorlauf;
                    ++m_pos;
                    continue;
                }
                teil = Teil::Inhalt;
                zeile.anfang = m_basis + m_pos;
                von = m_pos;
            }
            if (teil == Teil::Kommentar) {
                if (zeilenEnde(c)) {
                    zeile.leerAb = m_basis + m_pos;
                    teil = Teil::Vorlauf;
                } else {
                    ++m_pos;
                }
                continue;
            }
            if (flucht == 1 || (flucht == 2 && zeilenEnde(c) && c != fluchtEnde)) {
                flucht = flucht == 1 && zeilenEnde(c) ? 2 : 0;
                fluchtEnde = c;
                ++m_pos;
                continue;
            }
            flucht = 0;
            if ((zeilenEnde(c) || c == ';') && !inAnfuehrung) break;
            if (c == '=' && !inAnfuehrung && zeile.gleich < 0) zeile.gleich = m_basis + m_pos - zeile.anfang;
            flucht = c == '\\' ? 1 : 0;
            inAnfuehrung = inAnfuehrung != (c == '"');
            ++m_pos;
            const std::array<bool, 256>& besonders = Besonders[inAnfuehrung];
            while (flucht == 0 && m_pos < m_puffer.size() && !besonders[static_cast<unsigned char>(m_puffer[m_pos])]) ++m_pos;
        }
        if (teil != Teil::Inhalt) return false;
        zeile.ende = m_basis + m_pos;
        if (lang) {
            zeile.text = m_lang;
        } else {
            zeile.text = QByteArrayView(m_puffer).sliced(von, std::min(m_pos - von, LaengsteZeile));
        }
        return true;
    }

    bool fehler() const { return m_fehler; }
    bool zuGross() const { return m_zuGross; }
    qsizetype bomLaenge() const { return m_bom; }
    qint64 gelesen() const { return m_gelesen; }

private:
    // The next piece in place of the one read; false at the end of the file
    // or of what is read of it.
    bool nachladen() {
        m_basis += m_puffer.size();
        m_pos = 0;
        m_puffer.resize(std::min<qint64>(Stueck, Obergrenze - m_gelesen));
        qint64 gelesen = m_puffer.isEmpty() ? 0 : m_datei.read(m_puffer.data(), m_puffer.size());
        if (m_puffer.isEmpty()) {
            char mehr = 0;
            m_zuGross = m_datei.read(&mehr, 1) > 0;
        }
        m_fehler = m_fehler || gelesen < 0;
        m_ende = gelesen <= 0;
        m_puffer.resize(std::max<qint64>(gelesen, 0));
        if (m_gelesen == 0 && m_puffer.startsWith(Bom)) {
            m_bom = Bom.size();
            m_pos = Bom.size();
        }
        m_gelesen += m_puffer.size();
        return !m_ende;
    }

    QIODevice& m_datei;
    QByteArray m_puffer;
    QByteArray m_lang;     // the held bytes of a line that runs over the end of a piece
    qint64 m_basis = 0;    // place in the file of m_puffer[0]
    qsizetype m_pos = 0;   // in m_puffer
    qint64 m_gelesen = 0;
    qsizetype m_bom = 0;
    bool m_ende = false;
    bool m_fehler = false;
    bool m_zuGross = false;
};

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
    return nameLesen(name);
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
    bool leer() const { return m_leer; }

private:
    QIODevice& m_neu;
    bool m_ok = true;
    bool m_leer = true;
    int m_umbrueche = 0;
};

} // namespace

Gelesen lesen(QIODevice& datei, const std::vector<QString>& schluessel) {
    QHash<QString, int> gesucht;
    for (std::size_t i = 0; i < schluessel.size(); ++i) gesucht.insert(schluessel[i], int(i));
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
        } else if (const std::optional<QString> name = zeile.schluessel(); betrifft && name) {
            const auto treffer = gesucht.constFind(voll(aktuell, *name));
            if (treffer != gesucht.constEnd() && aktuell.size() >= tiefe[*treffer]) {
                tiefe[*treffer] = aktuell.size();
                gelesen.werte[*treffer] = wertLesen(zeile.text.sliced(zeile.gleich + 1));
            }
        }
    }
    gelesen.vollstaendig = !leser.fehler();
    gelesen.zuGross = leser.zuGross();
    return gelesen;
}

Geschrieben schreiben(QIODevice* alt, const std::vector<Eintrag>& eintraege, QIODevice& neu) {
    QList<QString> abschnitte;  // written, in the order of their first entry
    QSet<QString> geschrieben, beruehrt;  // keys and sections written or removed
    for (const Eintrag& eintrag : eintraege) {
        if (!abschnitte.contains(eintrag.abschnitt) && eintrag.wert) abschnitte << eintrag.abschnitt;
        geschrieben.insert(voll(eintrag.abschnitt, eintrag.schluessel));
        beruehrt.insert(eintrag.abschnitt);
    }
    const QSet<QString> betroffen = abschnitteFuer(geschrieben.values());

    // The steps through the old text: where each section written goes (at
    // its first heading, a new one before the first heading of the file), and
    // the lines that go (those of the keys written, and the heading of a
    // section written left without lines).
    struct Schritt {
        qsizetype stelle;
        qsizetype ende;
        qsizetype abschnitt;  // -1: leave out [stelle, ende), -2: a heading left without lines; abschnitte.size(): "[General]"
    };
    std::vector<Schritt> schritte;
    std::vector<qsizetype> stelle(abschnitte.size(), -1);
    qint64 ersterKopf = -1, bom = 0, laenge = 0;
    bool ohneAbschnitt = false;  // lines outside every section remain
    if (alt != nullptr) {
        Zeilenleser leser(*alt);
        QString aktuell;
        Schritt kopf{0, 0, -2};
        bool leer = false, beschaedigt = false;
        const auto blockEnde = [&] {
            if (beruehrt.contains(aktuell) && leer) schritte.push_back(kopf);
        };
        Zeile zeile;
        while (leser.naechste(zeile)) {
            if (zeile.text.startsWith('[')) {
                blockEnde();
                aktuell = abschnittAus(zeile.text, beschaedigt);
                kopf = {zeile.leerAb, zeile.ende, -2};
                leer = true;
                ersterKopf = ersterKopf < 0 ? zeile.anfang : ersterKopf;
                const qsizetype i = abschnitte.indexOf(aktuell);
                if (i >= 0 && stelle[i] < 0) stelle[i] = zeile.anfang;
            } else if (const std::optional<QString> name = zeile.schluessel();
                       name && betroffen.contains(aktuell) && geschrieben.contains(voll(aktuell, *name))) {
                schritte.push_back({zeile.leerAb, zeile.ende, -1});
            } else {
                leer = false;
                ohneAbschnitt = ohneAbschnitt || ersterKopf < 0;
            }
        }
        blockEnde();
        if (leser.zuGross()) return Geschrieben::ZuGross;
        if (leser.fehler() || !alt->seek(0)) return Geschrieben::Fehler;
        bom = leser.bomLaenge();
        laenge = leser.gelesen();
    }
    const qsizetype neueStelle = ersterKopf >= 0 ? ersterKopf : bom;
    for (qsizetype i = 0; i < abschnitte.size(); ++i) schritte.push_back({stelle[i] < 0 ? neueStelle : stelle[i], 0, i});
    if (ersterKopf < 0 && ohneAbschnitt) schritte.push_back({bom, 0, abschnitte.size()});  // they stay outside
    std::sort(schritte.begin(), schritte.end(), [](const Schritt& a, const Schritt& b) {
        return std::tuple(a.stelle, a.abschnitt < 0, a.abschnitt) < std::tuple(b.stelle, b.abschnitt < 0, b.abschnitt);
    });

    Ausgabe ausgabe(neu);
    ausgabe.roh(Bom.first(bom));
    qsizetype pos = bom;
    bool ok = alt == nullptr || alt->seek(bom);
    int umbrueche = 0;  // after new lines: the old text follows without its blanks, after so many line breaks
    const auto kopieren = [&](qsizetype bis) {  // the old text from pos to `bis`
        QByteArray stueck;
        while (ok && alt != nullptr && pos < bis) {
            stueck.resize(std::min(Stueck, bis - pos));
            const qint64 gelesen = alt->read(stueck.data(), stueck.size());
            ok = gelesen > 0;
            if (!ok) break;
            pos += gelesen;
            QByteArrayView text = QByteArrayView(stueck).first(gelesen);
            while (umbrueche > 0 && !text.isEmpty() && istLeer(text.front())) text = text.sliced(1);
            if (umbrueche > 0 && !text.isEmpty()) {
                ausgabe.absatz(umbrueche);
                umbrueche = 0;
            }
            ausgabe.text(text);
        }
    };
    for (const Schritt& schritt : schritte) {
        kopieren(schritt.stelle);
        if (schritt.abschnitt < 0) {
            pos = schritt.ende;
            ok = ok && alt->seek(pos);
            // Without its section, the blanks after it go too: one line break stays.
            umbrueche = schritt.abschnitt == -2 ? std::max(umbrueche, 1) : umbrueche;
            continue;
        }
        ausgabe.absatz(2);
        if (schritt.abschnitt == abschnitte.size()) {
            ausgabe.text("[General]\n");
            umbrueche = 1;
            continue;
        }
        const QString& abschnitt = abschnitte[schritt.abschnitt];
        ausgabe.text(kopfText(abschnitt) + '\n');
        for (const Eintrag& eintrag : eintraege) {
            if (eintrag.abschnitt == abschnitt && eintrag.wert) ausgabe.text(nameText(eintrag.schluessel) + '=' + wertText(*eintrag.wert) + '\n');
        }
        umbrueche = 2;
    }
    kopieren(laenge);
    ausgabe.absatz(std::min(umbrueche, 1));
    return ok && ausgabe.ok() ? Geschrieben::Ok : Geschrieben::Fehler;
}

} // namespace wk::ini
