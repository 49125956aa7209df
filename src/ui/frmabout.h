// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

namespace wk {

class LinkOeffner;

// The About dialog: the author's address, a link to his web site and the
// program's version. It is not modal and deletes itself when closed.
class FrmAbout : public QDialog {
    Q_OBJECT

public:
    FrmAbout(LinkOeffner& links, QWidget* parent = nullptr);

    // "version: " followed by the program's version, e.g. "version: 1.0.0".
    static QString versionsText();
};

} // namespace wk
