#pragma once

#include "ChangeReport.h"

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QByteArray>
#include <QCoroTask>
#include <QList>
#include <QSet>
#include <QStringList>

namespace Metaloom::ChangeReadBack {

// One tag a change sets or deletes ("-KEY=" with nothing after it deletes).
struct TagChange {
    QString key;
    bool deletes = false;
};

// ExifTool, one command per key, asked whether the file holds each tag.
// Each answer then belongs to exactly one key, whatever ExifTool calls the
// group it found the tag in ("EXIF:Artist" is read back as "IFD0:Artist",
// a key without a group lands wherever ExifTool put it).
QStringList arguments(const QStringList &keys, const QString &filePath);

// The keys whose answer in that run's output shows a tag. Throws
// ServiceError::invalidResponse when there is not one answer per key.
QSet<QString> keysFound(const QStringList &keys, const QByteArray &standardOutput);

// Runs that check on the file.
QCoro::Task<QSet<QString>> keysPresent(ResourceBundle bundle, QStringList keys, QString filePath);

// The keys of the change that did not take: set tags the file does not
// hold, deleted tags it still holds.
ChangeReport reportFor(const QList<TagChange> &changes, const QSet<QString> &present);

} // namespace Metaloom::ChangeReadBack
