// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The author's details behind the links of the start window and the About
// dialog. The addresses lie on domains reserved for examples.
namespace wk::autor {

inline constexpr const char* Name = "Orwen";
inline constexpr const char* Ort = "12345 Musterstadt";
inline constexpr const char* Email = "orwen@example.org";
// What the link labels show, and the address each one opens.
inline constexpr const char* Homepage = "www.orwen.example";
inline constexpr const char* HomepageAdresse = "https://www.orwen.example/";
inline constexpr const char* Weiterleitung = "orwen.example.net";
inline constexpr const char* WeiterleitungAdresse = "https://orwen.example.net/";

inline constexpr const char* MailBetreff = "Hallo";
inline constexpr const char* MailText = "Hallo Orwen";

} // namespace wk::autor
