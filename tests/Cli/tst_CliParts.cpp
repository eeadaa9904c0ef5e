// The command line's parts on their own: the parser and the whole command
// line with tables of argument lists, the tag assignments, the reports and
// their texts, the joined read output read back by real parsers, the
// matching of asked keys to ExifTool's names, and the expansion of folders.
#include "Cli/ArgumentParser.h"
#include "Cli/Console.h"
#include "Cli/FileOperands.h"
#include "Cli/Options.h"
#include "Cli/Program.h"
#include "Cli/ReadOutput.h"
#include "Cli/TagChange.h"
#include "tests/Cli/CliProcess.h"
#include "tests/support/TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Cli;
using namespace Metaloom::Testing;

namespace {

QStringList optionTexts(const ArgumentParser::Arguments &arguments)
{
    QStringList texts;
    for (const ArgumentParser::GivenOption &option : arguments.options)
        texts << option.name + u'=' + option.value;
    return texts;
}

Preset preset(const QString &name, QMap<QString, QString> overrides, QStringList removals = {})
{
    return {QUuid::createUuid(), name,
            PresetAction::addOrModifyMetadata(std::move(overrides), std::move(removals))};
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("x");
}

} // namespace

class CliPartsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parser_data();
    void parser();
    void commandLine_data();
    void commandLine();
    void tagAssignments();
    void presetAssignments();
    void dryRunComparison_data();
    void dryRunComparison();
    void jsonLinesHoldExactlyTheirKeys();
    void summaries_data();
    void summaries();
    void progressAndPrintableText();
    void joinedReadOutputParses_data();
    void joinedReadOutputParses();
    void foldersExpand();
};

void CliPartsTest::parser_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("mistake");

    const auto row = [](const char *name, QStringList arguments, const char *command,
                        QStringList options, QStringList operands, const char *mistake = "") {
        QTest::newRow(name) << arguments << QString::fromUtf8(command) << options << operands
                            << QString::fromUtf8(mistake);
    };
    row("options stand anywhere among the files",
        {"set", "a.jpg", "--tag", "XMP-dc:Title=x", "b.jpg", "-r", "--json"}, "set",
        {"tag=XMP-dc:Title=x", "recursive=", "json="}, {"a.jpg", "b.jpg"});
    row("a value after '=' keeps its own '='", {"set", "--tag=Title=a=b", "x.jpg"}, "set",
        {"tag=Title=a=b"}, {"x.jpg"});
    row("a repeated option keeps every value in order",
        {"set", "f", "--tag", "K=1", "--remove", "R", "--tag", "K=2"}, "set",
        {"tag=K=1", "remove=R", "tag=K=2"}, {"f"});
    row("'--' ends the options", {"strip", "--", "-x.jpg", "--json", "-r"}, "strip", {},
        {"-x.jpg", "--json", "-r"});
    row("'--' may come before the command", {"--", "strip", "a"}, "strip", {}, {"a"});
    row("a dash alone is an operand", {"read", "-"}, "read", {}, {"-"});
    row("a value that looks like an option is still the value", {"set", "f", "--remove", "--json"},
        "set", {"remove=--json"}, {"f"});
    row("options without a command", {"--version"}, "", {"version="}, {});
    row("letters are not bundled", {"strip", "-rh", "a"}, "", {}, {}, "unknown option '-rh'");
    row("a file name with a dash is pointed to '--'", {"strip", "-x.jpg"}, "", {}, {},
        "unknown option '-x.jpg' (a file whose name starts with '-' goes after '--'");
    row("an unknown long option", {"strip", "--frobnicate", "a"}, "", {}, {},
        "unknown option '--frobnicate'");
    row("an unknown long option with a value", {"strip", "--colour=red"}, "", {}, {},
        "unknown option '--colour'");
    row("a missing value", {"set", "a.jpg", "--tag"}, "", {}, {},
        "option '--tag' needs a value (KEY=VALUE)");
    row("a value for an option that takes none", {"strip", "--json=yes", "a"}, "", {}, {},
        "option '--json' takes no value");
}

void CliPartsTest::parser()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, command);
    QFETCH(QStringList, options);
    QFETCH(QStringList, operands);
    QFETCH(QString, mistake);

    const ArgumentParser::Result result = ArgumentParser::parse(arguments, Options::knownOptions());
    if (!mistake.isEmpty()) {
        const auto *error = std::get_if<ArgumentParser::Mistake>(&result);
        QVERIFY(error);
        QVERIFY2(error->message.startsWith(mistake), qPrintable(error->message));
        return;
    }
    const auto *parsed = std::get_if<ArgumentParser::Arguments>(&result);
    const auto *mistaken = std::get_if<ArgumentParser::Mistake>(&result);
    QVERIFY2(parsed, qPrintable(mistaken ? mistaken->message : QString()));
    QCOMPARE(parsed->command, command);
    QCOMPARE(optionTexts(*parsed), options);
    QCOMPARE(parsed->operands, operands);
}

void CliPartsTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("outputPart");
    QTest::addColumn<QString>("errorPart");

    const auto row = [](const char *name, QStringList arguments, int exitStatus,
                        const char *command, const char *outputPart, const char *errorPart) {
        QTest::newRow(name) << arguments << exitStatus << QString::fromUtf8(command)
                            << QString::fromUtf8(outputPart) << QString::fromUtf8(errorPart);
    };
    row("nothing at all", {}, 2, "", "",
        "metaloom-cli: no command given\nTry 'metaloom-cli --help'");
    row("the version", {"--version"}, 0, "", "metaloom-cli (Metaloom) ", "");
    row("the help lists every command", {"--help"}, 0, "",
        "  apply-preset NAME FILE... [-r] [--json] [--dry-run]\n", "");
    row("a command's help", {"set", "--help"}, 0, "",
        "Usage: metaloom-cli set FILE... (--tag KEY=VALUE | --remove KEY)...", "");
    row("an option before any command", {"--json", "strip", "a"}, 0, "strip", "", "");
    row("an option alone", {"--json"}, 2, "", "", "'--json' needs a command before it");
    row("an unknown command", {"wipe", "a.jpg"}, 2, "", "", "unknown command 'wipe'");
    row("an option of another command", {"read", "--dry-run", "a.jpg"}, 2, "", "",
        "'read' takes no option '--dry-run'");
    row("presets takes no --json", {"presets", "--json"}, 2, "", "",
        "'presets' takes no option '--json'");
    row("presets takes no files", {"presets", "a.jpg"}, 2, "", "", "'presets' takes no files");
    row("strip without files", {"strip", "--json"}, 2, "", "", "'strip' needs at least one file");
    row("set without tags", {"set", "a.jpg"}, 2, "", "",
        "'set' needs at least one --tag KEY=VALUE or --remove KEY");
    row("a tag without '='", {"set", "a.jpg", "--tag", "Title"}, 2, "", "",
        "'--tag Title' has no '='");
    row("an empty value points to --remove", {"set", "a.jpg", "--tag", "Title="}, 2, "", "",
        "to delete the tag, write --remove Title");
    row("a key ExifTool reads as an option", {"set", "a.jpg", "--tag", "j=/tmp/tags.json"}, 2, "",
        "", "cannot use the tag key 'j'");
    row("a key that would run code", {"set", "a.jpg", "--tag", "Title<${Make}=x"}, 2, "", "",
        "cannot use the tag key");
    row("a key that renames the file", {"set", "a.jpg", "--tag", "FileName=b.jpg"}, 2, "", "",
        "cannot use the tag key 'FileName'");
    row("a removal ExifTool reads as an option", {"set", "a.jpg", "--remove", "--json"}, 2, "", "",
        "cannot use the tag key '--json'");
    row("a key both set and removed", {"set", "a.jpg", "--tag", "Title=x", "--remove", "title"}, 2,
        "", "", "title is both set and removed");
    row("an unknown format", {"read", "--format", "xml", "a.jpg"}, 2, "", "",
        "unknown format 'xml' (json, yaml or toml)");
    row("two formats", {"read", "--format", "json", "--format=yaml", "a.jpg"}, 2, "", "",
        "give --format once");
    row("an unknown preset names the known ones", {"apply-preset", "Nope", "a.jpg"}, 2, "", "",
        "no preset named 'Nope'; your presets are 'Web', 'Twice', 'Twice', 'Empty'");
    row("two presets of one name", {"apply-preset", "Twice", "a.jpg"}, 2, "", "",
        "2 presets are named 'Twice'");
    row("a preset that does nothing", {"apply-preset", "Empty", "a.jpg"}, 2, "", "",
        "the preset 'Empty' has no operations to apply");
    row("a preset without files", {"apply-preset", "Web"}, 2, "", "",
        "'apply-preset' needs at least one file");
    row("a preset and files", {"apply-preset", "Web", "a.jpg", "b.jpg"}, 0, "apply-preset", "", "");
    row("a list and a removal", {"set", "a.jpg", "--tag", "K=1", "--tag", "k=2", "--remove", "Z"},
        0, "set", "", "");
}

void CliPartsTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitStatus);
    QFETCH(QString, command);
    QFETCH(QString, outputPart);
    QFETCH(QString, errorPart);

    TestEnvironment environment;
    Session session;
    int presetReads = 0;
    session.presets = [&presetReads] {
        ++presetReads;
        return QList<Preset>{preset("Web", {{"XMP-dc:Rights", "CC"}}),
                             preset("Twice", {{"XMP-dc:Rights", "A"}}),
                             preset("Twice", {}, {"GPS:all"}), preset("Empty", {})};
    };
    const Program::Prepared prepared = Program::prepare(arguments, &session);
    QCOMPARE(prepared.exitStatus, exitStatus);
    QCOMPARE(prepared.command ? prepared.command->name() : QString(), command);
    QVERIFY2(prepared.output.contains(outputPart), qPrintable(prepared.output));
    QVERIFY2(prepared.error.contains(errorPart), qPrintable(prepared.error));
    QCOMPARE(prepared.output.isEmpty(), outputPart.isEmpty());
    QCOMPARE(prepared.error.isEmpty(), errorPart.isEmpty());
    // Only apply-preset reads the presets.
    QCOMPARE(presetReads > 0, arguments.value(0) == QLatin1String("apply-preset") &&
                                  !arguments.contains(QStringLiteral("--help")));
}

void CliPartsTest::tagAssignments()
{
    const auto assignments = TagChange::fromOptions(
        {"XMP-dc:Subject=alpha", "IFD0:Artist=Ann = Bo", "xmp-dc:subject=beta, gamma"},
        {"GPS:all", "GPS:all"});
    const auto *list = std::get_if<QList<TagAssignment>>(&assignments);
    const auto *mistake = std::get_if<QString>(&assignments);
    QVERIFY2(list, qPrintable(mistake ? *mistake : QString()));
    // A repeated key is one list tag, spelled as first given; a removal
    // given twice is one.
    const QList<TagAssignment> expected{{"XMP-dc:Subject", {"alpha", "beta, gamma"}},
                                        {"IFD0:Artist", {"Ann = Bo"}},
                                        {"GPS:all", {}}};
    QCOMPARE(*list, expected);
}

void CliPartsTest::presetAssignments()
{
    // The window deletes first and then writes; a list keeps its items, an
    // empty item carries nothing, and no text at all deletes.
    const Preset items{
        QUuid::createUuid(), "P",
        PresetAction::addOrModifyItems(
            {{"XMP-dc:Rights", {"CC"}}, {"IFD0:Artist", {""}}, {"Keywords", {"a, b", "", "c"}}},
            {"GPS:all", "IFD0:Model"})};
    const QList<TagAssignment> expected{{"GPS:all", {}},
                                        {"IFD0:Model", {}},
                                        {"IFD0:Artist", {}},
                                        {"Keywords", {"a, b", "c"}},
                                        {"XMP-dc:Rights", {"CC"}}};
    QCOMPARE(TagChange::fromPreset(items), expected);
}

void CliPartsTest::dryRunComparison_data()
{
    QTest::addColumn<QList<TagAssignment>>("asked");
    QTest::addColumn<StoredTags>("stored");
    QTest::addColumn<QStringList>("wouldWrite");
    QTest::addColumn<QStringList>("wouldRemove");
    QTest::addColumn<QString>("line");

    const TagAssignment title{"Title", {"Dawn"}};
    const TagAssignment keywords{"Keywords", {"a", "b"}};
    const TagAssignment noGps{"GPS:all", {}};
    const StoredTag dawn{"XMP-dc:Title", {"Dawn"}};
    const StoredTag dusk{"IPTC:ObjectName", {"Dusk"}};
    const StoredTag latitude{"GPS:GPSLatitude", {"1"}};

    QTest::newRow("holds every value, nothing to remove")
        << QList<TagAssignment>{title, noGps} << StoredTags{{title.key, {dawn}}, {noGps.key, {}}}
        << QStringList() << QStringList() << "f.jpg: already as asked, nothing would change";
    QTest::newRow("a value not there yet, a tag to remove")
        << QList<TagAssignment>{title, noGps}
        << StoredTags{{title.key, {}}, {noGps.key, {latitude}}} << QStringList{title.key}
        << QStringList{noGps.key} << "f.jpg: would set Title to “Dawn”, would remove GPS:all";
    QTest::newRow("one of two groups holds another value")
        << QList<TagAssignment>{title} << StoredTags{{title.key, {dawn, dusk}}}
        << QStringList{title.key} << QStringList()
        << "f.jpg: would set Title to “Dawn” (now “Dusk”)";
    QTest::newRow("a list compares item by item")
        << QList<TagAssignment>{keywords}
        << StoredTags{{keywords.key, {{"IPTC:Keywords", {"a, b"}}}}} << QStringList{keywords.key}
        << QStringList() << "f.jpg: would set Keywords to “a”, “b” (now “a, b”)";
}

