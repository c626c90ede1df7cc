#include "support/test_main.h"

#include <QCoreApplication>

#include <ctime>

int main(int argc, char **argv)
{
    // Days are those of the system time zone, taken at first use: fix it,
    // with a daylight-saving change, before anything reads it.
    qputenv("TZ", "America/New_York");
    tzset();
    QCoreApplication app(argc, argv);
    return TestSupport::runRegisteredTests(argc, argv);
}
