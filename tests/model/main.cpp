#include "support/test_main.h"

#include <QCoreApplication>
#include <QLocale>

#include <ctime>

int main(int argc, char **argv)
{
    // The store's days are those of the system time zone, taken at first use:
    // fix it, with a daylight-saving change, before anything reads it.
    qputenv("TZ", "America/New_York");
    tzset();
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return TestSupport::runRegisteredTests(argc, argv);
}
