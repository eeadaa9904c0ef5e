#include "BatchReportTexts.h"

namespace Metaloom::BatchReportTexts {

namespace {

const QString paragraphBreak = QStringLiteral("\n\n");

QString incompleteLine(const IncompleteFile &file)
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

// The second part of the alert: which tags of which files did not change.
QString incompleteSection(const QList<IncompleteFile> &files)
{
    QStringList lines;
    for (const IncompleteFile &file : files)
        lines << incompleteLine(file);
    return QStringLiteral("These files have no place for some of the preset's tags, which were "
                          "left as they were:") +
           paragraphBreak + lines.join(paragraphBreak);
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

std::optional<QString> presetStatus(const PresetOutcome &outcome)
{
    if (!outcome.failures.isEmpty() || !outcome.incomplete.isEmpty())
        return std::nullopt;
    return QStringLiteral("Applied preset '") + outcome.presetName + QStringLiteral("' to ") +
           itemCount(outcome.succeeded) + QLatin1Char('.');
}

std::optional<QString> presetAlert(const PresetOutcome &outcome)
{
    if (outcome.failures.isEmpty() && outcome.incomplete.isEmpty())
        return std::nullopt;
    QString text;
    if (!outcome.failures.isEmpty()) {
        const QString failures = outcome.failures.join(paragraphBreak);
        text = outcome.succeeded >= 1
                   ? QStringLiteral("Applied to ") + itemCount(outcome.succeeded) +
                         QStringLiteral(". The rest were left unchanged:") + paragraphBreak +
                         failures
                   : failures;
    } else {
        text = QStringLiteral("Applied preset '") + outcome.presetName + QStringLiteral("' to ") +
               itemCount(outcome.succeeded) + QLatin1Char('.');
    }
    if (!outcome.incomplete.isEmpty())
        text += paragraphBreak + incompleteSection(outcome.incomplete);
    return text;
}

} // namespace Metaloom::BatchReportTexts
