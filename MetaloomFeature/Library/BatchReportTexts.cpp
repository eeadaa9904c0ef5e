#include "BatchReportTexts.h"

#include "MetaloomFeature/Engine/ServiceError.h"

namespace Metaloom::BatchReportTexts {

namespace {

const QString paragraphBreak = QStringLiteral("\n\n");

QString fileCount(qsizetype count)
{
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" file") : QStringLiteral(" files"));
}

QString incompleteLine(const FileOutcome &file)
{
    QStringList parts;
    if (!file.report.tagsNotWritten.isEmpty())
        parts << QStringLiteral("not written: ") +
                     file.report.tagsNotWritten.join(QStringLiteral(", "));
    if (!file.report.tagsNotRemoved.isEmpty())
        parts << QStringLiteral("not removed: ") +
                     file.report.tagsNotRemoved.join(QStringLiteral(", "));
    return file.fileName + QStringLiteral(" (") + parts.join(QStringLiteral("; ")) +
           QLatin1Char(')');
}

// Which tags of which files did not change.
QString incompleteSection(const QList<FileOutcome> &files)
{
    QStringList lines;
    for (const FileOutcome &file : files)
        lines << incompleteLine(file);
    return QStringLiteral("These files have no place for some of the preset's tags, which were "
                          "left as they were:") +
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

// "Done to 2 items. The rest were left unchanged:" and the failures, or the
// failures alone when no file took the change.
QString failureSection(const QString &donePrefix, const BatchRun::Outcome &outcome)
{
    const qsizetype succeeded = outcome.succeeded();
    const QString lines = failureLines(outcome);
    if (succeeded == 0)
        return lines;
    return donePrefix + itemCount(succeeded) + QStringLiteral(". The rest were left unchanged:") +
           paragraphBreak + lines;
}

QString withStop(QString text, const BatchRun::Outcome &outcome)
{
    if (outcome.stoppedEarly())
        text += paragraphBreak + stoppedSentence(outcome);
    return text;
}

QString errorTitle(const FileOutcome &file)
{
    try {
        if (file.error)
            std::rethrow_exception(file.error);
    } catch (const ServiceError &) {
        return QStringLiteral("ExifTool Error");
    } catch (...) {
    }
    return QStringLiteral("Metadata Not Removed from ") + file.fileName;
}

} // namespace

QString itemCount(qsizetype count)
{
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" item") : QStringLiteral(" items"));
}

QString removedFromItems(qsizetype count)
{
    return QStringLiteral("Removed all metadata from ") + itemCount(count) + QLatin1Char('.');
}

QString removedFromFile(const QString &fileName)
{
    return QStringLiteral("Removed all metadata from ") + fileName + QLatin1Char('.');
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

Report stripReport(const BatchRun::Outcome &outcome)
{
    const qsizetype succeeded = outcome.succeeded();
    if (outcome.failed() == 0) {
        if (!outcome.stoppedEarly())
            return {removedFromItems(succeeded), {}, {}};
        return {QStringLiteral("Removed all metadata from ") + QString::number(succeeded) +
                    QStringLiteral(" of ") + itemCount(outcome.total) + QStringLiteral(". ") +
                    stoppedSentence(outcome),
                {},
                {}};
    }
    return {
        {},
        QStringLiteral("Metadata Not Removed from Every File"),
        withStop(failureSection(QStringLiteral("Removed all metadata from "), outcome), outcome)};
}

Report stripFileReport(const FileOutcome &file)
{
    if (file.succeeded())
        return {removedFromFile(file.fileName), {}, {}};
    return {{}, errorTitle(file), file.failure.value_or(QString())};
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
        return {applied + QString::number(succeeded) + QStringLiteral(" of ") +
                    itemCount(outcome.total) + QStringLiteral(". ") + stoppedSentence(outcome),
                {},
                {}};
    }
    QString text = outcome.failed() > 0 ? failureSection(QStringLiteral("Applied to "), outcome)
                                        : applied + itemCount(succeeded) + QLatin1Char('.');
    if (!incomplete.isEmpty())
        text += paragraphBreak + incompleteSection(incomplete);
    return {{}, QStringLiteral("Preset Not Applied in Full"), withStop(text, outcome)};
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
