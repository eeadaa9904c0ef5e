#pragma once

#include "MetaloomFeature/Engine/PrivacyClasses.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "MetaloomFeature/Engine/PrivacyStripReport.h"

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

// The reports' order in a batch: the files with anything left first, each
// part in its own order. Answers the indexes into `reports`.
QList<qsizetype> leftFirst(const QList<PrivacyStripReport> &reports);

} // namespace Metaloom::PrivacyReportTexts
