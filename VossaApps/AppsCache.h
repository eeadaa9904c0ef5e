#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The file that keeps the last good feed between launches.
namespace VossaApps {

// The name of the cache file inside the identifier's folder.
inline constexpr const char *cacheFileName = "vossa-apps.json";

// The identifier naming the cache folder: the running application's desktop
// identifier (its reverse-DNS name), or the maker's fallback.
QString cacheAppIdentifier();
// <per-user data folder>/<identifier>/vossa-apps.json, or nothing when the
// platform reports no per-user data folder.
std::optional<QString> cacheLocation();
// The cached bytes, or nothing when there is no cache, it cannot be read, or
// it holds more than `maxBytes` (then it is not read at all).
std::optional<QByteArray> readCache(qint64 maxBytes);
// Replaces the cache with these bytes in one step, so a reader never sees a
// half-written file. Failures are ignored: the cache is only a convenience.
void writeCache(const QByteArray &bytes);

} // namespace VossaApps
