#pragma once

#include "TagAssignment.h"

#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QCoroTask>
#include <QString>

namespace Metaloom::StripAll {

// Strips every tag ExifTool can remove from the target into `outputPath`;
// further attempts write to `retryOutputPath` first.
// Some formats need a part that the stripping list deletes (a raw file's
// image directory, a multi-page TIFF's second page): ExifTool then refuses
// the whole list. The strip is then made again from "-all=" alone, taking
// back in each further deletion (or group of them) that ExifTool accepts, so
// everything else still goes. Only when
// ExifTool refuses even "-all=" alone does the strip fail, with its first
// refusal. A minor error ("Error: [minor] ...") is about the file, not about
// a deletion: it ends the strip at once.
// The `kept` tags are copied back from the file in each attempt, so they stay.
// The `needless` deletions (WriteArguments::needlessStripDeletions) are
// never asked. Either output may be left behind on failure: the caller
// removes them.
QCoro::Task<CommandOutput> run(ResourceBundle bundle, QString targetPath, QString outputPath,
                               QString retryOutputPath, QString temporaryDirectory,
                               ChangeOptions options = {}, QStringList kept = {},
                               QStringList needless = {});

} // namespace Metaloom::StripAll
