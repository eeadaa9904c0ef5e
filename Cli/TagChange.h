#pragma once

#include "Command.h"
#include "Operations.h"

#include "MetaloomFeature/Model/Preset.h"

#include <variant>

// What `set` and `apply-preset` share: the tags to change, how each file
// is changed (or, in a dry run, compared with what was asked) and the
// report of it.
namespace Metaloom::Cli::TagChange {

// The assignments of "--tag KEY=VALUE" and "--remove KEY", or the mistake.
// A key given again with --tag adds an item (keys compare without regard to
// letter case, as ExifTool's do); a key both set and removed is a mistake,
// as is a key or value the engine would refuse.
std::variant<QList<TagAssignment>, QString> fromOptions(const QStringList &tags,
                                                        const QStringList &removals);

// A preset's removals, then its values, as the window applies them; a
// value of no text deletes the tag.
QList<TagAssignment> fromPreset(const Preset &preset);

FileReport changed(const QString &file, const ChangeReport &result);
// Compared with what the file holds: a value it does not hold yet would be
// written (notWritten), a tag it holds would be removed (notRemoved);
// complete when nothing would change.
FileReport compared(const QString &file, const QList<TagAssignment> &assignments,
                    const StoredTags &stored);

QCoro::Task<FileReport> apply(Operations *files, FileOperands::File file,
                              QList<TagAssignment> assignments, bool dryRun);

SummaryWords words(bool dryRun);

} // namespace Metaloom::Cli::TagChange
