#include "TagListingFile.h"

#include "MetaloomFeature/Engine/FileSafety/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <sys/stat.h>

namespace Metaloom::TagListingFile {

namespace {

// "MLTL": tells our file from any other at the first four bytes.
constexpr quint32 magic = 0x4D4C544C;
// Raised whenever the layout below or TagDefinition changes: a file of
// another format is rebuilt, never misread.
constexpr quint32 formatVersion = 1;
constexpr auto streamVersion = QDataStream::Qt_6_4;
constexpr auto digestKind = QCryptographicHash::Sha1;

// The version sits near the top of the script ("my $version = '12.57';").
QString versionIn(const QByteArray &head)
{
    static const QRegularExpression line(QStringLiteral("\\$version\\s*=\\s*['\"]([^'\"]+)['\"]"));
    const QRegularExpressionMatch found = line.match(QString::fromLatin1(head));
    return found.hasMatch() ? found.captured(1) : QString();
}

void writeStamp(QDataStream &out, const Stamp &stamp)
{
    out << stamp.version << stamp.size << stamp.modified;
}

QByteArray encodeTable(const TagTable &table)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << qint64(table.size());
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        out << it.key() << it->writable << it->isList << qint64(it->options.size());
        for (const EnumeratedOption &option : it->options)
            out << option.id << option.label;
    }
    return body;
}

std::optional<TagTable> decodeTable(const QByteArray &body)
{
    QDataStream in(body);
    in.setVersion(streamVersion);
    qint64 count = 0;
    in >> count;
    // Every definition takes more than one byte: a larger count is damage.
    if (count < 0 || count > body.size())
        return std::nullopt;
    TagTable table;
    table.reserve(count);
    for (qint64 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString key;
        TagDefinition definition;
        qint64 options = 0;
        in >> key >> definition.writable >> definition.isList >> options;
        if (options < 0 || options > body.size())
            return std::nullopt;
        definition.options.reserve(options);
        for (qint64 o = 0; o < options && in.status() == QDataStream::Ok; ++o) {
            EnumeratedOption option;
            in >> option.id >> option.label;
            definition.options.append(std::move(option));
        }
        table.insert(std::move(key), std::move(definition));
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return table;
}

} // namespace

std::optional<Stamp> stampOf(const QString &scriptPath)
{
    QFile script(scriptPath);
    if (!script.open(QIODevice::ReadOnly))
        return std::nullopt;
    struct stat status {};
    if (::fstat(script.handle(), &status) != 0)
        return std::nullopt;
    Stamp stamp;
    stamp.size = qint64(status.st_size);
    stamp.modified = qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
    stamp.version = versionIn(script.read(4096));
    return stamp;
}

QString location()
{
    const QString folder = PrivateFolder::cacheFolder();
    if (folder.isEmpty())
        return QString();
    return QDir(folder).filePath(QStringLiteral("tag-listing.cache"));
}

QByteArray encode(const TagTable &table, const Stamp &stamp)
{
    const QByteArray body = encodeTable(table);
    QByteArray content;
    QDataStream out(&content, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << magic << formatVersion;
    writeStamp(out, stamp);
    out << QCryptographicHash::hash(body, digestKind) << body;
    return content;
}

std::optional<TagTable> decode(const QByteArray &content, const Stamp &stamp)
{
    QDataStream in(content);
    in.setVersion(streamVersion);
    quint32 foundMagic = 0;
    quint32 foundFormat = 0;
    in >> foundMagic >> foundFormat;
    if (in.status() != QDataStream::Ok || foundMagic != magic || foundFormat != formatVersion)
        return std::nullopt;
    Stamp found;
    in >> found.version >> found.size >> found.modified;
    if (in.status() != QDataStream::Ok || found != stamp)
        return std::nullopt;
    QByteArray digest;
    QByteArray body;
    in >> digest >> body;
    if (in.status() != QDataStream::Ok || !in.atEnd() ||
        digest != QCryptographicHash::hash(body, digestKind))
        return std::nullopt;
    return decodeTable(body);
}

std::optional<TagTable> read(const QString &path, const Stamp &stamp)
{
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(file.readAll(), stamp);
}

bool write(const QString &path, const TagTable &table, const Stamp &stamp)
{
    if (path.isEmpty())
        return false;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            return false;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = encode(table, stamp);
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace Metaloom::TagListingFile
