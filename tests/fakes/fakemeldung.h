// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/meldung.h"

#include <functional>
#include <string>
#include <vector>

// Records every message box and answers it at once. `waehrendOffen` runs while
// a box is "open", as other input or a timer tick would arrive then.
class FakeMeldung : public wk::Meldung {
public:
    void zeigen(const std::string& text) override {
        texte.push_back(text);
        if (waehrendOffen) waehrendOffen();
    }
    std::vector<std::string> texte;
    std::function<void()> waehrendOffen;
};
