#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <cstdlib>

namespace Metaloom::Testing {

// The machine's own temporary folder, remembered before any test redirects
// TMPDIR, so nested or successive environments never live inside each other.
static QString systemTempPath()
{
    static const QString path = QDir::tempPath();
    return path;
}

TestEnvironment::TestEnvironment()
    : m_root(systemTempPath() + QStringLiteral("/metaloom-test-XXXXXX"))
{
    if (!m_root.isValid())
        qFatal("cannot create the test's temporary folder");
    for (const char *sub : {"tmp", "config", "home", "data", "cache", "work"})
        QDir(m_root.path()).mkpath(QString::fromLatin1(sub));

    QStandardPaths::setTestModeEnabled(true);
    setVariable("TMPDIR", root() + QStringLiteral("/tmp"));
    setVariable("HOME", homePath());
    setVariable("XDG_CONFIG_HOME", configPath());
    setVariable("XDG_DATA_HOME", root() + QStringLiteral("/data"));
    setVariable("XDG_CACHE_HOME", root() + QStringLiteral("/cache"));
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, configPath());
}

TestEnvironment::~TestEnvironment()
{
    for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
        if (it.value())
            qputenv(it.key().constData(), *it.value());
        else
            qunsetenv(it.key().constData());
    }
}

void TestEnvironment::setVariable(const char *name, const QString &value)
{
    if (!m_saved.contains(name)) {
        m_saved.insert(name, qEnvironmentVariableIsSet(name)
                                 ? std::optional<QByteArray>(qgetenv(name))
                                 : std::nullopt);
    }
    qputenv(name, value.toLocal8Bit());
}

QString TestEnvironment::tempPath() const
{
    return root() + QStringLiteral("/tmp");
}

QString TestEnvironment::configPath() const
{
    return root() + QStringLiteral("/config");
}

QString TestEnvironment::homePath() const
{
    return root() + QStringLiteral("/home");
}

QString TestEnvironment::workPath() const
{
    return root() + QStringLiteral("/work");
}

QString testDataFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("METALOOM_TESTDATA_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral("../shared/testdata") : fromEnvironment;
}

QString copyTestData(const QString &fileName, const QString &toFolder, const QString &asName)
{
    const QString source = QDir(testDataFolder()).filePath(fileName);
    const QString target = QDir(toFolder).filePath(asName.isEmpty() ? fileName : asName);
    QFile::remove(target);
    if (!QFile::copy(source, target))
        qFatal("cannot copy test data %s", qPrintable(source));
    QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return target;
}

} // namespace Metaloom::Testing
