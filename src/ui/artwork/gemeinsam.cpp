// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The helpers every picture shares: colours, canvas, fonts, noise, the pool.

#include "ui/artwork/gemeinsam.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cmath>

namespace wk::artwork::intern {

QColor rgb(QRgb wert, int alpha)
{
    return QColor(qRed(wert), qGreen(wert), qBlue(wert), alpha);
}

QColor getoent(QRgb grund, double licht)
{
    const auto kanal = [licht](int c) { return static_cast<int>(std::lround(getoenterKanal(c, licht))); };
    return QColor(kanal(qRed(grund)), kanal(qGreen(grund)), kanal(qBlue(grund)));
}

qreal klemmeDpr(qreal dpr)
{
    return std::isfinite(dpr) ? std::clamp(dpr, kMinDpr, kMaxDpr) : kMinDpr;
}

QImage leinwand(QSize logisch, qreal dpr)
{
    QImage bild(qRound(logisch.width() * dpr), qRound(logisch.height() * dpr),
                QImage::Format_ARGB32_Premultiplied);
    bild.setDevicePixelRatio(dpr);
    bild.fill(Qt::transparent);
    return bild;
}

void glatt(QPainter& p)
{
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
}

QPixmap alsPixmap(QImage bild)
{
    const qreal dpr = bild.devicePixelRatio();
    QPixmap pix = QPixmap::fromImage(std::move(bild));
    pix.setDevicePixelRatio(dpr);
    return pix;
}

void alleAufPool(const std::vector<std::function<void()>>& auftraege)
{
    if (QThreadPool::globalInstance()->contains(QThread::currentThread())) {
        for (const auto& auftrag : auftraege)
            auftrag();
        return;
    }
    QSemaphore fertig;
    for (const auto& auftrag : auftraege) {
        QThreadPool::globalInstance()->start([&auftrag, &fertig] {
            auftrag();
            fertig.release();
        });
    }
    fertig.acquire(static_cast<int>(auftraege.size()));
}

QFont schrift(double pixel, QFont::Weight gewicht, bool serifen)
{
    QFont f;
    f.setFamilies(serifen ? QStringList{QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif")}
                          : QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixel))));
    f.setWeight(gewicht);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

double zufall(int x, int y, std::uint32_t saat)
{
    const std::uint32_t h = mische(static_cast<std::uint32_t>(x) * 0x9E3779B1U
                                   ^ mische(static_cast<std::uint32_t>(y) + saat * 0x85EBCA77U));
    return (h & 0xFFFFFF) / double(0x1000000);
}

} // namespace wk::artwork::intern
