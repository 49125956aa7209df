// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessible>
#include <QStringList>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

// What the accessibility layer passes on to a screen reader: the texts of the
// announcements (elements of role Notification shown), in their order, and
// how many events it sent. One listens at a time; Qt's update handler is a
// plain function.
struct Mithoerer {
    QStringList ansagen;
    int ereignisse = 0;

    // Switches the accessibility on or off, as a screen reader does, through
    // Qt's platform layer.
    static void bildschirmleser(bool an) {
        QPlatformAccessibility* zugang = QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(zugang);
        zugang->setActive(an);
        QCOMPARE(QAccessible::isActive(), an);
    }

    // From now on this one listens; nothing listens after stop().
    void anfangen() {
        aktiv() = this;
        QAccessible::installUpdateHandler(&Mithoerer::hoeren);
    }
    static void stop() {
        QAccessible::installUpdateHandler(nullptr);
        aktiv() = nullptr;
    }

private:
    static Mithoerer*& aktiv() {
        static Mithoerer* mithoerer = nullptr;
        return mithoerer;
    }
    static void hoeren(QAccessibleEvent* ereignis) {
        Mithoerer* m = aktiv();
        if (!m) return;
        ++m->ereignisse;
        QAccessibleInterface* zugang = ereignis->accessibleInterface();
        if (ereignis->type() == QAccessible::ObjectShow && zugang && zugang->role() == QAccessible::Notification) {
            m->ansagen << zugang->text(QAccessible::Name);
        }
    }
};
