// metaloom-cli apply-preset NAME FILE...

#include "Command.h"
#include "TagChange.h"
#include <QCoreApplication>

namespace Metaloom::Cli {

namespace {

QString namesOf(const QList<Preset> &presets)
{
    QStringList names;
    for (const Preset &preset : presets)
        names << QStringLiteral("'%1'").arg(preset.name);
    return names.join(QStringLiteral(", "));
}

class ApplyPresetCommand : public FileCommand {
public:
    QString name() const override { return QStringLiteral("apply-preset"); }
    QString synopsis() const override
    {
        return QStringLiteral("apply-preset NAME FILE... [-r] [--json] [--dry-run]");
    }
    QString summary() const override
    {
        return QCoreApplication::translate(
            "Cli", "apply one of your presets, as the window's Apply Preset does");
    }
    QStringList options() const override
    {
        return {QStringLiteral("recursive"), QStringLiteral("json"), QStringLiteral("dry-run")};
    }

    std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                   Session *session) override
    {
        if (arguments.operands.isEmpty())
            return QCoreApplication::translate(
                "Cli", "'apply-preset' needs the name of a preset and at least one "
                       "file or folder");
        const QString wanted = arguments.operands.first();
        const QList<Preset> presets = session->presets();
        QList<Preset> named;
        for (const Preset &preset : presets) {
            if (preset.name == wanted)
                named << preset;
        }
        if (named.isEmpty()) {
            if (presets.isEmpty())
                return QCoreApplication::translate(
                           "Cli", "no preset named '%1': you have no presets yet (make them "
                                  "in Metaloom's preset manager)")
                    .arg(wanted);
            return QCoreApplication::translate("Cli", "no preset named '%1'; your presets are %2")
                .arg(wanted, namesOf(presets));
        }
        // Applying one of them by chance could change files in a way the
        // user did not mean.
        if (named.size() > 1)
            return QCoreApplication::translate(
                       "Cli", "%1 presets are named '%2'; give them different names in "
                              "Metaloom's preset manager")
                .arg(named.size())
                .arg(wanted);
        m_action = named.first().action;
        m_assignments = TagChange::fromPreset(named.first());
        if (m_assignments.isEmpty())
            return QCoreApplication::translate("Cli", "the preset '%1' has no operations to apply")
                .arg(wanted);
        return prepareFiles(arguments, session, 1);
    }

protected:
    QCoro::Task<FileReport> handle(FileOperands::File file) override
    {
        if (m_dryRun)
            co_return co_await TagChange::apply(m_session->files, file, m_assignments, true);
        const ChangeReport result = co_await m_session->files->applyPreset(file.url, m_action);
        co_return TagChange::changed(file.shownPath, result);
    }
    SummaryWords words() const override { return TagChange::words(m_dryRun); }

private:
    PresetAction m_action;
    // What the preset sets and deletes, for a dry run's comparison.
    QList<TagAssignment> m_assignments;
};

} // namespace

std::shared_ptr<Command> applyPresetCommand()
{
    return std::make_shared<ApplyPresetCommand>();
}

} // namespace Metaloom::Cli
