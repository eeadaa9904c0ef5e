// metaloom-cli read [--format json|yaml|toml] FILE...

#include "Command.h"
#include "Console.h"
#include "Operations.h"
#include "ReadOutput.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace Metaloom::Cli {

namespace {

class ReadCommand : public FileCommand {
public:
    QString name() const override { return QStringLiteral("read"); }
    QString synopsis() const override
    {
        return QStringLiteral("read [--format json|yaml|toml] FILE... [-r] [--json]");
    }
    QString summary() const override
    {
        return QCoreApplication::translate("Cli",
                                           "print each file's metadata as the window exports it");
    }
    QStringList options() const override
    {
        return {QStringLiteral("format"), QStringLiteral("recursive"), QStringLiteral("json")};
    }

    std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                   Session *session) override
    {
        const QStringList formats = arguments.values(QStringLiteral("format"));
        if (formats.size() > 1)
            return QCoreApplication::translate("Cli", "give --format once");
        Format format = Format::Json;
        if (!formats.isEmpty()) {
            const std::optional<Format> chosen =
                MetadataExportFormatter::fromRawValue(formats.first());
            if (!chosen)
                return QCoreApplication::translate("Cli",
                                                   "unknown format '%1' (json, yaml or toml)")
                    .arg(formats.first());
            format = *chosen;
        }
        // One file named by itself prints as the window exports it; a
        // folder may hold any number of files, so it prints a collection.
        const bool single =
            arguments.operands.size() == 1 && !QFileInfo(arguments.operands.first()).isDir();
        m_joiner.emplace(format, single);
        m_format = format;
        return prepareFiles(arguments, session);
    }

protected:
    QCoro::Task<FileReport> handle(FileOperands::File file) override
    {
        const QList<MetadataEntry> entries = co_await m_session->files->read(file.url);
        const QString text = MetadataExportFormatter::string(entries, m_format);
        m_session->console->output(m_joiner->add(file.shownPath, text));
        FileReport report;
        report.file = file.shownPath;
        report.line = QCoreApplication::translate("Cli", "%1: read").arg(printable(file.shownPath));
        co_return report;
    }

    void finished(const QList<FileReport> &) override
    {
        m_session->console->output(m_joiner->finish());
    }

    SummaryWords words() const override
    {
        using Outcome = FileReport::Outcome;
        return {{{Outcome::complete, QCoreApplication::translate("Cli", "read")},
                 {Outcome::failed, QCoreApplication::translate("Cli", "failed")}}};
    }
    bool quietWhenFine() const override { return true; }
    bool reportsOnStandardError() const override { return true; }
    bool changesFiles() const override { return false; }

private:
    using Format = MetadataExportFormatter::Format;
    Format m_format = Format::Json;
    std::optional<ReadOutput::Joiner> m_joiner;
};

} // namespace

std::shared_ptr<Command> readCommand()
{
    return std::make_shared<ReadCommand>();
}

} // namespace Metaloom::Cli
