// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/display_platform.h"

#include <QTest>

using namespace Qt::StringLiterals;

class StartupChecksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsThePlatformTheUserChose()
    {
        const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
        const QByteArray savedWayland = qgetenv("WAYLAND_DISPLAY");
        char program[] = "marlowick";
        char platformFlag[] = "-platform";
        char offscreen[] = "offscreen";
        char *withFlag[] = {program, platformFlag, offscreen, nullptr};
        char *plain[] = {program, nullptr};
        std::optional<X11Display::CheckConnection> x11Check;

        qunsetenv("QT_QPA_PLATFORM");
        QCOMPARE(DisplayPlatform::choose(3, withFlag, x11Check), std::nullopt);
        QVERIFY(!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
        QCOMPARE(DisplayPlatform::name(3, withFlag), QByteArray("offscreen")); // the option wins
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QCOMPARE(DisplayPlatform::choose(1, plain, x11Check), std::nullopt);
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("offscreen"));
        char xcbOption[] = "-platform=xcb:someoption";
        char *withXcb[] = {program, xcbOption, nullptr};
        QCOMPARE(DisplayPlatform::name(2, withXcb), QByteArray("xcb"));
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
        QCOMPARE(DisplayPlatform::name(1, plain), QByteArray("wayland"));

        // Wayland forced where no compositor answers: said, not run.
        qputenv("WAYLAND_DISPLAY", "marlowick-test-no-such-compositor");
        qputenv("QT_QPA_PLATFORM", "wayland");
        const auto problem = DisplayPlatform::choose(1, plain, x11Check);
        QVERIFY(problem && problem->contains(u"no Wayland compositor answers"_s));
        qputenv("QT_QPA_PLATFORM", saved);
        qputenv("WAYLAND_DISPLAY", savedWayland);
    }
};

QTEST_MAIN(StartupChecksTest)
#include "startup_checks_test.moc"
