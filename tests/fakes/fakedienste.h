#pragma once

#include "game/dienste.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Answers input boxes from a queue; an empty optional stands for Cancel, an
// empty queue accepts the preset. Records each "prompt|preset".
class FakeEingabe : public wk::Eingabe {
public:
    std::string fragen(const std::string& prompt, const std::string& vorgabe) override {
        gefragt.push_back(prompt + "|" + vorgabe);
        if (antworten.empty()) return vorgabe;
        const std::optional<std::string> antwort = antworten.front();
        antworten.pop_front();
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
