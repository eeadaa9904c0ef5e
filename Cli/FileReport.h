#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What a command did to one file, and the texts that say so: one JSON
// object for scripts, one sentence for people, and the closing summary.
namespace Metaloom::Cli {

struct FileReport {
    enum class Outcome {
        // Everything asked happened (a dry run: nothing would change).
        complete,
        // The operation went through, but not everything asked happened
        // (a dry run: something would change).
        incomplete,
        // Nothing happened to the file.
        failed,
        // Nothing needed to happen: the file already was as asked. Complete
        // for scripts and the exit status; the summary says it apart.
        unchanged,
    };

    // The path as given.
    QString file;
    Outcome outcome = Outcome::complete;
    // Why it failed.
    QString error;
    QStringList notWritten;
    QStringList notRemoved;
    // Only for strip.
    std::optional<QStringList> remaining;
    // Only for dates: each date changed (or, in a dry run, to change), by
    // key, as it was and as it is; a tag added has no "before", a tag
    // removed no "after".
    std::optional<QList<std::pair<QString, std::pair<QString, QString>>>> dates;
    // The sentence shown on standard error without --json.
    QString line;

    bool ok() const { return outcome != Outcome::failed; }
    bool complete() const { return outcome == Outcome::complete || outcome == Outcome::unchanged; }
    bool operator==(const FileReport &) const = default;

    static FileReport failure(const QString &file, const QString &error);
};

// One line of JSON Lines, exactly the keys "file", "ok", "complete",
// "error" (null unless failed), "notWritten", "notRemoved" and, with
// `withRemaining` (strip), "remaining" (null for a file that failed, whose
// tags nobody read), in that order, then for a report of dates its
// "before" and "after" objects (by key, the dates changed); no line feed at
// the end.
QString jsonLine(const FileReport &report, bool withRemaining = false);

// How a command names each outcome in its summary, in the order listed:
// {complete, "changed"}, {incomplete, "changed in part"}, {failed, "failed"};
// an outcome without a label is not counted.
struct SummaryWords {
    QList<std::pair<FileReport::Outcome, QString>> labels;
};

// "3 files changed, 1 failed": the outcomes that happened, the first with
// the word "file(s)"; "No files" when there were none.
QString summary(const QList<FileReport> &reports, const SummaryWords &words);

// "12/300 photo.jpg": the progress line, made to fit `columns` (0: no
// limit) so that rewriting it in place never wraps.
QString progressLine(qsizetype done, qsizetype total, const QString &shownPath, int columns);

} // namespace Metaloom::Cli
