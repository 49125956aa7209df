// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>

#include <QByteArray>
#include <QString>

// One value or name of a settings file in the INI format of QSettings
// (IniFormat), as Qt 6 reads and writes it.
namespace wk::ini {

// The UTF-8 byte-order mark, which may open the file and a value.
inline constexpr QByteArrayView Bom = "\xEF\xBB\xBF";

// A line of the file ends at "\n", "\r" or both ("\r\n", "\n\r").
constexpr bool zeilenEnde(char c) { return c == '\n' || c == '\r'; }

// The text of a value (the bytes after "=") as QSettings reads it: quotes,
// escapes, an unquoted comma making a list, "@" types, blanks at the ends.
// nullopt when it holds no text. A list of texts reads as its elements joined
// by ", ", a byte array as its bytes, a lone UTF-16 surrogate as "?"; other
// types ("@Point(1 2)", a number given as "@Variant(...)") hold no text.
std::optional<std::string> wertLesen(QByteArrayView roh);

// A value as it is written after "=", so that it reads back exactly, by
// QSettings and by wertLesen(). UTF-8 text is written as it is, except that
// control characters, quotes, backslashes and U+FEFF (which QSettings drops at
// the start of a value) are escaped, a leading "@" is doubled and quotes go
// around a value with ";", ",", "=" or blanks at its ends. Bytes that are not
// UTF-8 are written as QSettings' byte array "@ByteArray(...)", byte for byte.
QByteArray wertText(const std::string& wert);

// A key or section name as QSettings reads it ("\" is "/", "%XX" and
// "%UXXXX" are characters, blanks at the ends do not count) and writes it.
QString nameLesen(QByteArrayView roh);
QByteArray nameText(const QString& name);

} // namespace wk::ini
