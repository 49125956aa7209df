// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "game/dienste.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Answers input boxes from a queue, nullopt standing for Cancel; an empty
// queue accepts the preset. Records each "prompt|preset".
class FakeEingabe : public wk::Eingabe {
public:
    std::string fragen(const std::string& prompt, const std::string& vorgabe) override {
        gefragt.push_back(prompt + "|" + vorgabe);
        const std::optional<std::string> antwort = antworten.empty() ? vorgabe : antworten.front();
        if (!antworten.empty()) antworten.pop_front();
        return antwort.value_or(std::string());
    }
    std::vector<std::string> gefragt;
    std::deque<std::optional<std::string>> antworten;
};

// Records the addresses handed to the desktop.
class FakeLinks : public wk::LinkOeffner {
public:
    void oeffnen(const std::string& adresse) override { geoeffnet.push_back(adresse); }
    std::vector<std::string> geoeffnet;
};
