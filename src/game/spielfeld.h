// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>

namespace wk {

// Positions are in twips of the game window's client area (15 twips are one
// pixel at 96 dpi).
inline constexpr int TwipsJePixel = 15;

// Which stored picture a die box shows: none, the face Image1(index) with
// index + 1 pips (index 0..5), or the tumbling frame würfel(index) (0..8).
enum class BildArt { Keines, Seite, Wurf };

struct Bild {
    BildArt art = BildArt::Keines;
    int index = 0;
    bool operator==(const Bild&) const = default;
};

// A picture box holding at most one die. `Tag` is the die's value "1".."6";
// an empty Tag means the box holds no die.
struct Wuerfelbox {
    std::string Tag;
    bool Visible = true;
    bool Enabled = true;
    int Left = 0;
    int Top = 0;
    Bild Picture;
};

struct Knopf {
    bool Visible = true;
    bool Enabled = true;
};

struct Textzeile {
    std::string Caption;
    bool Visible = false;
};

// Everything the game window shows, as the window looks right after it was
// created. The window draws this and nothing else; the rules change it.
struct Spielfeld {
    // 0..12 the category cells, 13 the grand total, 14 the rolls made this
    // turn, 15 the Runde text, 16 "noch N" (categories left).
    std::array<std::string, 17> Zahlen = filled<17>("0");
    // 0 upper sum, 1 bonus, 2 upper total with bonus, 3 lower sum.
    std::array<std::string, 4> Label1 = filled<4>("0");
    std::string Label3 = "Label3";                 // status line
    std::array<Textzeile, 6> Label2 = zeilen("Vornamen"); // player names, index player - 1
    std::array<Textzeile, 6> Punkt = zeilen("0");         // player points, index player - 1

    // The 13 category buttons, indexed by the cell they write (0..12).
    std::array<Knopf, 13> Kategorien = filled<13>(Knopf{true, false});

    Knopf Command3{false, true};   // "Würfeln": reset the table, then roll
    Knopf Command17{true, true};   // "Würfeln": roll the dice as they lie

    std::array<Wuerfelbox, 5> w1 = tischEntwurf();    // the table
    std::array<Wuerfelbox, 5> Raus = ablageEntwurf(); // the tray; never disabled

    // The five animation timers, always started and stopped together.
    bool Timer1 = false;

private:
    template <std::size_t N, typename T>
    static std::array<T, N> filled(const T& wert) {
        std::array<T, N> a;
        a.fill(wert);
        return a;
    }
    template <std::size_t N>
    static std::array<std::string, N> filled(const char* wert) {
        return filled<N>(std::string(wert));
    }
    static std::array<Textzeile, 6> zeilen(const char* text) {
        return filled<6>(Textzeile{text, false});
    }
    static std::array<Wuerfelbox, 5> tischEntwurf();
    static std::array<Wuerfelbox, 5> ablageEntwurf();
};

// Fixed places of the tray boxes and the rest places of the table boxes.
inline constexpr std::array<int, 5> AblageLeft{4200, 5280, 6360, 7560, 8640};
inline constexpr std::array<int, 5> AblageTop{1680, 1680, 1680, 1680, 1665};
inline constexpr std::array<int, 5> RuheLeft{3840, 5160, 6480, 7800, 9000};
inline constexpr int RuheTop = 3720;

// Each table box tumbles with its top-left corner in Left L(i)..L(i)+359,
// Top 3360..4099, where L(i) = 3600 + 1320 i.
inline constexpr int WurfLeft(int i) { return 3600 + 1320 * i; }
inline constexpr int WurfTop = 3360;
inline constexpr int WurfBreite = 360;
inline constexpr int WurfHoehe = 740;

inline constexpr int TischGroesse = 750;   // table box, twips
inline constexpr int AblageGroesse = 855;  // tray box, twips

} // namespace wk
