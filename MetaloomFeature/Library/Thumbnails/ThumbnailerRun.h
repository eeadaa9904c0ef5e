#pragma once

#include "Thumbnailers.h"

#include <QCoroTask>
#include <QImage>
#include <chrono>
#include <optional>

// One run of an installed thumbnailer for one file.
namespace Metaloom::ThumbnailerRun {

// How long a thumbnailer may take before it is killed: a video whose
// first frames are damaged can keep a decoder busy for minutes.
inline constexpr std::chrono::milliseconds defaultTimeLimit{10000};

// Runs the thumbnailer's command for the file, asking for a picture of the
// edge, directly (never through a shell), its output going to a private
// temporary folder. Resumes on the thread that started it (the main thread:
// the child is tied to it). The picture it wrote, or nothing when it failed
// to start, failed, ran past the time limit (then it and its process group
// are killed) or wrote no picture Qt can read.
QCoro::Task<std::optional<QImage>> make(Thumbnailers::Thumbnailer thumbnailer, QString path,
                                        int edge,
                                        std::chrono::milliseconds timeLimit = defaultTimeLimit);

} // namespace Metaloom::ThumbnailerRun
