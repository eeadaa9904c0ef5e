#include "ResourceBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace Metaloom {

QString ResourceBundle::bundleDirectoryName()
{
    return QStringLiteral(METALOOM_BUNDLE_NAME);
}

ResourceBundle::ResourceBundle(QString directory) : m_directory(std::move(directory)) {}

std::optional<QString> ResourceBundle::pathForResource(const QString &name,
                                                       const QString &extension) const
{
    const QString fileName = extension.isEmpty() ? name : name + QLatin1Char('.') + extension;
    const QString path = QDir(m_directory).filePath(fileName);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return path;
}

std::optional<ResourceBundle> ResourceBundle::locate(const QStringList &candidateFolders)
{
    for (const QString &folder : candidateFolders) {
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        const QString bundlePath = QDir(folder).filePath(bundleDirectoryName());
        if (QFileInfo(bundlePath).isDir())
            return ResourceBundle(QDir::cleanPath(bundlePath));
    }
    return std::nullopt;
}

static QString folderOfThisCode()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&folderOfThisCode), &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
}

QStringList ResourceBundle::defaultCandidateFolders()
{
    QString exeDir = QCoreApplication::applicationDirPath();
    if (exeDir.isEmpty())
        exeDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QStringList folders{QDir::cleanPath(exeDir + QStringLiteral("/../share/metaloom")), exeDir};
    const QString codeDir = folderOfThisCode();
    if (!codeDir.isEmpty() && !folders.contains(codeDir))
        folders << codeDir;
    return folders;
}

const ResourceBundle &ResourceBundle::application()
{
    static const ResourceBundle bundle = [] {
        if (auto found = locate(defaultCandidateFolders()))
            return *found;
        std::fputs("unable to find bundle named MetaloomFeature_MetaloomFeature\n", stderr);
        std::fflush(stderr);
        std::exit(EXIT_FAILURE);
    }();
    return bundle;
}

} // namespace Metaloom
