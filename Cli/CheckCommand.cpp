// metaloom-cli check FILE...

#include "Command.h"
#include "Console.h"
#include "Operations.h"

#include "MetaloomFeature/Library/PrivacyReportTexts.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Metaloom::Cli {

namespace {

// One object per file: "file", then one array of keys per class.
QString findingsJson(const QString &file, const PrivacyFindings &findings)
{
    QJsonObject object{{QStringLiteral("file"), file}};
    for (PrivacyClass privacyClass : PrivacyClasses::all())
        object.insert(PrivacyClasses::name(privacyClass),
                      QJsonArray::fromStringList(findings.of(privacyClass)));
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// The file's name, then a line for each class with findings.
QString findingsText(const QString &shown, const PrivacyFindings &findings)
{
    if (findings.isEmpty())
        return QCoreApplication::translate("Cli", "%1: nothing found that tells where, when, "
                                                  "who or with what")
            .arg(shown);
    QString text = shown;
    for (PrivacyClass privacyClass : PrivacyClasses::all()) {
        const QStringList keys = findings.of(privacyClass);
        if (!keys.isEmpty())
            text += QStringLiteral("\n  ") + PrivacyReportTexts::classTitle(privacyClass) +
                    QStringLiteral(": ") + printable(keys.join(QStringLiteral(", ")));
    }
    return text;
}

class CheckCommand : public FileCommand {
public:
    QString name() const override { return QStringLiteral("check"); }
    QString synopsis() const override { return QStringLiteral("check FILE... [-r] [--json]"); }
    QString summary() const override
    {
        return QCoreApplication::translate(
            "Cli", "list the tags that tell where, when, who and with what, by class");
    }
    QStringList options() const override
    {
        return {QStringLiteral("recursive"), QStringLiteral("json")};
    }

    std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                   Session *session) override
    {
        const std::optional<QString> mistake = prepareFiles(arguments, session);
        // The findings are the output; the file reports go with the errors.
        m_findingsJson = m_json;
        m_json = false;
        return mistake;
    }

protected:
    QCoro::Task<FileReport> handle(FileOperands::File file) override
    {
        const PrivacyFindings findings = co_await m_session->files->check(file.url);
        m_session->console->output((m_findingsJson
                                        ? findingsJson(file.shownPath, findings)
                                        : findingsText(printable(file.shownPath), findings)) +
                                   u'\n');
        FileReport report;
        report.file = file.shownPath;
        report.line =
            QCoreApplication::translate("Cli", "%1: checked").arg(printable(file.shownPath));
        co_return report;
    }

    SummaryWords words() const override
    {
        using Outcome = FileReport::Outcome;
        return {{{Outcome::complete, QCoreApplication::translate("Cli", "checked")},
                 {Outcome::failed, QCoreApplication::translate("Cli", "failed")}}};
    }
    bool quietWhenFine() const override { return true; }
    bool changesFiles() const override { return false; }

private:
    bool m_findingsJson = false;
};

} // namespace

std::shared_ptr<Command> checkCommand()
{
    return std::make_shared<CheckCommand>();
}

} // namespace Metaloom::Cli
