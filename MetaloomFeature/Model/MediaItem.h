#pragma once

#include <QImage>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <optional>

namespace Metaloom {

// One imported file as the sidebar shows it.
struct MediaItem {
    QUuid id;
    QUrl url;
    QString fileName;
    QString fileType;
    std::optional<QImage> thumbnail;

    // Names the item after the file. The thumbnail starts absent: rendering
    // it takes a decode of the file, which the library runs off the main
    // thread and fills in when it is done.
    explicit MediaItem(const QUrl &url);

    bool operator==(const MediaItem &other) const;
};

size_t qHash(const MediaItem &item, size_t seed = 0) noexcept;

} // namespace Metaloom
