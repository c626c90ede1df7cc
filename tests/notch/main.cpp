#include "app/quick_renderer.h"
#include "support/test_main.h"

#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)

int main(int argc, char **argv)
{
    QuickRenderer::preferSoftware(); // drawn as the program draws
    QGuiApplication app(argc, argv);
    return TestSupport::runRegisteredTests(argc, argv);
}
