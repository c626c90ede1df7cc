// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

namespace QuickRenderer {

// Chooses Qt Quick's software renderer unless the user chose a renderer
// (QT_QUICK_BACKEND or QSG_RHI_BACKEND set). Call before the application
// object exists.
void preferSoftware();

} // namespace QuickRenderer
