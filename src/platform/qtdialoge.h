// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/dienste.h"
#include "game/meldung.h"

namespace wk {

// The title of every box the game shows.
inline constexpr const char* Fenstertitel = "Wurfkrone";

// QMessageBox with one OK button and no icon; the text is plain text. Its
// parent is the application's active window, so it centres over the game.
class QtMeldung : public Meldung {
public:
    void zeigen(const std::string& text) override;
};

// QInputDialog with the prompt as plain text.
class QtEingabe : public Eingabe {
public:
    std::string fragen(const std::string& prompt, const std::string& vorgabe) override;
};

// QDesktopServices::openUrl; the address is taken as the user wrote it.
class QtLinkOeffner : public LinkOeffner {
public:
    void oeffnen(const std::string& adresse) override;
};

} // namespace wk
