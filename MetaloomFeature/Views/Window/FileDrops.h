#pragma once

#include <QList>
#include <QUrl>

class QMimeData;

namespace Metaloom {

// Files dropped on a window or pasted into it.
namespace FileDrops {

// The local files among dropped or pasted data (file managers offer them as
// text/uri-list), in the order given; other addresses and data are left out.
QList<QUrl> fileUrls(const QMimeData *data);

} // namespace FileDrops

} // namespace Metaloom
