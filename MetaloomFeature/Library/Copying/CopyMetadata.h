#pragma once

#include "MetaloomFeature/Engine/TagCopy.h"
#include "MetaloomFeature/Model/MediaItem.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

// What the window's "Copy Metadata From…" works with: the families the user
// chooses from, the partner of a file shot as RAW and JPEG at once, and the
// request and preview the dialog shows.
namespace Metaloom {

// Every family, in the order the dialog lists them.
QList<CopyFamily> allCopyFamilies();
// "Everything writable", "Description and keywords", ...
QString copyFamilyName(CopyFamily family);

// The other file of a RAW+JPEG pair: a file in the same folder with the same
// base name and another extension, one of the two a JPEG and the other a
// camera raw file. Nothing when there is none (or more than one).
std::optional<QString> partnerFile(const QString &path);

// The copy the user is asked about: the files it changes, the loaded files
// that can give their tags, and whether each target has a partner to copy
// from instead.
struct CopyMetadataRequest {
    QUuid id = QUuid::createUuid();
    QList<MediaItem> targets;
    QList<MediaItem> sources;
    bool offersPartner = false;
    bool operator==(const CopyMetadataRequest &) const = default;
};

// Where a copy takes its tags from: one file for every target, or (nothing)
// each target's own partner.
using CopySource = std::optional<QUrl>;

// What the copy would change, per target, for the source and family the
// dialog shows now.
struct CopyPreviewState {
    CopySource source;
    CopyFamily family = CopyFamily::descriptionAndKeywords;
    bool isLoading = false;
    QList<CopyPreview> previews;
    // Why there is no preview, for the dialog to say.
    QString failure;
    bool operator==(const CopyPreviewState &) const = default;
};

} // namespace Metaloom
