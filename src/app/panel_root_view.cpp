#include "panel_root_view.h"

PanelRootViewFactory panelRootViewFactory()
{
    // The panel's views are not part of the program yet: until they are, the
    // panel shows its plain black body. They are built here, in the panel's
    // engine, from the setup the controller passes.
    return {};
}
