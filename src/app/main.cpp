#include "app/marlowick_app.h"

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)

int main(int argc, char **argv)
{
    return MarlowickApp::run(argc, argv);
}
