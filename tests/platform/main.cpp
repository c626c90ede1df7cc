#include "support/test_main.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    return TestSupport::runRegisteredTests(argc, argv);
}
