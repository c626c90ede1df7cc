// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

// Qt's wayland platform loads its EGL buffer integration (Mesa and its
// software rasteriser, some 50 MB resident for as long as the program runs)
// as soon as anything asks whether OpenGL is there, although Qt Quick's
// software renderer draws into shared-memory buffers and needs none of it.
namespace SoftwareBuffers {

// With the software renderer, and unless the user chose a buffer
// integration (QT_WAYLAND_CLIENT_BUFFER_INTEGRATION), asks for none, and
// keeps the two warnings Qt then prints off stderr. Call before the
// application object exists.
void preferWithoutEgl();

} // namespace SoftwareBuffers
