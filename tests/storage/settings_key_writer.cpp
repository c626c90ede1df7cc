// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// Another program on the same settings file: sets one key through QSettings
// to 1, 2, ... COUNT, each time checking that the value it wrote last is
// still there. Exits 0 when all went through, 1 when a write failed, 2 when
// its value was undone by someone else.
#include <QCoreApplication>
#include <QSettings>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 1;
    QSettings settings(QString::fromLocal8Bit(argv[1]), QSettings::NativeFormat);
    const QString key = QString::fromLocal8Bit(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    for (int i = 1; i <= count; ++i) {
        settings.sync(); // reads the file again if it changed
        if (settings.value(key, 0).toInt() != i - 1)
            return 2;
        settings.setValue(key, i);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return 1;
    }
    return 0;
}
