#include "BatchReportTexts.h"

#include "MetaloomFeature/Engine/ServiceError.h"

#include <QSet>

namespace Metaloom::BatchReportTexts {

namespace {

const QString paragraphBreak = QStringLiteral("\n\n");
constexpr qsizetype namesInAMessage = 4;

QString counted(qsizetype count, const char *one, const char *many)
{
    return QString::number(count) + QLatin1Char(' ') + QString::fromLatin1(count == 1 ? one : many);
}

QString fileCount(qsizetype count)
{
    return counted(count, "file", "files");
}

// The tags of a change that did not reach the file as asked, by what
// became of them, for reports without the engine's outcomes.
QString keysLine(const ChangeReport &report)
{
    QStringList parts;
    if (!report.tagsNotWritten.isEmpty())
        parts << QStringLiteral("not written: ") + report.tagsNotWritten.join(QStringLiteral(", "));
    if (!report.tagsNotRemoved.isEmpty())
        parts << QStringLiteral("not removed: ") + report.tagsNotRemoved.join(QStringLiteral(", "));
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
    return QStringLiteral("These files did not take all of the preset's changes:") +
           paragraphBreak + lines.join(paragraphBreak);
}

// "172 tags could not be removed from this file type, among them Make,
// Model." Every name when they are few, else the ones that matter most.
QString leftSentence(const StripReport &report)
{
    const qsizetype left = report.remaining.size();
    const QStringList names = namesLeft(report, namesInAMessage);
    return tagCount(left) + QStringLiteral(" could not be removed from this file type") +
           (names.size() < left ? QStringLiteral(", among them ") : QStringLiteral(": ")) +
           names.join(QStringLiteral(", ")) + QLatin1Char('.');
}

// "58 tags", "no tags".
QString removedCount(const StripReport &report)
{
    return report.removed.isEmpty() ? QStringLiteral("no tags") : tagCount(report.removed.size());
}

// Which files kept tags that their format does not let ExifTool remove.
QString strippedInPartSection(const QList<FileOutcome> &files)
{
    QStringList lines;
    for (const FileOutcome &file : files)
        lines << file.fileName + QStringLiteral(": removed ") + removedCount(*file.strip) +
                     QStringLiteral("; ") + leftSentence(*file.strip);
    return QStringLiteral("Some metadata could not be removed from these files:") + paragraphBreak +
           lines.join(paragraphBreak);
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
            (minor == 1 ? QStringLiteral("Write Anyway makes the change in the file ExifTool "
                                         "stopped at, ignoring its minor problem.")
                        : QStringLiteral("Write Anyway makes the change in the %1 files ExifTool "
                                         "stopped at, ignoring their minor problems.")
                              .arg(minor));
    }
    return report;
}

QString stoppedStatus(const QString &done, const BatchRun::Outcome &outcome)
{
    return done + QString::number(outcome.succeeded()) + QStringLiteral(" of ") +
           itemCount(outcome.total) + QStringLiteral(". ") + stoppedSentence(outcome);
}

} // namespace

QString itemCount(qsizetype count)
{
    return counted(count, "item", "items");
}

QString tagCount(qsizetype count)
{
    return counted(count, "tag", "tags");
}

QString removedFromItems(qsizetype count)
{
    return QStringLiteral("Removed all metadata from ") + itemCount(count) + QLatin1Char('.');
}

QString removedFromFile(const QString &fileName)
{
    return QStringLiteral("Removed all metadata from ") + fileName + QLatin1Char('.');
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
    return isExifToolFailure(error) ? QStringLiteral("ExifTool Error") : otherwise;
}

QString failureLine(const FileOutcome &file)
{
    return file.fileName + QStringLiteral(": ") + file.failure.value_or(QString());
}

QString stoppedSentence(const BatchRun::Outcome &outcome)
{
    const qsizetype after = outcome.total - outcome.files.size() - 1;
    const QString left = after <= 0 ? QStringLiteral("; it was left as it was.")
                                    : QStringLiteral("; it and the ") + fileCount(after) +
                                          QStringLiteral(" after it were left as they were.");
    return QStringLiteral("Stopped before ") + outcome.stoppedBefore + left;
}

QStringList namesLeft(const StripReport &report, qsizetype count)
{
    QStringList names;
    QSet<QString> seen;
    for (const MetadataEntry &entry : StripReport::identifyingFirst(report.remaining)) {
        if (names.size() == count)
            break;
        if (!seen.contains(entry.tag)) {
            seen.insert(entry.tag);
            names << entry.tag;
        }
    }
    return names;
}

QString strippedInPart(const QString &fileName, const StripReport &report)
{
    return QStringLiteral("Removed ") + removedCount(report) + QStringLiteral(" from ") + fileName +
           QStringLiteral(". ") + leftSentence(report);
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
        return QStringLiteral("ExifTool doesn't know a tag named ") + keys.first() +
               QLatin1Char('.');
    return QStringLiteral("ExifTool doesn't know tags named ") + keys.join(QStringLiteral(", ")) +
           QLatin1Char('.');
}

