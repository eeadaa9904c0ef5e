#include "FileAccess.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace Metaloom::FileAccess {

namespace {

// Access to local files needs no grant outside a sandbox.
bool startAccessing(const QUrl &fileUrl)
{
    return fileUrl.isLocalFile();
}

void stopAccessing(const QUrl &) {}

} // namespace

std::optional<QByteArray> bookmarkData(const QUrl &fileUrl)
{
    if (!fileUrl.isLocalFile())
        return std::nullopt;
    const QString canonical = QFileInfo(fileUrl.toLocalFile()).canonicalFilePath();
    if (canonical.isEmpty())
        return std::nullopt;
    return QFile::encodeName(canonical);
}

QHash<QString, QByteArray> bookmarksOf(const QList<QUrl> &fileUrls)
{
    QHash<QString, QByteArray> bookmarks;
    QHash<QString, QString> canonicalFolders;
    for (const QUrl &url : fileUrls) {
        if (!url.isLocalFile())
            continue;
        const ScopedAccess access(url);
        const QString path = url.toLocalFile();
        // One lstat a file: what the folder part resolves to is asked once.
        struct stat status;
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
            continue;
        const qsizetype slash = path.lastIndexOf(u'/');
        const QString name = path.mid(slash + 1);
        QString canonical;
        if (S_ISLNK(status.st_mode) || slash < 0 || name.isEmpty() || name == u'.' ||
            name == QLatin1String("..")) {
            // A link's target may lie anywhere: resolved in full.
            canonical = QFileInfo(path).canonicalFilePath();
        } else {
            const QString folder = slash == 0 ? QStringLiteral("/") : path.left(slash);
            auto known = canonicalFolders.constFind(folder);
            if (known == canonicalFolders.cend())
                known = canonicalFolders.insert(folder, QFileInfo(folder).canonicalFilePath());
            if (!known->isEmpty())
                canonical = (*known == QLatin1String("/") ? QString() : *known) + u'/' + name;
        }
        if (!canonical.isEmpty())
            bookmarks.insert(path, QFile::encodeName(canonical));
    }
    return bookmarks;
}

std::optional<ResolvedBookmark> resolveBookmark(const QByteArray &bookmark)
{
    const QString path = QFile::decodeName(bookmark);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::nullopt;
    return ResolvedBookmark{QUrl::fromLocalFile(path), false};
}

ScopedAccess::ScopedAccess(QUrl fileUrl) : m_url(std::move(fileUrl))
{
    m_accessing = startAccessing(m_url);
}

ScopedAccess::~ScopedAccess()
{
    if (m_accessing)
        stopAccessing(m_url);
}

ScopedAccess::ScopedAccess(ScopedAccess &&other) noexcept
    : m_url(std::move(other.m_url)), m_accessing(std::exchange(other.m_accessing, false))
{}

} // namespace Metaloom::FileAccess
