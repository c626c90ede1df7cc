// Links the program's QML module (a static plugin) into a test.
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)