QString unknownTagWarning(const QString &key)
{
    return QStringLiteral("ExifTool doesn't know a tag named %1, so it was not written. Check "
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
        sentences << QStringLiteral("Some metadata tags are read-only.");
    if (otherwise > 0) {
        if (untaken < changedTags && sentences.isEmpty())
            sentences << QStringLiteral("Metadata saved.");
        sentences << tagCount(otherwise) + (otherwise == 1
                                                ? QStringLiteral(" was not stored as typed.")
                                                : QStringLiteral(" were not stored as typed."));
    }
    if (sentences.isEmpty())
        return QStringLiteral("Metadata saved successfully.");
    return sentences.join(QLatin1Char(' '));
}

Report stripReport(const BatchRun::Outcome &outcome)
{
    QList<FileOutcome> inPart;
    qsizetype complete = 0;
    for (const FileOutcome &file : outcome.files) {
        if (file.isComplete())
            ++complete;
        else if (file.succeeded())
            inPart.append(file);
    }
    if (outcome.failed() == 0 && inPart.isEmpty()) {
        if (!outcome.stoppedEarly())
            return {removedFromItems(complete), {}, {}};
        return {stoppedStatus(QStringLiteral("Removed all metadata from "), outcome), {}, {}};
    }
    QStringList paragraphs;
    if (complete > 0)
        paragraphs << removedFromItems(complete).chopped(1) +
                          (outcome.failed() > 0 && inPart.isEmpty()
                               ? QStringLiteral(". The rest were left unchanged:")
                               : QStringLiteral("."));
    if (!inPart.isEmpty())
        paragraphs << strippedInPartSection(inPart);
    if (outcome.failed() > 0) {
        if (!inPart.isEmpty())
            paragraphs << QStringLiteral("These files were left unchanged:");
        paragraphs << failureLines(outcome);
    }
    return closed({{},
                   QStringLiteral("Metadata Not Removed from Every File"),
                   paragraphs.join(paragraphBreak)},
                  outcome);
}

Report stripFileReport(const FileOutcome &file)
{
    if (!file.succeeded())
        return {
            {},
            failureTitle(file.error, QStringLiteral("Metadata Not Removed from ") + file.fileName),
            file.failure.value_or(QString()),
            file.stoppedAtMinorError()};
    if (file.strip && !file.strip->isComplete()) {
        QString text = strippedInPart(file.fileName, *file.strip);
        if (!file.strip->warnings.isEmpty()) {
            // "[minor]" is ExifTool's mark for what "-m" would let pass;
            // nothing the user could act on here.
            QStringList warnings;
            for (const QString &warning : file.strip->warnings)
                warnings << (warning.startsWith(QLatin1String("[minor] ")) ? warning.mid(8)
                                                                           : warning);
            text += paragraphBreak + QStringLiteral("ExifTool: ") + warnings.join(QLatin1Char(' '));
        }
        return {{}, QStringLiteral("Not All Metadata Removed from ") + file.fileName, text};
    }
    return {removedFromFile(file.fileName), {}, {}};
}

Report presetReport(const QString &presetName, const BatchRun::Outcome &outcome)
{
    QList<FileOutcome> incomplete;
    for (const FileOutcome &file : outcome.files) {
        if (file.succeeded() && !file.isComplete())
            incomplete.append(file);
    }
    const qsizetype succeeded = outcome.succeeded();
    const QString applied =
        QStringLiteral("Applied preset '") + presetName + QStringLiteral("' to ");
    if (outcome.failed() == 0 && incomplete.isEmpty()) {
        if (!outcome.stoppedEarly())
            return {applied + itemCount(succeeded) + QLatin1Char('.'), {}, {}};
        return {stoppedStatus(applied, outcome), {}, {}};
    }
    QStringList paragraphs;
    if (outcome.failed() == 0)
        paragraphs << applied + itemCount(succeeded) + QLatin1Char('.');
    else if (succeeded > 0)
        paragraphs << QStringLiteral("Applied to ") + itemCount(succeeded) +
                          QStringLiteral(". The rest were left unchanged:");
    if (outcome.failed() > 0)
        paragraphs << failureLines(outcome);
    if (!incomplete.isEmpty())
        paragraphs << incompleteSection(incomplete);
    return closed(
        {{}, QStringLiteral("Preset Not Applied in Full"), paragraphs.join(paragraphBreak)},
        outcome);
}

QString progressText(const BatchProgress &progress)
{
    if (progress.isCancelling)
        return QStringLiteral("Stopping after ") + progress.currentFileName + QStringLiteral("…");
    const QString doing =
        progress.kind == BatchProgress::Kind::applyPreset
            ? QStringLiteral("Applying '") + progress.presetName + QStringLiteral("'")
            : QStringLiteral("Removing metadata");
    return doing + QStringLiteral(": ") + QString::number(progress.current) +
           QStringLiteral(" of ") + QString::number(progress.total) + QStringLiteral(" — ") +
           progress.currentFileName;
}

} // namespace Metaloom::BatchReportTexts
