#include "test_main.h"

#include <QList>
#include <QStringList>
#include <QTest>

#include <utility>

namespace TestSupport {

namespace {

QList<std::pair<QByteArray, Factory>> &registry()
{
    static QList<std::pair<QByteArray, Factory>> tests;
    return tests;
}

} // namespace

bool registerTest(const char *name, Factory factory)
{
    registry().append({QByteArray(name), std::move(factory)});
    return true;
}

int runRegisteredTests(int argc, char **argv)
{
    // "-class NAME" picks one class; every other argument goes to QTest.
    QByteArray onlyClass;
    QList<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (qstrcmp(argv[i], "-class") == 0 && i + 1 < argc) {
            onlyClass = argv[++i];
            continue;
        }
        args.append(argv[i]);
    }
    int failures = 0;
    for (const auto &[name, factory] : std::as_const(registry())) {
        if (!onlyClass.isEmpty() && name != onlyClass)
            continue;
        const std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), int(args.size()), args.data());
    }
    return failures == 0 ? 0 : 1;
}

} // namespace TestSupport
