// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The pictures handed out: the functions of ui/artwork.h, each drawing one
// picture on a pool thread, and wk::Artwork, which draws the start window's
// pictures in one pool job and the game window's side by side, and keeps them.

#include "ui/artwork.h"
#include "ui/artwork/bilder.h"
#include "ui/artwork/gemeinsam.h"
#include "ui/artwork/symbol.h"

#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>

namespace wk {

using namespace artwork::intern;

namespace artwork {

QPixmap hintergrund(qreal dpr)
{
    return alsPixmap(aufPool([dpr] { return hintergrundBild(dpr); }));
}

QPixmap seite(int augen, qreal dpr)
{
    return alsPixmap(aufPool([augen, dpr] { return seitenBild(augen, dpr); }));
}

QPixmap wurfbild(int k, qreal dpr)
{
    k = std::clamp(k, 0, kWurfbilder - 1);
    dpr = klemmeDpr(dpr);
    return alsPixmap(aufPool([k, dpr] { return wurfBild(k, dpr); }));
}

QPixmap handZeiger(qreal dpr)
{
    return alsPixmap(aufPool([dpr] { return handBild(dpr); }));
}

QPixmap blockZeiger(int index, qreal dpr)
{
    return alsPixmap(aufPool([index, dpr] { return blockBild(index, dpr); }));
}

QPixmap linkZeiger(qreal dpr)
{
    return alsPixmap(aufPool([dpr] { return linkBild(dpr); }));
}

QPixmap mailZeiger(qreal dpr)
{
    return alsPixmap(aufPool([dpr] { return mailBild(dpr); }));
}

} // namespace artwork

// Drawn by a pool thread; read on the GUI thread once `fertig` has been acquired.
struct Artwork::Startbilder {
    std::array<QImage, kFensterSymbole> symbole{};
    QImage link{};
    QImage mail{};
    QSemaphore fertig{};
    bool abgeholt = false;

    const Startbilder& abgewartet()
    {
        if (!abgeholt) {
            fertig.acquire();
            abgeholt = true;
        }
        return *this;
    }
};

struct Artwork::Spielbilder {
    QPixmap hintergrund{};
    std::array<QPixmap, 6> seiten{};
    std::array<QPixmap, kWurfbilder> wurfbilder{};
    QCursor hand{};
    std::array<QCursor, kBloecke> bloecke{};
};

Artwork::Artwork(qreal dpr) : m_dpr(klemmeDpr(dpr)), m_start(std::make_shared<Startbilder>()) {}

Artwork::~Artwork() = default;

void Artwork::startbilderBeginnen() const
{
    if (m_startBegonnen)
        return;
    m_startBegonnen = true;
    // One job, in the order the start window needs the pictures, so that the
    // GUI thread and the X server keep a core meanwhile. The job holds the
    // pictures' storage, so it outlives an Artwork destroyed early.
    QThreadPool::globalInstance()->start([start = m_start, dpr = m_dpr] {
        start->link = linkBild(dpr);
        start->mail = mailBild(dpr);
        for (std::size_t i = 0; i < kFensterSymbole; ++i)
            start->symbole[i] = artwork::symbol(kSymbolGroessen[i]);
        start->fertig.release();
    });
}

const Artwork::Startbilder& Artwork::startbilder() const
{
    startbilderBeginnen();
    return m_start->abgewartet();
}

const Artwork::Spielbilder& Artwork::spielbilder() const
{
    if (m_spiel)
        return *m_spiel;

    // Every picture in a job of its own, side by side.
    const qreal dpr = m_dpr;
    QImage hintergrund, hand;
    std::array<QImage, 6> seiten;
    std::array<QImage, kBloecke> bloecke;
    std::array<QImage, kWurfbilder> wurf;
    std::vector<std::function<void()>> auftraege;
    auftraege.push_back([&] { hintergrund = hintergrundBild(dpr); });
    auftraege.push_back([&] { hand = handBild(dpr); });
    for (int k = 0; k < kWurfbilder; ++k)
        auftraege.push_back([&wurf, k, dpr] { wurf[static_cast<std::size_t>(k)] = wurfBild(k, dpr); });
    for (int i = 0; i < 6; ++i)
        auftraege.push_back([&seiten, i, dpr] { seiten[static_cast<std::size_t>(i)] = seitenBild(i + 1, dpr); });
    for (int i = 0; i < kBloecke; ++i)
        auftraege.push_back([&bloecke, i, dpr] { bloecke[static_cast<std::size_t>(i)] = blockBild(i, dpr); });
    alleAufPool(auftraege);

    auto bilder = std::make_unique<Spielbilder>();
    bilder->hintergrund = alsPixmap(std::move(hintergrund));
    for (std::size_t i = 0; i < seiten.size(); ++i)
        bilder->seiten[i] = alsPixmap(std::move(seiten[i]));
    for (std::size_t k = 0; k < wurf.size(); ++k)
        bilder->wurfbilder[k] = alsPixmap(std::move(wurf[k]));
    bilder->hand = QCursor(alsPixmap(std::move(hand)), 16, 16);
    for (std::size_t i = 0; i < bloecke.size(); ++i)
        bilder->bloecke[i] = QCursor(alsPixmap(std::move(bloecke[i])), 16, 16);
    m_spiel = std::move(bilder);
    return *m_spiel;
}

const QCursor& Artwork::linkCursor() const
{
    if (!m_link)
        m_link.emplace(alsPixmap(startbilder().link), 11, 1);
    return *m_link;
}

const QCursor& Artwork::mailCursor() const
{
    if (!m_mail)
        m_mail.emplace(alsPixmap(startbilder().mail), 2, 29);
    return *m_mail;
}

const QIcon& Artwork::icon() const
{
    startbilderBeginnen();
    if (!m_icon)
        m_icon.emplace(neuerSymbolmaler(
            [start = m_start](std::size_t i) -> const QImage& { return start->abgewartet().symbole[i]; }));
    return *m_icon;
}

const QPixmap& Artwork::hintergrund() const { return spielbilder().hintergrund; }

const QPixmap& Artwork::seite(int augen) const { return spielbilder().seiten[std::clamp(augen, 1, 6) - 1]; }

const QPixmap& Artwork::wurfbild(int k) const
{
    return spielbilder().wurfbilder[std::clamp(k, 0, kWurfbilder - 1)];
}

const QCursor& Artwork::handCursor() const { return spielbilder().hand; }

const QCursor& Artwork::blockCursor(int index) const
{
    return spielbilder().bloecke[std::clamp(index, 0, kBloecke - 1)];
}

} // namespace wk
