// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <string_view>

class QLabel;
class QMessageBox;

namespace wk {

// Text that comes from a player or from the settings file reaches the screen
// through these functions only. It is shown exactly as it stands: never read
// as markup (Qt decides by itself that a label or tooltip holding "<b>" or
// "<img src=…>" is rich text, and would load such an image), never as an
// access key.

// `text` between U+2068 FIRST STRONG ISOLATE and U+2069 POP DIRECTIONAL
// ISOLATE: a player's text placed into a text of the program, whose
// direction must not spill into the text around it. Empty stays empty.
QString isoliert(const QString& text);

// A text of the game (UTF-8) with every character it holds: unlike
// QString::fromStdString, a leading byte-order mark is kept. Bytes that are
// not UTF-8 become U+FFFD.
QString ausUtf8(std::string_view text);

// The text as one line: tabs and line breaks become blanks.
QString einzeilig(const QString& text);

// A tooltip that shows `text` literally, line breaks included; the empty text
// for an empty one (no tooltip).
QString klartextTooltip(const QString& text);

// Texts are shown and measured up to this many characters; a longer one is
// cut there and ends in "…" (longer than any name the input box takes).
inline constexpr qsizetype LaengsterText = 4096;

// Shows `text` as plain text in one line, elided at the right when it does not
// fit the label; an isolate cut by the elision is closed after the "…". The
// full text (up to LaengsterText characters) is the label's tooltip (when
// elided) and its accessible description. Does nothing when the text is
// unchanged.
void zeigeText(QLabel& label, const QString& text);

// A label that shows a player's text alone: zeigeText() of isoliert(text).
void zeigeName(QLabel& label, const QString& name);

// Sets the text of a message box as plain text; a line wider than `breite`
// logical pixels is shortened in the middle, so that a very long name does
// not stretch the box past the screen. Of a line longer than twice
// LaengsterText, only that many characters of its start and of its end are
// measured.
void zeigeText(QMessageBox& box, const QString& text, int breite);

} // namespace wk
