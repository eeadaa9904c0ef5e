// metaloom-cli presets

#include "Command.h"
#include "Console.h"
#include <QCoreApplication>

namespace Metaloom::Cli {

namespace {

class PresetsCommand : public Command {
public:
    QString name() const override { return QStringLiteral("presets"); }
    QString synopsis() const override { return QStringLiteral("presets"); }
    QString summary() const override
    {
        return QCoreApplication::translate("Cli", "list the names of your presets, one a line");
    }
    QStringList options() const override { return {}; }

    std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                   Session *session) override
    {
        if (!arguments.operands.isEmpty())
            return QCoreApplication::translate("Cli", "'presets' takes no files or other operands");
        m_session = session;
        return std::nullopt;
    }

    QCoro::Task<int> run() override
    {
        QString text;
        for (const Preset &preset : m_session->presets())
            text += preset.name + u'\n';
        m_session->console->output(text);
        co_return ExitStatus::success;
    }

private:
    Session *m_session = nullptr;
};

} // namespace

std::shared_ptr<Command> presetsCommand()
{
    return std::make_shared<PresetsCommand>();
}

} // namespace Metaloom::Cli
