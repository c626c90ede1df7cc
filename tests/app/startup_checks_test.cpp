// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/x11_display.h"

#include <QTest>

using namespace Qt::StringLiterals;

class StartupChecksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsThePlatformTheUserChose()
    {
        const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
        char program[] = "marlowick";
        char platformFlag[] = "-platform";
        char wayland[] = "wayland";
        char *withFlag[] = {program, platformFlag, wayland, nullptr};
        char *plain[] = {program, nullptr};

        qunsetenv("QT_QPA_PLATFORM");
        X11Display::preferXcbPlatform(3, withFlag);
        QVERIFY(!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
        X11Display::preferXcbPlatform(1, plain);
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb"));
        QVERIFY(X11Display::usesXcb(1, plain));
        QVERIFY(!X11Display::usesXcb(3, withFlag)); // the option wins over the variable
        char xcbOption[] = "-platform=xcb";
        char *withXcb[] = {program, xcbOption, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        X11Display::preferXcbPlatform(1, plain);
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("offscreen"));
        QVERIFY(!X11Display::usesXcb(1, plain));
        QVERIFY(X11Display::usesXcb(2, withXcb));
        qputenv("QT_QPA_PLATFORM", saved);
    }
};

QTEST_MAIN(StartupChecksTest)
#include "startup_checks_test.moc"
