// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// Links the program's QML module (a static plugin) into a test.
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)
