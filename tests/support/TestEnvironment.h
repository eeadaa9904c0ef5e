#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace Metaloom::Testing {

// Points everything a test could leave behind at a fresh temporary folder:
// the preferences (QSettings and XDG folders, the thumbnail cache among
// them), the shared data folders (XDG_DATA_DIRS: only the MIME database and
// the icon themes are linked in, so no installed thumbnailer runs), the
// temporary folder (TMPDIR), and HOME, so a test never reads or writes the
// real user's files. Create one
// per test function; the previous environment comes back on destruction.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    QString root() const { return m_root.path(); }
    QString tempPath() const;
    QString configPath() const;
    QString homePath() const;
    // $XDG_DATA_HOME: a test's own thumbnailers go into its "thumbnailers".
    QString dataPath() const { return root() + QStringLiteral("/data"); }
    // $XDG_DATA_DIRS.
    QString sharedDataPath() const;
    // A folder for the test's own files (copies of test data, fake bundles).
    QString workPath() const;

private:
    void setVariable(const char *name, const QString &value);
    void linkSystemData();

    QTemporaryDir m_root;
    QHash<QByteArray, std::optional<QByteArray>> m_saved;
};

// Folder of the real camera files shipped for the tests (read-only).
QString testDataFolder();

// Copies a file of the test data into a folder and returns the copy's path;
// tests change only copies.
QString copyTestData(const QString &fileName, const QString &toFolder,
                     const QString &asName = QString());

} // namespace Metaloom::Testing
