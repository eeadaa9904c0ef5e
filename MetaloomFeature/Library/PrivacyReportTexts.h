#pragma once

#include "MetaloomFeature/Engine/PrivacyClasses.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "MetaloomFeature/Engine/PrivacyStripReport.h"
#include "MetaloomFeature/Engine/StripProfile.h"
#include "MetaloomFeature/Library/BatchReportTexts.h"
#include "MetaloomFeature/Library/BatchRun.h"

#include <QList>
#include <QString>

// The texts of the privacy check and of the proof after a strip for
// sharing. Plain functions of the reports, shared by the window and the
// command line.
namespace Metaloom::PrivacyReportTexts {

// "Location", "People and owners", "Device", "Time", "Hidden pictures",
// "Edit history".
QString classTitle(PrivacyClass privacyClass);

// What is left after the strip, by class: "Photo.jpg: no location, no
// people, no device serial left. Kept: orientation, colour profile." or
// "CanonRaw.cr2: 3 device details could not be removed from this file type:
// SerialNumber, InternalSerialNumber, Make." with the tags blanked instead.
QString proof(const QString &fileName, const PrivacyStripReport &report);

// The profile as the window names it: "Everything", "Everything except
// orientation and colour profile", "Location only", "Personal and device
// details", or the name the user gave their own.
QString profileTitle(const StripProfile &profile);

// The end of a strip for sharing of one or several files: the proof of a
// single file, or of files that kept nothing of the profile, in the status;
// otherwise an alert with each file's proof, the files with anything left
// first, then the files that failed.
BatchReportTexts::Report proofReport(const QString &profileTitle, const BatchRun::Outcome &outcome);

// The reports' order in a batch: the files with anything left first, each
// part in its own order. Answers the indexes into `reports`.
QList<qsizetype> leftFirst(const QList<PrivacyStripReport> &reports);

} // namespace Metaloom::PrivacyReportTexts
