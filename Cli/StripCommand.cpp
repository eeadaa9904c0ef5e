// metaloom-cli strip FILE...

#include "Command.h"
#include "Console.h"
#include "Operations.h"

#include "MetaloomFeature/Library/BatchReportTexts.h"

namespace Metaloom::Cli {

namespace {

// "A, B, C and 12 more": the first few keys of a long list.
QString someOf(const QStringList &keys)
{
    constexpr qsizetype shown = 8;
    QString text = keys.mid(0, shown).join(QStringLiteral(", "));
    if (keys.size() > shown)
        text += QStringLiteral(" and %1 more").arg(keys.size() - shown);
    return text;
}

QString tagCount(qsizetype count)
{
    return QString::number(count) + (count == 1 ? QStringLiteral(" tag") : QStringLiteral(" tags"));
}

class StripCommand : public FileCommand {
public:
    QString name() const override { return QStringLiteral("strip"); }
    QString synopsis() const override
    {
        return QStringLiteral("strip FILE... [-r] [--json] [--dry-run]");
    }
    QString summary() const override
    {
        return QStringLiteral("remove all metadata, as Remove Metadata does, and say what stayed");
    }
    QStringList options() const override
    {
        return {QStringLiteral("recursive"), QStringLiteral("json"), QStringLiteral("dry-run")};
    }

    std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                   Session *session) override
    {
        return prepareFiles(arguments, session);
    }

protected:
    QCoro::Task<FileReport> handle(FileOperands::File file) override
    {
        FileReport report;
        report.file = file.shownPath;
        const QString shown = printable(file.shownPath);
        if (m_dryRun) {
            const QStringList keys = co_await m_session->files->strippable(file.url);
            report.remaining = keys;
            if (keys.isEmpty()) {
                report.line = shown + QStringLiteral(": holds no metadata to remove");
            } else {
                report.outcome = FileReport::Outcome::incomplete;
                report.line = shown + QStringLiteral(": would try to remove ") +
                              tagCount(keys.size()) + QStringLiteral(" (") + someOf(keys) + u')';
            }
            co_return report;
        }
        const StripResult result = co_await m_session->files->strip(file.url);
        report.remaining = result.remaining;
        if (result.remaining.isEmpty()) {
            report.line = BatchReportTexts::removedFromFile(shown);
        } else {
            report.outcome = FileReport::Outcome::incomplete;
            report.line = shown + QStringLiteral(": ") + tagCount(result.remaining.size()) +
                          QStringLiteral(" could not be removed from this file type: ") +
                          someOf(result.remaining);
        }
        co_return report;
    }

    bool reportsRemaining() const override { return true; }

    SummaryWords words() const override
    {
        using Outcome = FileReport::Outcome;
        if (m_dryRun)
            return {{{Outcome::incomplete, QStringLiteral("would be stripped")},
                     {Outcome::complete, QStringLiteral("hold no metadata")},
                     {Outcome::failed, QStringLiteral("failed")}}};
        return {{{Outcome::complete, QStringLiteral("stripped")},
                 {Outcome::incomplete, QStringLiteral("stripped in part")},
                 {Outcome::failed, QStringLiteral("failed")}}};
    }
};

} // namespace

std::shared_ptr<Command> stripCommand()
{
    return std::make_shared<StripCommand>();
}

} // namespace Metaloom::Cli
