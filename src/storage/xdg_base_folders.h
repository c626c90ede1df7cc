// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

// The user's base folders as the XDG Base Directory rules name them: a
// variable counts only when it holds an absolute path, else the default
// applies. Qt 6.4's QStandardPaths takes a relative one as it is, relative to
// whatever the current folder is.
namespace XdgBaseFolders {

// $XDG_CONFIG_HOME, or ~/.config.
QString configHome();
// $XDG_STATE_HOME, or ~/.local/state.
QString stateHome();

// Removes from the environment each of these variables (and
// XDG_RUNTIME_DIR, XDG_DATA_HOME, XDG_CACHE_HOME) whose value is not an
// absolute path, so that Qt, and every program started from here, falls back
// to the default as well. Call it first thing in main().
void dropRelativePaths();

} // namespace XdgBaseFolders
