#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace Metaloom {

// A directory of resources, looked up by name, standing in for an
// application resource bundle.
class ResourceBundle {
public:
    // The directory name under which the application keeps its resources.
    static QString bundleDirectoryName();

    explicit ResourceBundle(QString directory);

    QString directory() const { return m_directory; }

    // Path of the named resource (a file or folder), or nothing when absent.
    // An empty extension means the name is used as it is.
    std::optional<QString> pathForResource(const QString &name,
                                           const QString &extension = QString()) const;

    // The first candidate folder that holds the bundle directory.
    static std::optional<ResourceBundle> locate(const QStringList &candidateFolders);

    // Where the installed or freshly built application keeps its bundle:
    // <exe dir>/../share/metaloom, the executable's folder, and the folder of
    // the code that contains this function when that differs.
    static QStringList defaultCandidateFolders();

    // The application's bundle, looked up once per process. When it cannot be
    // found the program stops with a message, since it cannot work without it.
    static const ResourceBundle &application();

    bool operator==(const ResourceBundle &) const = default;

private:
    QString m_directory;
};

} // namespace Metaloom
