// metaloom-cli set FILE... (--tag KEY=VALUE | --remove KEY)...

#include "Command.h"
#include "TagChange.h"
#include <QCoreApplication>

namespace Metaloom::Cli {

namespace {

class SetCommand : public FileCommand {
public:
    QString name() const override { return QStringLiteral("set"); }
    QString synopsis() const override
    {
        return QStringLiteral("set FILE... (--tag KEY=VALUE | --remove KEY)... [-r] [--json] "
                              "[--dry-run]");
    }
    QString summary() const override
    {
        return QCoreApplication::translate("Cli", "write tag values and removals, as Save does");
    }
    QStringList options() const override
    {
        return {QStringLiteral("tag"), QStringLiteral("remove"), QStringLiteral("recursive"),
                QStringLiteral("json"), QStringLiteral("dry-run")};
    }

    std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                   Session *session) override
    {
        auto assignments = TagChange::fromOptions(arguments.values(QStringLiteral("tag")),
                                                  arguments.values(QStringLiteral("remove")));
        if (const QString *mistake = std::get_if<QString>(&assignments))
            return *mistake;
        m_assignments = std::get<QList<TagAssignment>>(assignments);
        return prepareFiles(arguments, session);
    }

protected:
    QCoro::Task<FileReport> handle(FileOperands::File file) override
    {
        co_return co_await TagChange::apply(m_session->files, file, m_assignments, m_dryRun);
    }
    SummaryWords words() const override { return TagChange::words(m_dryRun); }

private:
    QList<TagAssignment> m_assignments;
};

} // namespace

std::shared_ptr<Command> setCommand()
{
    return std::make_shared<SetCommand>();
}

} // namespace Metaloom::Cli
