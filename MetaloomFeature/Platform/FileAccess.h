#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace Metaloom::FileAccess {

// Stands in for sandbox bookmarks: a record that lets the program reach a
// file the user granted again later. Here a bookmark is the file's canonical
// path and access is always granted; a sandboxed build can swap in a portal
// behind the same calls.

// A bookmark for the file, or nothing when it does not exist.
std::optional<QByteArray> bookmarkData(const QUrl &fileUrl);
// The bookmarks of many files at once, by local path, as bookmarkData
// gives them; each folder is resolved once, which a drop of thousands of
// files from a few folders needs. A file that does not exist has none.
QHash<QString, QByteArray> bookmarksOf(const QList<QUrl> &fileUrls);

struct ResolvedBookmark {
    QUrl url;
    // The bookmark should be recreated from the resolved URL.
    bool isStale = false;
};

// The file a bookmark leads to, or nothing when it is gone.
std::optional<ResolvedBookmark> resolveBookmark(const QByteArray &bookmark);

// Opens access to the file for as long as it lives.
class ScopedAccess {
public:
    explicit ScopedAccess(QUrl fileUrl);
    ~ScopedAccess();
    ScopedAccess(ScopedAccess &&other) noexcept;
    ScopedAccess &operator=(ScopedAccess &&) = delete;
    ScopedAccess(const ScopedAccess &) = delete;
    ScopedAccess &operator=(const ScopedAccess &) = delete;

    const QUrl &url() const { return m_url; }
    bool isAccessing() const { return m_accessing; }

private:
    QUrl m_url;
    bool m_accessing = false;
};

} // namespace Metaloom::FileAccess
