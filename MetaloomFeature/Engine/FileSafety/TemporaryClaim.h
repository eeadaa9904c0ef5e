#pragma once

#include "FileLock.h"

#include <QString>
#include <optional>

namespace Metaloom {

// The files one operation keeps in the private temporary folder, all named
// after one identifier (an upper-case UUID): ExifTool's output "ID.ext", a
// further attempt's output ".ID-next.ext", and the operation's own hidden
// files ".ID.backup", ".ID.journal", ".ID.value-N" (ValueFiles). The lock
// file ".ID.lock" is held for the operation's life; files of an identifier
// whose lock nobody holds were left by a process that died.
class TemporaryClaim {
public:
    // Throws PlatformError when the folder takes no new file.
    static TemporaryClaim create(const QString &folder);

    const QString &id() const { return m_id; }
    // folder + "/" + ID + suffix
    QString path(const QString &suffix) const;
    // folder + "/." + ID + suffix
    QString hiddenPath(const QString &suffix) const;

    // The identifier a file name of this scheme belongs to, or nothing for a
    // name that is not ours.
    static std::optional<QString> idOfName(const QString &fileName);
    // folder + "/." + ID + suffix, for any identifier.
    static QString hiddenPath(const QString &folder, const QString &id, const QString &suffix);
    static QString lockPath(const QString &folder, const QString &id);

private:
    TemporaryClaim(QString folder, QString id, FileLock lock)
        : m_folder(std::move(folder)), m_id(std::move(id)), m_lock(std::move(lock))
    {}

    QString m_folder;
    QString m_id;
    FileLock m_lock;
};

} // namespace Metaloom
