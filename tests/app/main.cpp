#include "support/test_main.h"

#include <QApplication>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return TestSupport::runRegisteredTests(argc, argv);
}
