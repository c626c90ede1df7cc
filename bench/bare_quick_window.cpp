// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// The floor of this stack: a Qt Quick window showing one rectangle. Prints
// "first frame" on stderr when its first frame is on the screen, then idles.
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nRectangle { width: 380; height: 520; color: \"black\" }", QUrl());
    auto *rectangle = qobject_cast<QQuickItem *>(component.create());
    if (!rectangle) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    QQuickWindow window;
    window.resize(380, 520);
    rectangle->setParentItem(window.contentItem());
    QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&] {
        static bool first = true;
        if (first) {
            first = false;
            std::fprintf(stderr, "first frame\n");
        }
    });
    window.show();
    return app.exec();
}
