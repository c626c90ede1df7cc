#include "support/test_main.h"

#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    return TestSupport::runRegisteredTests(argc, argv);
}
