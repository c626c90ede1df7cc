// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/panel_root_view_setup.h"

class TodoStore;

// How the panel's root view is built: the one place that decides what the
// panel shows, the to-dos of store.
PanelRootViewFactory panelRootViewFactory(TodoStore *store);
