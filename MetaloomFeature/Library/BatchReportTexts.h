#pragma once

#include "MetaloomFeature/Engine/ChangeReport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The status and alert texts that close a change of several files.
namespace Metaloom::BatchReportTexts {

// "1 item", "3 items".
QString itemCount(qsizetype count);

// "Removed all metadata from 3 items."
QString removedFromItems(qsizetype count);
// "Removed all metadata from photo.jpg."
QString removedFromFile(const QString &fileName);

// What a preset did to one file that took it only in part.
struct IncompleteFile {
    QString fileName;
    ChangeReport report;
    bool operator==(const IncompleteFile &) const = default;
};

struct PresetOutcome {
    QString presetName;
    qsizetype succeeded = 0;
    // The error texts of the files left unchanged, in list order.
    QStringList failures;
    // Files that count as changed but did not take every tag.
    QList<IncompleteFile> incomplete;
};

// The status line when every file took the whole preset; nothing otherwise.
std::optional<QString> presetStatus(const PresetOutcome &outcome);
// The alert text when some file failed or did not take every tag.
std::optional<QString> presetAlert(const PresetOutcome &outcome);

} // namespace Metaloom::BatchReportTexts
