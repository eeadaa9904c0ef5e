#include "TargetPath.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <QCoreApplication>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace Metaloom::TargetPath {

namespace {

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoder only decodes when its result is taken.
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

enum class BadPart { none, name, folder };

// An address made from raw bytes ("%FF" in a dropped URI list) still holds
// them: check the name and the folders separately.
BadPart badPartOfEncodedPath(const QUrl &fileUrl)
{
    const QByteArray raw =
        QByteArray::fromPercentEncoding(fileUrl.path(QUrl::FullyEncoded).toLatin1());
    if (isValidUtf8(raw))
        return BadPart::none;
    const qsizetype slash = raw.lastIndexOf('/');
    return isValidUtf8(raw.mid(slash + 1)) ? BadPart::folder : BadPart::name;
}

// A path already turned into text (a command-line argument, a path typed or
// read elsewhere) lost its invalid bytes: they became U+FFFD, and nothing
// exists under the replaced name. A name that really holds U+FFFD exists.
BadPart badPartOfDecodedPath(const QString &path)
{
    if (!path.contains(QChar::ReplacementCharacter) || QFileInfo::exists(path))
        return BadPart::none;
    const QFileInfo info(path);
    if (info.fileName().contains(QChar::ReplacementCharacter) &&
        (!info.path().contains(QChar::ReplacementCharacter) || QFileInfo::exists(info.path())))
        return BadPart::name;
    return info.path().contains(QChar::ReplacementCharacter) ? BadPart::folder : BadPart::none;
}

[[noreturn]] void refuse(const QString &message)
{
    throw PlatformError(message);
}

} // namespace

std::optional<QString> unhandledNameMessage(const QUrl &fileUrl)
{
    if (!fileUrl.isLocalFile())
        return std::nullopt;
    BadPart bad = badPartOfEncodedPath(fileUrl);
    if (bad == BadPart::none)
        bad = badPartOfDecodedPath(fileUrl.toLocalFile());
    const QString name = QFileInfo(fileUrl.toLocalFile()).fileName();
    switch (bad) {
    case BadPart::none:
        return std::nullopt;
    case BadPart::name:
        return QCoreApplication::translate(
                   "TargetPath", "“%1” cannot be opened: its name is not valid UTF-8 text, which "
                                 "Metaloom cannot handle. Rename the file, then add it again.")
            .arg(name);
    case BadPart::folder:
        return QCoreApplication::translate(
                   "TargetPath",
                   "“%1” cannot be opened: the name of a folder it is in is not valid "
                   "UTF-8 text, which Metaloom cannot handle. Rename the folder, then "
                   "add the file again.")
            .arg(name);
    }
    return std::nullopt;
}

QString forFile(const QUrl &fileUrl)
{
    if (!fileUrl.isLocalFile())
        refuse(QCoreApplication::translate("TargetPath", "“%1” is not a file on this computer.")
                   .arg(fileUrl.toDisplayString()));
    if (std::optional<QString> message = unhandledNameMessage(fileUrl))
        refuse(*message);

    const QFileInfo info(fileUrl.toLocalFile());
    const QString path = info.absoluteFilePath();
    struct stat status {};
    // stat follows links; a path that cannot be examined goes on to ExifTool,
    // which reports why it cannot be read.
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return path;
    const QString name = info.fileName();
    if (S_ISDIR(status.st_mode))
        refuse(
            QCoreApplication::translate(
                "TargetPath", "“%1” is a folder. Metaloom reads and writes the metadata of files.")
                .arg(name));
    if (S_ISFIFO(status.st_mode))
        refuse(
            QCoreApplication::translate("TargetPath", "“%1” is a named pipe, not a file. Metaloom "
                                                      "reads and writes the metadata of files.")
                .arg(name));
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        refuse(QCoreApplication::translate(
                   "TargetPath",
                   "“%1” is a device, not a file. Metaloom reads and writes the metadata of files.")
                   .arg(name));
    if (S_ISSOCK(status.st_mode))
        refuse(QCoreApplication::translate(
                   "TargetPath",
                   "“%1” is a socket, not a file. Metaloom reads and writes the metadata of files.")
                   .arg(name));
    refuse(QCoreApplication::translate(
               "TargetPath",
               "“%1” is not a regular file. Metaloom reads and writes the metadata of files.")
               .arg(name));
}

ChangeTarget forChange(const QUrl &fileUrl)
{
    const QString chosen = forFile(fileUrl);
    return ChangeTarget{resolved(chosen), chosen};
}

QString resolved(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    char buffer[PATH_MAX];
    if (::realpath(QFile::encodeName(absolute).constData(), buffer) == nullptr)
        return absolute;
    return QFile::decodeName(buffer);
}

} // namespace Metaloom::TargetPath
