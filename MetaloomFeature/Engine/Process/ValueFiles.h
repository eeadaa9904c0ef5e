#pragma once

#include "ExifToolRunner.h"

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QByteArray>
#include <QCoroTask>
#include <QStringList>

#include <functional>

namespace Metaloom::ValueFiles {

// Some values go to ExifTool in a file ("-KEY<=FILE") instead of in the
// argument itself:
// - every value the kept process's argument channel cannot carry (a line
//   break together with "$" or "@", see StayOpenProtocol::encodeArgument):
//   in the argument, it made ExifTool run as a process of its own, which
//   costs the start of Perl and ExifTool, and
// - every value of more than 64 KiB: an argument list that has to run in a
//   process of its own is handed to the kernel, which refuses any single
//   argument over 128 KiB ("Argument list too long"); half of that keeps
//   every such list well clear of the limit, while the values people type
//   (a caption, a description) are far smaller and keep the cheaper path.
inline constexpr qsizetype longValueBytes = 64 * 1024;

// Whether an argument is an assignment ("-KEY=VALUE", "-KEY+=VALUE",
// "-KEY-=VALUE") whose value goes through a file.
bool needsFile(const QString &argument);

// The argument list with each such assignment turned into "-KEY<=PATH"
// ("-KEY+<=PATH", "-KEY-<=PATH"), where PATH is what `store` returns for
// the value's UTF-8 bytes; every other argument stays as it is.
QStringList divert(const QStringList &arguments,
                   const std::function<QString(const QByteArray &value)> &store);

// Whether ExifTool reads a path given after "<=" as it is: it expands
// "%d", "%f", "%e" and the like in such a name with the parts of the file
// it writes, and ExifTool 12.57 has no way to write a literal "%" there.
bool isLiteralFileName(const QString &path);

// Runs a change's argument list. Values that need it are written to files
// named `stem` + a number (private to the user) for the run and removed
// after it, whatever its outcome; a process that dies meanwhile leaves them
// to the sweep of the private folder, since `stem` is named after the
// change's claim. Where `stem` is not a literal file name for ExifTool, the
// values stay in their arguments.
QCoro::Task<CommandOutput> run(ResourceBundle bundle, QStringList arguments,
                               QString temporaryDirectory, QString stem);

} // namespace Metaloom::ValueFiles
