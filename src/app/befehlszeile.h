// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace wk {

// Reads the program's options the usual Qt way (QCommandLineParser), before
// any window system is touched, so that it answers without a display too:
// --help and --version print their text and end the program with 0, an
// unknown option or any other argument is reported on standard error and
// ends it with 1. Qt's own options (-platform, -style, -reverse ...) are let
// through for QApplication. Without arguments it does nothing at all. The
// application's name and version must be set before.
void befehlszeileLesen(int& argc, char** argv);

} // namespace wk
