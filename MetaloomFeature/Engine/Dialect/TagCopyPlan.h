#pragma once

#include "MetaloomFeature/Engine/Dialect/ChangeReadBack.h"
#include "MetaloomFeature/Engine/TagAssignment.h"
#include "MetaloomFeature/Engine/TagCopy.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which tags a copy of a family takes and how ExifTool is asked to copy them
// (its own "-TagsFromFile"), without a process: the engine reads the source
// for these keys, copies them, and judges the copy like any change of tags.
namespace Metaloom::TagCopyPlan {

// The keys of a family, each with its group, so that ExifTool writes every
// tag into the group it came from ("all" for everything).
QStringList keysFor(CopyFamily family);

// Whether a tag the source printed (with all its groups) is one the copy
// takes: ExifTool never copies the file system's attributes, its own
// computed tags or a camera's maker notes tag by tag.
bool isCopied(const QString &printedKey);

// The source's tags for those keys, one per tag, named as the window names
// tags, as the assignments the new file must hold afterwards.
QList<TagAssignment> copiedTags(const ChangeReadBack::FileAnswers &source, const QStringList &keys);

// The arguments of one copy: "-P", "-m" when minor errors are ignored,
// "-TagsFromFile", the source, "-KEY" for each key, "-o", output, and the
// target last. Both paths are absolute, so a name with a leading dash is
// never taken for an option (nor a source named "@" for the target itself).
// IPTC that is not Latin-1 is stored as UTF-8, as a change of tags does.
QStringList arguments(const QString &sourcePath, const QStringList &keys,
                      const QList<TagAssignment> &copied, const QString &outputPath,
                      const QString &targetPath, const ChangeOptions &options = {});

// What the copy would change in a target that holds `target` for the same
// keys: each copied tag whose items the target does not hold as they are.
QList<CopyDifference> differences(const QList<TagAssignment> &copied,
                                  const ChangeReadBack::FileAnswers &target);

} // namespace Metaloom::TagCopyPlan
