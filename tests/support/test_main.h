#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace TestSupport {

using Factory = std::function<std::unique_ptr<QObject>()>;

// Adds a test class to the executable's run; used through MARLOWICK_TEST.
bool registerTest(const char *name, Factory factory);

// Runs every registered test class (or those named with -class NAME) and
// returns a non-zero status if any failed.
int runRegisteredTests(int argc, char **argv);

} // namespace TestSupport

#define MARLOWICK_TEST(Class)                                                                                          \
    static const bool Class##Registered =                                                                              \
        TestSupport::registerTest(#Class, [] { return std::unique_ptr<QObject>(new Class); });
