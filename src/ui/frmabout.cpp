// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/frmabout.h"

#include "game/dienste.h"
#include "ui/autor.h"
#include "ui/fenster.h"
#include "ui/klicklabel.h"
#include "ui/masse.h"

#include <QGroupBox>
#include <QPushButton>

namespace wk {
namespace {

constexpr QSize Innengroesse{394, 169};
constexpr Twips Frame1Ort{120, 0, 5715, 2415};
constexpr Twips Label4Ort{570, 315, 1965, 195};
constexpr Twips NameOrt{1140, 855, 3855, 375};
constexpr Twips OrtOrt{1020, 1200, 3855, 375};
constexpr Twips EmailOrt{960, 1560, 3855, 375};
constexpr Twips Label6Ort{1080, 2040, 3435, 195};
constexpr Twips OkOrt{4380, 240, 1020, 345};

QLabel* textLabel(QWidget* eltern, const QString& name, const QString& text, const Twips& ort) {
    auto* label = new QLabel(eltern);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAccessibleDescription(text);
    label->setGeometry(rechteck(ort));
    label->setFont(schrift(11));
    return label;
}

} // namespace

QString FrmAbout::versionsText() {
    return QStringLiteral("version: %1.%2.%3").arg(WK_VERSION_MAJOR).arg(WK_VERSION_MINOR).arg(WK_VERSION_PATCH);
}

FrmAbout::FrmAbout(LinkOeffner& links, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info Wurfkrone"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(Innengroesse);
    // No icon of its own: the dialog belongs to the start window.
    setWindowIcon(QIcon());

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(rechteck(Frame1Ort));

    auto* link = new KlickLabel(frame);
    link->setObjectName(QStringLiteral("Label4"));
    link->setText(QString::fromUtf8(autor::Homepage));
    link->setAccessibleDescription(link->text());
    link->setGeometry(rechteck(Label4Ort));
    QFont linkFont = schrift(11, true);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    link->setAlignment(Qt::AlignCenter);
    link->setStyleSheet(QStringLiteral("color: %1;").arg(QColor(farbe(0x00FF0000)).name()));
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &KlickLabel::clicked, this, [&links] { dokument_oeffnen(links, autor::HomepageAdresse); });

    textLabel(frame, QStringLiteral("Label1_0"), QString::fromUtf8(autor::Name), NameOrt);
    textLabel(frame, QStringLiteral("Label1_2"), QString::fromUtf8(autor::Ort), OrtOrt);
    textLabel(frame, QStringLiteral("Label1_3"), QString::fromUtf8(autor::Email), EmailOrt);

    QLabel* version = textLabel(frame, QStringLiteral("Label6"), versionsText(), Label6Ort);
    version->setFont(schrift(11, true));
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    version->setStyleSheet(QStringLiteral("color: %1;").arg(QColor(farbe(0x000000FF)).name()));

    auto* ok = new QPushButton(QStringLiteral("Ok"), frame);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(rechteck(OkOrt));
    ok->setFont(schrift(11, true));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    zentrieren(*this);
}

} // namespace wk
