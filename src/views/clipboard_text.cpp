// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/clipboard_text.h"

#include "views/text_bounds.h"

#include <QClipboard>
#include <QGuiApplication>

QString ClipboardText::start(int maxLength, bool selection)
{
    const QString text = QGuiApplication::clipboard()->text(selection ? QClipboard::Selection : QClipboard::Clipboard);
    return text.first(wholeCharactersWithin(text, maxLength));
}
