#include "EmbeddedPreview.h"

#include "MetaloomFeature/Engine/FileSafety/TargetPath.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Metaloom::EmbeddedPreview {

namespace {

// Smallest first: the sidebar needs little, and the large ones take longer
// to copy out of the file and to decode.
const QStringList &previewTags()
{
    static const QStringList tags{QStringLiteral("ThumbnailImage"), QStringLiteral("PreviewImage"),
                                  QStringLiteral("JpgFromRaw")};
    return tags;
}

} // namespace

std::optional<Preview> fromOutput(const QByteArray &standardOutput)
{
    const QJsonDocument document = QJsonDocument::fromJson(standardOutput);
    const QJsonObject object = document.array().first().toObject();
    // With -b, ExifTool writes binary values in JSON as "base64:" and the data.
    const QLatin1String base64Prefix("base64:");
    for (const QString &tag : previewTags()) {
        const QString text = object.value(tag).toString();
        if (!text.startsWith(base64Prefix))
            continue;
        const QByteArray encoded = QByteArray::fromBase64(text.mid(base64Prefix.size()).toLatin1());
        if (encoded.isEmpty())
            continue;
        const int orientation = object.value(QStringLiteral("Orientation")).toInt(1);
        return Preview{encoded, orientation >= 1 && orientation <= 8 ? orientation : 1};
    }
    return std::nullopt;
}

QCoro::Task<std::optional<Preview>> extract(ResourceBundle bundle, QUrl fileUrl)
{
    // One run asks for all three; "#" gives the orientation as its number.
    QStringList arguments{QStringLiteral("-json"), QStringLiteral("-b")};
    for (const QString &tag : previewTags())
        arguments << QLatin1Char('-') + tag;
    arguments << QStringLiteral("-Orientation#") << TargetPath::forFile(fileUrl);
    const CommandOutput output = co_await ExifToolRunner::run(bundle, arguments, std::nullopt);
    co_return fromOutput(output.standardOutput);
}

} // namespace Metaloom::EmbeddedPreview
