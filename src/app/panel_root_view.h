#pragma once

#include "notch/panel_root_view_setup.h"

// How the panel's root view is built: the one place that decides what the
// panel shows. An empty factory leaves the stand-in black body.
PanelRootViewFactory panelRootViewFactory();
