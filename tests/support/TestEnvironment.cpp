#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    for (const char *sub : {"tmp", "config", "home", "data", "cache", "work", "share"})
        QDir(m_root.path()).mkpath(QString::fromLatin1(sub));

    QStandardPaths::setTestModeEnabled(true);
    setVariable("TMPDIR", root() + QStringLiteral("/tmp"));
    setVariable("HOME", homePath());
    setVariable("XDG_CONFIG_HOME", configPath());
    setVariable("XDG_DATA_HOME", root() + QStringLiteral("/data"));
    setVariable("XDG_CACHE_HOME", root() + QStringLiteral("/cache"));
    linkSystemData();
    setVariable("XDG_DATA_DIRS", sharedDataPath());
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

// The shared data folders hold the desktop's thumbnailers, which a test
// must not run; they also hold the MIME database (Qt has no copy of its own
// here) and the icon themes, which the tests need as they are.
void TestEnvironment::linkSystemData()
{
    QString systemDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (systemDirs.isEmpty())
        systemDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString &name : {QStringLiteral("mime"), QStringLiteral("icons")}) {
        for (const QString &dir : systemDirs.split(u':', Qt::SkipEmptyParts)) {
            const QString system = dir + u'/' + name;
            if (QFileInfo(system).isDir()) {
                QFile::link(system, sharedDataPath() + u'/' + name);
                break;
            }
        }
    }
}

QString TestEnvironment::sharedDataPath() const
{
    return root() + QStringLiteral("/share");
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
