#include "BatchReportTexts.h"

#include "MetaloomFeature/Engine/ServiceError.h"

#include <QCoreApplication>
#include <QSet>

namespace Metaloom::BatchReportTexts {

namespace {

const QString paragraphBreak = QStringLiteral("\n\n");

// A count with its noun. The singular is a text of its own, so that the
// English texts need no translation loaded; the plural has numerus forms for
// languages with more than one.
QString counted(qsizetype count, const char *one, const char *many)
{
    if (count == 1)
        return QCoreApplication::translate("BatchReportTexts", one);
    return QCoreApplication::translate("BatchReportTexts", many, nullptr, int(count));
}

QString fileCount(qsizetype count)
{
    return counted(count, QT_TRANSLATE_NOOP("BatchReportTexts", "1 file"),
                   QT_TRANSLATE_N_NOOP("BatchReportTexts", "%n files"));
}

// The tags of a change that did not reach the file as asked, by what
// became of them, for reports without the engine's outcomes.
QString keysLine(const ChangeReport &report)
{
    QStringList parts;
    if (!report.tagsNotWritten.isEmpty())
        parts << QCoreApplication::translate("BatchReportTexts", "not written: %1")
                     .arg(report.tagsNotWritten.join(QStringLiteral(", ")));
    if (!report.tagsNotRemoved.isEmpty())
        parts << QCoreApplication::translate("BatchReportTexts", "not removed: %1")
                     .arg(report.tagsNotRemoved.join(QStringLiteral(", ")));
    return parts.join(QStringLiteral("; "));
}

// Which files did not take all of the preset's changes, and what they did
// with the rest.
QString incompleteSection(const QList<FileOutcome> &files)
{
    QStringList lines;
    for (const FileOutcome &file : files) {
        const QString details = changeDetails(file.report);
        lines << file.fileName +
                     (details.startsWith(QLatin1Char('(')) ? QStringLiteral(" ")
                                                           : QStringLiteral(": ")) +
                     details;
    }
    return QCoreApplication::translate("BatchReportTexts",
                                       "These files did not take all of the preset's changes:") +
           paragraphBreak + lines.join(paragraphBreak);
}

QString failureLines(const BatchRun::Outcome &outcome)
{
    QStringList lines;
    for (const FileOutcome &file : outcome.files) {
        if (!file.succeeded())
            lines << failureLine(file);
    }
    return lines.join(paragraphBreak);
}

qsizetype minorErrorCount(const BatchRun::Outcome &outcome)
{
    return std::count_if(outcome.files.cbegin(), outcome.files.cend(),
                         [](const FileOutcome &file) { return file.stoppedAtMinorError(); });
}

// `done` is the finished sentence on what was done to how many of all.
QString stoppedStatus(const QString &done, const BatchRun::Outcome &outcome)
{
    return done + QLatin1Char(' ') + stoppedSentence(outcome);
}

} // namespace

QString itemCount(qsizetype count)
{
    return counted(count, QT_TRANSLATE_NOOP("BatchReportTexts", "1 item"),
                   QT_TRANSLATE_N_NOOP("BatchReportTexts", "%n items"));
}

QString tagCount(qsizetype count)
{
    return counted(count, QT_TRANSLATE_NOOP("BatchReportTexts", "1 tag"),
                   QT_TRANSLATE_N_NOOP("BatchReportTexts", "%n tags"));
}

QString removedFromFile(const QString &fileName)
{
    return QCoreApplication::translate("BatchReportTexts", "Removed all metadata from %1.")
        .arg(fileName);
}

bool isExifToolFailure(const std::exception_ptr &error)
{
    if (!error)
        return false;
    try {
        std::rethrow_exception(error);
    } catch (const ServiceError &serviceError) {
        return serviceError.kind() != ServiceError::Kind::invalidInput;
    } catch (...) {
    }
    return false;
}

QString failureTitle(const std::exception_ptr &error, const QString &otherwise)
{
    return isExifToolFailure(error)
               ? QCoreApplication::translate("BatchReportTexts", "ExifTool Error")
               : otherwise;
}

QString failureLine(const FileOutcome &file)
{
    return file.fileName + QStringLiteral(": ") + file.failure.value_or(QString());
}

// The report's closing sentences: where the user stopped it, and the offer
// to make the change where ExifTool stopped at a minor error.
Report closed(Report report, const BatchRun::Outcome &outcome)
{
    if (outcome.stoppedEarly())
        report.alertText += paragraphBreak + stoppedSentence(outcome);
    if (const qsizetype minor = minorErrorCount(outcome); minor > 0) {
        report.offersWriteAnyway = true;
        report.alertText +=
            paragraphBreak +
            (minor == 1
                 ? QCoreApplication::translate("BatchReportTexts",
                                               "Write Anyway makes the change in the file "
                                               "ExifTool stopped at, ignoring its minor problem.")
                 : QCoreApplication::translate(
                       "BatchReportTexts",
                       "Write Anyway makes the change in the %1 files ExifTool stopped at, "
                       "ignoring their minor problems.")
                       .arg(minor));
    }
    return report;
}

QString stoppedSentence(const BatchRun::Outcome &outcome)
{
    const qsizetype after = outcome.total - outcome.files.size() - 1;
    if (after <= 0)
        return QCoreApplication::translate("BatchReportTexts",
                                           "Stopped before %1; it was left as it was.")
            .arg(outcome.stoppedBefore);
    return QCoreApplication::translate(
               "BatchReportTexts",
               "Stopped before %1; it and the %2 after it were left as they were.")
        .arg(outcome.stoppedBefore, fileCount(after));
}

QString changeDetails(const ChangeReport &report)
{
    QStringList sentences;
    QSet<QString> explained;
    for (const TagOutcome &outcome : report.outcomes) {
        if (outcome.kind == TagOutcome::Kind::converted)
            continue;
        sentences << outcome.reason;
        explained.insert(outcome.key);
    }
    // Keys the engine named without an outcome of their own.
    ChangeReport rest;
    for (const QString &key : report.tagsNotWritten) {
        if (!explained.contains(key))
            rest.tagsNotWritten << key;
    }
    for (const QString &key : report.tagsNotRemoved) {
        if (!explained.contains(key))
            rest.tagsNotRemoved << key;
    }
    if (!rest.isComplete())
        sentences << QLatin1Char('(') + keysLine(rest) + QLatin1Char(')');
    return sentences.join(QLatin1Char(' '));
}

QString unknownTagsSentence(const QStringList &keys)
{
    if (keys.size() == 1)
        return QCoreApplication::translate("BatchReportTexts",
                                           "ExifTool doesn't know a tag named %1.")
            .arg(keys.first());
    return QCoreApplication::translate("BatchReportTexts", "ExifTool doesn't know tags named %1.")
        .arg(keys.join(QStringLiteral(", ")));
}

QString unknownTagWarning(const QString &key)
{
    return QCoreApplication::translate(
               "BatchReportTexts",
               "ExifTool doesn't know a tag named %1, so it was not written. Check "
               "the key's spelling in the field settings.")
        .arg(key);
}

QString saveStatus(const ChangeReport &report, qsizetype changedTags,
                   const QStringList &unknownKeys)
{
    qsizetype noPlace = 0;
    qsizetype otherwise = 0;
    qsizetype untaken = 0;
    for (const TagOutcome &outcome : report.outcomes) {
        if (unknownKeys.contains(outcome.key)) {
            ++untaken;
            continue;
        }
        const bool nothingStored =
            outcome.kind == TagOutcome::Kind::notWritten && outcome.storedItems.isEmpty();
        if (nothingStored)
            ++noPlace;
        else
            ++otherwise;
        if (outcome.kind == TagOutcome::Kind::notWritten ||
            outcome.kind == TagOutcome::Kind::refused ||
            outcome.kind == TagOutcome::Kind::notRemoved)
            ++untaken;
    }
    // Keys named without an outcome had no place in the file.
    for (const QString &key : report.tagsNotWritten) {
        if (!report.outcomeFor(key) && !unknownKeys.contains(key)) {
            ++noPlace;
            ++untaken;
        }
    }
    QStringList sentences;
    if (!unknownKeys.isEmpty())
        sentences << unknownTagsSentence(unknownKeys);
    if (noPlace > 0)
        sentences << QCoreApplication::translate("BatchReportTexts",
                                                 "Some metadata tags are read-only.");
    if (otherwise > 0) {
        if (untaken < changedTags && sentences.isEmpty())
            sentences << QCoreApplication::translate("BatchReportTexts", "Metadata saved.");
        sentences << (otherwise == 1 ? QCoreApplication::translate("BatchReportTexts",
                                                                   "%1 was not stored as typed.")
                                     : QCoreApplication::translate("BatchReportTexts",
                                                                   "%1 were not stored as typed."))
                         .arg(tagCount(otherwise));
    }
    if (sentences.isEmpty())
        return QCoreApplication::translate("BatchReportTexts", "Metadata saved successfully.");
    return sentences.join(QLatin1Char(' '));
}

Report stripFailureReport(const FileOutcome &file)
{
    return {{},
            failureTitle(file.error, QCoreApplication::translate("BatchReportTexts",
                                                                 "Metadata Not Removed from %1")
                                         .arg(file.fileName)),
            file.failure.value_or(QString()),
            file.stoppedAtMinorError()};
}

namespace {

// The alert of a batch of changes that did not all go through: what was
// done (all of it, or part with the failures), then the files that took
// only part of their change.
Report partlyDone(const QString &allDone, const QString &partDone, const QString &title,
                  const BatchRun::Outcome &outcome, const QList<FileOutcome> &incomplete)
{
    QStringList paragraphs;
    if (outcome.failed() == 0)
        paragraphs << allDone;
    else if (outcome.succeeded() > 0)
        paragraphs << partDone;
    if (outcome.failed() > 0)
        paragraphs << failureLines(outcome);
    if (!incomplete.isEmpty())
        paragraphs << incompleteSection(incomplete);
    return closed({{}, title, paragraphs.join(paragraphBreak)}, outcome);
}

} // namespace

Report presetReport(const QString &presetName, const BatchRun::Outcome &outcome)
{
    QList<FileOutcome> incomplete;
    for (const FileOutcome &file : outcome.files) {
        if (file.succeeded() && !file.isComplete())
            incomplete.append(file);
    }
    const qsizetype succeeded = outcome.succeeded();
    const QString applied =
        QCoreApplication::translate("BatchReportTexts", "Applied preset '%1' to %2.")
            .arg(presetName, itemCount(succeeded));
    if (outcome.failed() == 0 && incomplete.isEmpty()) {
        if (!outcome.stoppedEarly())
            return {applied, {}, {}};
        return {
            stoppedStatus(
                QCoreApplication::translate("BatchReportTexts", "Applied preset '%1' to %2 of %3.")
                    .arg(presetName, QString::number(succeeded), itemCount(outcome.total)),
                outcome),
            {},
            {}};
    }
    return partlyDone(applied,
                      QCoreApplication::translate("BatchReportTexts",
                                                  "Applied to %1. The rest were left unchanged:")
                          .arg(itemCount(succeeded)),
                      QCoreApplication::translate("BatchReportTexts", "Preset Not Applied in Full"),
                      outcome, incomplete);
}

Report copyReport(const QString &sourceName, const BatchRun::Outcome &outcome)
{
    QList<FileOutcome> incomplete;
    for (const FileOutcome &file : outcome.files) {
        if (file.succeeded() && !file.isComplete())
            incomplete.append(file);
    }
    const qsizetype succeeded = outcome.succeeded();
    const QString copied =
        sourceName.isEmpty()
            ? QCoreApplication::translate("BatchReportTexts",
                                          "Copied metadata from the partner files to %1.")
                  .arg(itemCount(succeeded))
            : QCoreApplication::translate("BatchReportTexts", "Copied metadata from %1 to %2.")
                  .arg(sourceName, itemCount(succeeded));
    if (outcome.failed() == 0 && incomplete.isEmpty()) {
        if (!outcome.stoppedEarly())
            return {copied, {}, {}};
        return {stoppedStatus(copied, outcome), {}, {}};
    }
    return partlyDone(
        copied,
        QCoreApplication::translate("BatchReportTexts",
                                    "Copied to %1. The rest were left unchanged:")
            .arg(itemCount(succeeded)),
        QCoreApplication::translate("BatchReportTexts", "Metadata Not Copied in Full"), outcome,
        incomplete);
}

Report datesReport(bool restoring, const BatchRun::Outcome &outcome)
{
    QList<FileOutcome> incomplete;
    for (const FileOutcome &file : outcome.files) {
        if (file.succeeded() && !file.isComplete())
            incomplete.append(file);
    }
    const qsizetype succeeded = outcome.succeeded();
    const QString done =
        restoring
            ? QCoreApplication::translate("BatchReportTexts", "Restored the previous dates of %1.")
                  .arg(itemCount(succeeded))
            : QCoreApplication::translate("BatchReportTexts", "Adjusted the dates of %1.")
                  .arg(itemCount(succeeded));
    if (outcome.failed() == 0 && incomplete.isEmpty()) {
        if (!outcome.stoppedEarly())
            return {done, {}, {}};
        return {stoppedStatus(done, outcome), {}, {}};
    }
    return partlyDone(
        done,
        QCoreApplication::translate("BatchReportTexts",
                                    "Changed the dates of %1. The rest were left unchanged:")
            .arg(itemCount(succeeded)),
        QCoreApplication::translate("BatchReportTexts", "Dates Not Changed in Full"), outcome,
        incomplete);
}

Report saveAllReport(const BatchRun::Outcome &outcome)
{
    QStringList incomplete;
    for (const FileOutcome &file : outcome.files) {
        if (file.succeeded() && !file.isComplete()) {
            const QString details = changeDetails(file.report);
            incomplete << file.fileName +
                              (details.startsWith(QLatin1Char('(')) ? QStringLiteral(" ")
                                                                    : QStringLiteral(": ")) +
                              details;
        }
    }
    const qsizetype succeeded = outcome.succeeded();
    const QString saved =
        outcome.files.size() == 1
            ? QCoreApplication::translate("BatchReportTexts", "Saved the changes to “%1”.")
                  .arg(outcome.files.first().fileName)
            : QCoreApplication::translate("BatchReportTexts", "Saved the changes to %1.")
                  .arg(fileCount(succeeded));
    if (outcome.failed() == 0 && incomplete.isEmpty())
        return {saved, {}, {}};
    QStringList paragraphs;
    if (outcome.failed() == 0)
        paragraphs << saved;
    else if (succeeded > 0)
        paragraphs << QCoreApplication::translate(
                          "BatchReportTexts",
                          "Saved the changes to %1. These files were left unchanged:")
                          .arg(fileCount(succeeded));
    if (outcome.failed() > 0)
        paragraphs << failureLines(outcome);
    if (!incomplete.isEmpty())
        paragraphs << QCoreApplication::translate("BatchReportTexts",
                                                  "These files did not take all of the changes:")
                   << incomplete.join(paragraphBreak);
    return closed(
        {{},
         QCoreApplication::translate("BatchReportTexts", "Changes Not Saved to Every File"),
         paragraphs.join(paragraphBreak)},
        outcome);
}

QString progressText(const BatchProgress &progress)
{
    if (progress.isCancelling)
        return QCoreApplication::translate("BatchReportTexts", "Stopping after %1…")
            .arg(progress.currentFileName);
    QString doing;
    switch (progress.kind) {
    case BatchProgress::Kind::applyPreset:
        doing = QCoreApplication::translate("BatchReportTexts", "Applying '%1'")
                    .arg(progress.presetName);
        break;
    case BatchProgress::Kind::saveChanges:
        doing = QCoreApplication::translate("BatchReportTexts", "Saving changes");
        break;
    case BatchProgress::Kind::readMetadata:
        doing = QCoreApplication::translate("BatchReportTexts", "Reading metadata");
        break;
    case BatchProgress::Kind::copyMetadata:
        doing = progress.presetName.isEmpty()
                    ? QCoreApplication::translate("BatchReportTexts", "Copying from partner files")
                    : QCoreApplication::translate("BatchReportTexts", "Copying from %1")
                          .arg(progress.presetName);
        break;
    case BatchProgress::Kind::removeAllMetadata:
        doing = QCoreApplication::translate("BatchReportTexts", "Removing metadata");
        break;
    case BatchProgress::Kind::adjustDates:
        doing = QCoreApplication::translate("BatchReportTexts", "Adjusting dates");
        break;
    case BatchProgress::Kind::restoreDates:
        doing = QCoreApplication::translate("BatchReportTexts", "Restoring dates");
        break;
    }
    return QCoreApplication::translate("BatchReportTexts", "%1: %2 of %3 — %4")
        .arg(doing, QString::number(progress.current), QString::number(progress.total),
             progress.currentFileName);
}

} // namespace Metaloom::BatchReportTexts