void CliPartsTest::dryRunComparison()
{
    QFETCH(QList<TagAssignment>, asked);
    QFETCH(StoredTags, stored);
    QFETCH(QStringList, wouldWrite);
    QFETCH(QStringList, wouldRemove);
    QFETCH(QString, line);

    const FileReport report = TagChange::compared("f.jpg", asked, stored);
    QCOMPARE(report.notWritten, wouldWrite);
    QCOMPARE(report.notRemoved, wouldRemove);
    QCOMPARE(report.complete(), wouldWrite.isEmpty() && wouldRemove.isEmpty());
    QVERIFY(report.ok());
    QCOMPARE(report.line, line);
}

void CliPartsTest::jsonLinesHoldExactlyTheirKeys()
{
    FileReport stripped;
    stripped.file = "dir/new\nline \"q\".jpg";
    stripped.outcome = FileReport::Outcome::incomplete;
    stripped.remaining = QStringList{"IFD0:Make"};
    QCOMPARE(jsonLine(stripped, true),
             QStringLiteral("{\"file\":\"dir/new\\nline \\\"q\\\".jpg\",\"ok\":true,\"complete\":"
                            "false,\"error\":null,\"notWritten\":[],\"notRemoved\":[],"
                            "\"remaining\":[\"IFD0:Make\"]}"));

    const FileReport failed = FileReport::failure("a.jpg", "No.");
    const QJsonObject object = QJsonDocument::fromJson(jsonLine(failed).toUtf8()).object();
    QCOMPARE(object.keys(),
             (QStringList{"complete", "error", "file", "notRemoved", "notWritten", "ok"}));
    QCOMPARE(object.value(QStringLiteral("ok")), QJsonValue(false));
    QCOMPARE(object.value(QStringLiteral("error")), QJsonValue(QStringLiteral("No.")));
    QVERIFY(!jsonLine(failed).contains(u'\n'));
    // A strip that failed read no tags: what stayed is not known.
    QVERIFY(jsonLine(failed, true).endsWith(",\"remaining\":null}"));
}

void CliPartsTest::summaries_data()
{
    QTest::addColumn<QList<int>>("outcomes");
    QTest::addColumn<QString>("text");
    using O = FileReport::Outcome;
    QTest::newRow("the example") << QList<int>{0, 0, 0, 2} << "3 files changed, 1 failed";
    QTest::newRow("one of each") << QList<int>{int(O::failed), int(O::incomplete), int(O::complete)}
                                 << "1 file changed, 1 changed in part, 1 failed";
    QTest::newRow("only failures") << QList<int>{2, 2} << "2 files failed";
    QTest::newRow("nothing to change")
        << QList<int>{int(O::unchanged), int(O::complete)} << "1 file changed, 1 already as asked";
    QTest::newRow("none") << QList<int>{} << "No files";
}

void CliPartsTest::summaries()
{
    QFETCH(QList<int>, outcomes);
    QFETCH(QString, text);
    QList<FileReport> reports;
    for (int outcome : outcomes) {
        FileReport report;
        report.outcome = FileReport::Outcome(outcome);
        reports << report;
    }
    QCOMPARE(summary(reports, TagChange::words(false)), text);
}

void CliPartsTest::progressAndPrintableText()
{
    QCOMPARE(progressLine(12, 300, QStringLiteral("trip/photo.jpg"), 0),
             QStringLiteral("12/300 photo.jpg"));
    // The last column stays free, so the line never wraps.
    const QString cut = progressLine(1, 2, "a-rather-long-name.jpg", 12);
    QCOMPARE(cut, QStringLiteral("1/2 a-rath") + QChar(0x2026));
    QCOMPARE(cut.size(), 11);
    QCOMPARE(printable(QStringLiteral("a\nb\tc\x1b[31md\\e\u0085")),
             QStringLiteral("a\\nb\\tc\\x1b[31md\\\\e\\x85"));
    QCOMPARE(printable(QStringLiteral("Café “quoted” 写真.jpg")),
             QStringLiteral("Café “quoted” 写真.jpg"));
}

