#pragma once

namespace QuickRenderer {

// Chooses Qt Quick's software renderer unless the user chose a renderer
// (QT_QUICK_BACKEND, QSG_RHI_BACKEND, or Qt's own option --device=NAME).
// Call before the application object exists.
void preferSoftware();

} // namespace QuickRenderer
