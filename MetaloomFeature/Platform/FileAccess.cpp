#include "FileAccess.h"

#include <QFile>
#include <QFileInfo>

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
