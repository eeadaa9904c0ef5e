#pragma once

#include "BatchProgress.h"
#include "BatchRun.h"

#include "MetaloomFeature/Engine/ChangeReport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The texts that close a change of one or several files, and the progress
// line while one runs. Plain functions of the outcomes, shared by the window
// and programs without one.
namespace Metaloom::BatchReportTexts {

// "1 item", "3 items".
QString itemCount(qsizetype count);

// "Removed all metadata from 3 items."
QString removedFromItems(qsizetype count);
// "Removed all metadata from photo.jpg."
QString removedFromFile(const QString &fileName);

// How a change ends for the user: a status line when everything asked
// happened (or the user stopped it), an alert otherwise.
struct Report {
    QString status;
    QString alertTitle;
    QString alertText;

    bool isAlert() const { return !alertText.isEmpty(); }
    bool operator==(const Report &) const = default;
};

// "photo.jpg: " and the reason the file was left as it was.
QString failureLine(const FileOutcome &file);

// Where a batch the user stopped ended: "Stopped before d.jpg; it and the
// 13 files after it were left as they were."
QString stoppedSentence(const BatchRun::Outcome &outcome);

// Stripping every loaded file.
Report stripReport(const BatchRun::Outcome &outcome);
// Stripping the one file the user chose.
Report stripFileReport(const FileOutcome &file);
// Applying a preset to every loaded file.
Report presetReport(const QString &presetName, const BatchRun::Outcome &outcome);

// "Removing metadata: 3 of 17 — photo.jpg"; "Stopping after photo.jpg…"
// once the user cancelled.
QString progressText(const BatchProgress &progress);

} // namespace Metaloom::BatchReportTexts