void CliPartsTest::joinedReadOutputParses_data()
{
    QTest::addColumn<MetadataExportFormatter::Format>("format");
    QTest::newRow("json") << MetadataExportFormatter::Format::Json;
    QTest::newRow("yaml") << MetadataExportFormatter::Format::Yaml;
    QTest::newRow("toml") << MetadataExportFormatter::Format::Toml;
}

void CliPartsTest::joinedReadOutputParses()
{
    QFETCH(MetadataExportFormatter::Format, format);
    TestEnvironment environment;
    const QList<MetadataEntry> first{{"IFD0:Make", "Canon"}, {"XMP-dc:Title", "a \"b\"\nc"}};
    const QList<MetadataEntry> second{{"IPTC:City", "Oslo"}};
    const QString firstPath = "trip/\"odd\" name\n.jpg";
    const QString secondPath = "b.png";

    ReadOutput::Joiner joiner(format, false);
    QString text = joiner.add(firstPath, MetadataExportFormatter::string(first, format));
    text += joiner.add(secondPath, MetadataExportFormatter::string(second, format));
    text += joiner.finish();

    const QJsonObject firstObject{{"IFD0:Make", "Canon"}, {"XMP-dc:Title", "a \"b\"\nc"}};
    const QJsonObject secondObject{{"IPTC:City", "Oslo"}};
    QJsonValue expected;
    switch (format) {
    case MetadataExportFormatter::Format::Json:
    case MetadataExportFormatter::Format::Yaml:
        expected = QJsonArray{firstObject, secondObject};
        break;
    case MetadataExportFormatter::Format::Toml:
        expected = QJsonObject{{firstPath, firstObject}, {secondPath, secondObject}};
        break;
    }
    const QJsonValue read = readByPython(MetadataExportFormatter::rawValue(format), text.toUtf8(),
                                         environment.workPath());
    QCOMPARE(read, expected);

    // No file read: JSON still prints a document, the others nothing.
    ReadOutput::Joiner empty(format, false);
    QCOMPARE(empty.finish(),
             format == MetadataExportFormatter::Format::Json ? QStringLiteral("[]\n") : QString());
    // One file named on its own prints exactly the window's export.
    ReadOutput::Joiner single(format, true);
    const QString alone = MetadataExportFormatter::string(second, format);
    QCOMPARE(single.add(secondPath, alone) + single.finish(),
             format == MetadataExportFormatter::Format::Json ? alone + u'\n' : alone);
}

void CliPartsTest::foldersExpand()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    for (const char *folder : {"top/sub/deeper", "top/.hidden-folder", "top/empty", "other"})
        work.mkpath(QString::fromLatin1(folder));
    for (const char *file : {"top/b.jpg", "top/A.jpg", "top/.hidden.jpg", "top/sub/c.jpg",
                             "top/sub/deeper/d.jpg", "top/.hidden-folder/e.jpg", "lone.jpg"})
        touch(work.filePath(QString::fromLatin1(file)));
    QVERIFY(QFile::link(work.filePath("top/sub"), work.filePath("top/link-to-sub")));
    const QString previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));

    const auto shown = [](const FileOperands::Expansion &expansion) {
        QStringList paths;
        for (const FileOperands::File &file : expansion.files)
            paths << file.shownPath;
        return paths;
    };
    // Name order ignores case, as the window's; hidden files stay out.
    const FileOperands::Expansion flat = FileOperands::expand({"top", "lone.jpg"}, false);
    QCOMPARE(shown(flat), (QStringList{"top/A.jpg", "top/b.jpg", "lone.jpg"}));
    QCOMPARE(flat.files.first().url,
             QUrl::fromLocalFile(work.filePath(QStringLiteral("top/A.jpg"))));
    QVERIFY(flat.notes.isEmpty());

    // Subfolders after the folder's own files; no way in through the link,
    // none into hidden folders; a file met again is listed once.
    const FileOperands::Expansion deep =
        FileOperands::expand({"top/", "top/sub/c.jpg", "other", "top/empty"}, true);
    QCOMPARE(shown(deep),
             (QStringList{"top/A.jpg", "top/b.jpg", "top/sub/c.jpg", "top/sub/deeper/d.jpg"}));
    QCOMPARE(deep.notes, (QStringList{"other: no files in this folder or its subfolders",
                                      "top/empty: no files in this folder or its subfolders"}));
    QDir::setCurrent(previousFolder);
}

QTEST_GUILESS_MAIN(CliPartsTest)
#include "tst_CliParts.moc"
