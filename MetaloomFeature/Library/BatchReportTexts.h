#pragma once

#include "BatchProgress.h"
#include "BatchRun.h"

#include "MetaloomFeature/Engine/ChangeReport.h"
#include "MetaloomFeature/Engine/StripReport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <exception>
#include <optional>

// The texts that close a change of one or several files, and the progress
// line while one runs. Plain functions of the outcomes, shared by the window
// and programs without one.
namespace Metaloom::BatchReportTexts {

// "1 item", "3 items".
QString itemCount(qsizetype count);
// "1 tag", "3 tags".
QString tagCount(qsizetype count);

// "Removed all metadata from photo.jpg."
QString removedFromFile(const QString &fileName);

// How a change ends for the user: a status line when everything asked
// happened (or the user stopped it), an alert otherwise.
struct Report {
    QString status;
    QString alertTitle;
    QString alertText;
    // Some file was left as it was because ExifTool stopped at a minor
    // error: the alert offers to make the change there anyway.
    bool offersWriteAnyway = false;

    bool isAlert() const { return !alertText.isEmpty(); }
    bool operator==(const Report &) const = default;
};

// Whether the failure is ExifTool's own: it failed, refused the change or
// could not be found. A change refused before ExifTool ran, or a failure of
// the file system, is not.
bool isExifToolFailure(const std::exception_ptr &error);
// "ExifTool Error" for ExifTool's own failures; otherwise the title that
// says what failed.
QString failureTitle(const std::exception_ptr &error, const QString &otherwise);

// "photo.jpg: " and the reason the file was left as it was.
QString failureLine(const FileOutcome &file);

// Where a batch the user stopped ended: "Stopped before d.jpg; it and the
// 13 files after it were left as they were."
QString stoppedSentence(const BatchRun::Outcome &outcome);
// The alert's closing sentences: where the user stopped the batch, and the
// offer to make the change where ExifTool stopped at a minor error.
Report closed(Report report, const BatchRun::Outcome &outcome);

// What a change of tags did not do as asked, in the engine's sentences
// ("This MOV file has no place for IPTC:Keywords."); values stored in
// ExifTool's normal form are not mentioned.
QString changeDetails(const ChangeReport &report);

// The status after a save that reached the file: "Metadata saved
// successfully." when everything is stored as typed; otherwise what was
// not, e.g. "Metadata saved. 2 tags were not stored as typed.". Keys
// ExifTool does not know at all (`unknownKeys`, among the tags the file took
// no place for) are named.
QString saveStatus(const ChangeReport &report, qsizetype changedTags,
                   const QStringList &unknownKeys = {});
// "ExifTool doesn't know a tag named XMP-dc:Foo."; several: "ExifTool
// doesn't know tags named A, B."
QString unknownTagsSentence(const QStringList &keys);
// The warning of a row whose key ExifTool does not know.
QString unknownTagWarning(const QString &key);

// A strip of the one file the user chose that failed: an ExifTool error as
// such, with Write Anyway where ExifTool stopped at a minor problem.
Report stripFailureReport(const FileOutcome &file);
// Applying a preset to every loaded file.
Report presetReport(const QString &presetName, const BatchRun::Outcome &outcome);

// Copying metadata from one file (named; empty: from each file's partner)
// to the chosen files: "Copied metadata from a.jpg to 3 items."
Report copyReport(const QString &sourceName, const BatchRun::Outcome &outcome);

// Saving the edits of every modified file: "Saved the changes to 3 files.";
// one file is named.
Report saveAllReport(const BatchRun::Outcome &outcome);

// Adjusting dates, or putting back the previous ones: "Adjusted the dates
// of 3 items."
Report datesReport(bool restoring, const BatchRun::Outcome &outcome);

// "Removing metadata: 3 of 17 — photo.jpg"; "Stopping after photo.jpg…"
// once the user cancelled.
QString progressText(const BatchProgress &progress);

} // namespace Metaloom::BatchReportTexts
