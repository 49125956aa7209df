// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace wk {

// A modal input box with a prompt, the title "Wurfkrone" and a preset answer.
// Returns the text in the box when confirmed and the empty text when
// cancelled. Prompt and answer are plain text (UTF-8).
class Eingabe {
public:
    virtual ~Eingabe() = default;
    virtual std::string fragen(const std::string& prompt, const std::string& vorgabe) = 0;
};

// Hands an address to the desktop: a web address opens in the browser, a
// "mailto:" link a new message in the mail program. Failures are not reported.
class LinkOeffner {
public:
    virtual ~LinkOeffner() = default;
    virtual void oeffnen(const std::string& adresse) = 0;
};

// Opens a document or web address with the desktop's default program.
inline void dokument_oeffnen(LinkOeffner& links, const std::string& ziel) { links.oeffnen(ziel); }

} // namespace wk
