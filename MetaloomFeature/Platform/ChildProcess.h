#pragma once

#include <QProcess>

// How every child process of ours (ExifTool, the thumbnailers) is set up
// and stopped.
namespace Metaloom::ChildProcess {

// The child is killed when our program dies, so a crash never leaves
// ExifTool writing a large file nobody waits for; it leads a process group
// of its own, so that whatever it starts is stopped with it; and the files
// it creates are private to the user until their permissions are set from
// the original's. Processes are started from the main thread: the death
// signal follows the thread that started the child.
void prepare(QProcess &process);

// Kills the child and its process group at once.
void killGroup(QProcess &process);

} // namespace Metaloom::ChildProcess
