// metaloom-cli strip FILE...

#include "Command.h"
#include "Console.h"
#include "Operations.h"

#include "MetaloomFeature/Library/BatchReportTexts.h"
#include "MetaloomFeature/Library/PrivacyReportTexts.h"

#include <QCoreApplication>

namespace Metaloom::Cli {

namespace {

// "A, B, C and 12 more": the first few keys of a long list.
QString someOf(const QStringList &keys)
{
    constexpr qsizetype shown = 8;
    QString text = keys.mid(0, shown).join(QStringLiteral(", "));
    if (keys.size() > shown)
        text = QCoreApplication::translate("Cli", "%1 and %2 more")
                   .arg(text, QString::number(keys.size() - shown));
    return text;
}

// Make, Model, SerialNumber, DateTimeOriginal: the first few tag names,
// without their groups, each once.
QStringList someNamesOf(const QList<MetadataEntry> &entries)
{
    QStringList names;
    for (const MetadataEntry &entry : entries) {
        if (!names.contains(entry.tag))
            names << entry.tag;
        if (names.size() == 4)
            break;
    }
    return names;
}

QString tagCount(qsizetype count)
{
    return BatchReportTexts::tagCount(count);
}

class StripCommand : public FileCommand {
public:
    QString name() const override { return QStringLiteral("strip"); }
    QString synopsis() const override
    {
        return QStringLiteral("strip [--profile NAME] FILE... [-r] [--json] [--dry-run]");
    }
    QString summary() const override
    {
        return QCoreApplication::translate(
            "Cli", "remove all metadata, as Remove Metadata does, and say what stayed");
    }
    QStringList options() const override
    {
        return {QStringLiteral("profile"), QStringLiteral("recursive"), QStringLiteral("json"),
                QStringLiteral("dry-run")};
    }

    std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                   Session *session) override
    {
        const QStringList names = arguments.values(QStringLiteral("profile"));
        if (names.size() > 1)
            return QCoreApplication::translate("Cli", "give --profile once");
        if (!names.isEmpty()) {
            if (arguments.has(QStringLiteral("dry-run")))
                return QCoreApplication::translate("Cli",
                                                   "--dry-run is not available with --profile");
            m_profile = StripProfile::named(names.first(), session->stripProfiles());
            if (!m_profile) {
                QStringList known;
                for (const StripProfile &profile : StripProfile::builtIn())
                    known << profile.name;
                for (const StripProfile &profile : session->stripProfiles())
                    known << profile.name;
                return QCoreApplication::translate("Cli", "no strip profile named '%1' (%2)")
                    .arg(names.first(), known.join(QStringLiteral(", ")));
            }
        }
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
                report.line = QCoreApplication::translate("Cli", "%1: holds no metadata to remove")
                                  .arg(shown);
            } else {
                report.outcome = FileReport::Outcome::incomplete;
                report.line = QCoreApplication::translate("Cli", "%1: would try to remove %2 (%3)")
                                  .arg(shown, tagCount(keys.size()), someOf(keys));
            }
            co_return report;
        }
        if (m_profile) {
            const PrivacyStripReport proof =
                co_await m_session->files->stripForSharing(file.url, *m_profile);
            report.remaining = proof.left;
            if (!proof.isClean())
                report.outcome = FileReport::Outcome::incomplete;
            report.line = PrivacyReportTexts::proof(shown, proof);
            if (!proof.warnings.isEmpty())
                report.line += QStringLiteral(" ExifTool: ") + printable(proof.warnings.join(u' '));
            co_return report;
        }
        const StripReport result = co_await m_session->files->strip(file.url);
        const QList<MetadataEntry> remaining = StripReport::identifyingFirst(result.remaining);
        report.remaining = QStringList();
        for (const MetadataEntry &entry : remaining)
            report.remaining->append(entry.rawKey);
        if (result.isComplete()) {
            report.line = BatchReportTexts::removedFromFile(shown);
        } else {
            report.outcome = FileReport::Outcome::incomplete;
            const QStringList names = someNamesOf(remaining);
            const QString removed = tagCount(result.removed.size());
            const QString left = tagCount(remaining.size());
            const QString shownNames = names.join(QStringLiteral(", "));
            // The verb follows the count in some languages, hence a text for one tag.
            if (remaining.size() == 1)
                report.line = QCoreApplication::translate(
                                  "Cli",
                                  "Removed %1 from %2. %3 could not be removed from this file "
                                  "type: %4.",
                                  "one tag left")
                                  .arg(removed, shown, left, shownNames);
            else if (names.size() < remaining.size())
                report.line =
                    QCoreApplication::translate(
                        "Cli", "Removed %1 from %2. %3 could not be removed from this file "
                               "type, among them %4.")
                        .arg(removed, shown, left, shownNames);
            else
                report.line = QCoreApplication::translate(
                                  "Cli",
                                  "Removed %1 from %2. %3 could not be removed from this file "
                                  "type: %4.",
                                  "several tags left")
                                  .arg(removed, shown, left, shownNames);
        }
        // What ExifTool says about the strip ("Deleted tags may be
        // recovered!" for a PDF) matters to whoever shares the file.
        if (!result.warnings.isEmpty())
            report.line += QStringLiteral(" ExifTool: ") + printable(result.warnings.join(u' '));
        co_return report;
    }

    bool reportsRemaining() const override { return true; }

    SummaryWords words() const override
    {
        using Outcome = FileReport::Outcome;
        if (m_dryRun)
            return {{{Outcome::incomplete, QCoreApplication::translate("Cli", "would be stripped")},
                     {Outcome::complete, QCoreApplication::translate("Cli", "hold no metadata")},
                     {Outcome::failed, QCoreApplication::translate("Cli", "failed")}}};
        return {{{Outcome::complete, QCoreApplication::translate("Cli", "stripped")},
                 {Outcome::incomplete, QCoreApplication::translate("Cli", "stripped in part")},
                 {Outcome::failed, QCoreApplication::translate("Cli", "failed")}}};
    }

private:
    std::optional<StripProfile> m_profile;
};

} // namespace

std::shared_ptr<Command> stripCommand()
{
    return std::make_shared<StripCommand>();
}

} // namespace Metaloom::Cli
