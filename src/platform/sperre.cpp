// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sperre.h"

#include <cerrno>
#include <utility>

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wk {

Sperre::Sperre(QString pfad, QString ordner) : m_pfad(std::move(pfad)), m_ordner(std::move(ordner)) {}

Sperre::~Sperre() {
    if (m_fd >= 0 && !m_imOrdner) {
        // Removed while still held: whoever waits on this file notices
        // that it is gone and makes a new one.
        ::unlink(QFile::encodeName(m_pfad).constData());
    }
    if (m_fd >= 0) ::close(m_fd);
}

Sperre::Stand Sperre::nehmen() {
    const QByteArray pfad = QFile::encodeName(m_pfad);
    for (;;) {
        int fd = ::open(pfad.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        m_imOrdner = fd < 0;
        if (m_imOrdner) fd = ::open(QFile::encodeName(m_ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return Stand::Unmoeglich;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int fehler = errno;
            ::close(fd);
            errno = fehler;
            return fehler == EWOULDBLOCK ? Stand::Besetzt : Stand::Unmoeglich;
        }
        struct stat offen{}, jetzt{};
        if (m_imOrdner || (::fstat(fd, &offen) == 0 && ::stat(pfad.constData(), &jetzt) == 0 &&
                           offen.st_ino == jetzt.st_ino && offen.st_dev == jetzt.st_dev)) {
            m_fd = fd;
            return Stand::Gehalten;
        }
        ::close(fd);  // its holder removed it meanwhile
    }
}

} // namespace wk
