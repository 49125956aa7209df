// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/iniwerte.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QDataStream>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

namespace wk::ini {

namespace {

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

} // namespace

std::optional<std::string> wertLesen(QByteArrayView roh) {
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

QString nameLesen(QByteArrayView roh) {
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

} // namespace wk::ini
