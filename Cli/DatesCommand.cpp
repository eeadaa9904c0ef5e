// metaloom-cli dates (--shift AMOUNT | --set DATE) [--tags capture|modify|all]
// [--file-dates] FILE...

#include "Command.h"
#include "Console.h"
#include "Operations.h"
#include "TagChange.h"

#include "MetaloomFeature/Model/Dates/DatePlan.h"

#include <QCoreApplication>

namespace Metaloom::Cli {

namespace {

QString datesText(const DateChange &change)
{
    const QString none = QCoreApplication::translate("Cli", "none", "a date the file has not");
    return QCoreApplication::translate("Cli", "%1 %2 → %3", "a date tag, before and after")
        .arg(change.key, change.before.isEmpty() ? none : change.before,
             change.after.isEmpty() ? none : change.after);
}

// The warnings of the plan after the report's own sentence, which they
// must not run into ("no dates to change. This file has no capture date.").
QString withWarnings(QString line, const DatePlan &plan)
{
    for (DateWarning warning : plan.warnings)
        line += (line.endsWith(u'.') ? QStringLiteral(" ") : QStringLiteral(". ")) +
                DatePlanning::warningText(warning);
    return line;
}

class DatesCommand : public FileCommand {
public:
    QString name() const override { return QStringLiteral("dates"); }
    QString synopsis() const override
    {
        return QStringLiteral("dates (--shift [+-][D ]HH:MM[:SS] | --set \"YYYY:MM:DD HH:MM:SS\") "
                              "[--tags capture|modify|all] [--file-dates] [--quicktime utc|local] "
                              "FILE... [-r] [--json] [--dry-run]");
    }
    QString summary() const override
    {
        return QCoreApplication::translate("Cli", "shift or set the dates of photos and videos");
    }
    QStringList options() const override
    {
        return {QStringLiteral("shift"),     QStringLiteral("set"),
                QStringLiteral("tags"),      QStringLiteral("file-dates"),
                QStringLiteral("quicktime"), QStringLiteral("recursive"),
                QStringLiteral("json"),      QStringLiteral("dry-run")};
    }

    std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                   Session *session) override
    {
        const QStringList shifts = arguments.values(QStringLiteral("shift"));
        const QStringList sets = arguments.values(QStringLiteral("set"));
        if (shifts.size() + sets.size() != 1)
            return QCoreApplication::translate(
                "Cli", "'dates' needs either --shift AMOUNT or --set DATE, once");
        if (!shifts.isEmpty()) {
            const std::optional<DateShift> shift = DateShift::parse(shifts.first());
            if (!shift)
                return QCoreApplication::translate(
                           "Cli", "'--shift %1' is no amount: write [+-][D ]HH:MM[:SS], "
                                  "such as +1:00 or \"-2 00:30\"")
                    .arg(shifts.first());
            m_options.shift = *shift;
        } else {
            const std::optional<ExifDateTime> date = ExifDateTime::parse(sets.first());
            if (!date || !date->hasTime())
                return QCoreApplication::translate(
                           "Cli", "'--set %1' is no date: write \"YYYY:MM:DD HH:MM:SS\"")
                    .arg(sets.first());
            m_options.mode = DateOptions::Mode::set;
            m_options.setTo = *date;
        }
        const QString tags =
            arguments.values(QStringLiteral("tags")).value(0, QStringLiteral("capture"));
        if (tags != QLatin1String("capture") && tags != QLatin1String("modify") &&
            tags != QLatin1String("all"))
            return QCoreApplication::translate("Cli", "'--tags %1': write capture, modify or all")
                .arg(tags);
        m_options.captureDates = tags != QLatin1String("modify");
        m_options.modificationDates = tags != QLatin1String("capture");
        m_options.fileDate = arguments.has(QStringLiteral("file-dates"));
        const QStringList quickTime = arguments.values(QStringLiteral("quicktime"));
        if (!quickTime.isEmpty()) {
            if (quickTime.first() != QLatin1String("utc") &&
                quickTime.first() != QLatin1String("local"))
                return QCoreApplication::translate("Cli", "'--quicktime %1': write utc or local")
                    .arg(quickTime.first());
            m_quickTimeUtc = quickTime.first() == QLatin1String("utc");
        }
        return prepareFiles(arguments, session);
    }

protected:
    QCoro::Task<FileReport> handle(FileOperands::File file) override
    {
        Operations *files = m_session->files;
        DateValues values = co_await files->dates(file.url, false);
        // How the video stored its QuickTime dates: as the user said, as
        // the file tells, or as they are (ExifTool's own way).
        DateOptions options = m_options;
        options.quickTimeUtc =
            m_quickTimeUtc.value_or(DatePlanning::quickTimeStoredAsUtc(values).value_or(false));
        if (options.quickTimeUtc)
            values = co_await files->dates(file.url, true);
        const DatePlan plan = DatePlanning::plan(values, options);

        FileReport report;
        if (m_dryRun || plan.changes.isEmpty()) {
            report.file = file.shownPath;
            QStringList changes;
            for (const DateChange &change : plan.changes) {
                report.notWritten << change.key;
                changes << datesText(change);
            }
            if (changes.isEmpty()) {
                // Nothing written: not counted among the files changed.
                if (!m_dryRun)
                    report.outcome = FileReport::Outcome::unchanged;
                report.line = QCoreApplication::translate("Cli", "%1: no dates to change")
                                  .arg(printable(file.shownPath));
            } else {
                report.outcome = FileReport::Outcome::incomplete;
                report.line = QCoreApplication::translate("Cli", "%1: would change %2")
                                  .arg(printable(file.shownPath),
                                       printable(changes.join(QStringLiteral(", "))));
            }
        } else {
            const ChangeReport result = co_await files->changeDates(file.url, plan);
            report = TagChange::changed(file.shownPath, result);
        }
        report.line = withWarnings(report.line, plan);
        QList<std::pair<QString, std::pair<QString, QString>>> dates;
        for (const DateChange &change : plan.changes) {
            // What did not take is named in notWritten; its date is not
            // reported as changed.
            if (m_dryRun || !report.notWritten.contains(change.key))
                dates.append({change.key, {change.before, change.after}});
        }
        report.dates = dates;
        co_return report;
    }
    SummaryWords words() const override { return TagChange::words(m_dryRun); }

private:
    DateOptions m_options;
    std::optional<bool> m_quickTimeUtc;
};

} // namespace

std::shared_ptr<Command> datesCommand()
{
    return std::make_shared<DatesCommand>();
}

} // namespace Metaloom::Cli
