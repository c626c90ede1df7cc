#include "support/test_main.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return TestSupport::runRegisteredTests(argc, argv);
}
