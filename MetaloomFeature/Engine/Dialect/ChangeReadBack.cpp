#include "ChangeReadBack.h"

#include "MetadataJson.h"
#include "WriteArguments.h"

#include "MetaloomFeature/Engine/ServiceError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <optional>

namespace Metaloom::ChangeReadBack {

namespace {

// A key as ExifTool reads it: group names, a tag name and the raw-value mark.
struct KeyShape {
    QStringList groups; // without family numbers; "all" (any group) left out
    QString name;       // lower case; "all" for every tag of the groups
    bool raw = false;
};

QString withoutFamilyNumber(const QString &group)
{
    qsizetype digits = 0;
    while (digits < group.size() && group.at(digits).isDigit())
        ++digits;
    return group.mid(digits);
}

KeyShape shapeOf(const QString &key)
{
    KeyShape shape;
    QString text = key;
    if (text.endsWith(QLatin1Char('#'))) {
        shape.raw = true;
        text.chop(1);
    }
    QStringList parts = text.split(QLatin1Char(':'));
    shape.name = parts.takeLast().toLower();
    for (const QString &part : std::as_const(parts)) {
        const QString group = withoutFamilyNumber(part).toLower();
        if (!group.isEmpty() && group != QLatin1String("all") && group != QLatin1String("*"))
            shape.groups << group;
    }
    return shape;
}

// ExifTool's built-in shortcuts: asked for, each prints tags of other names.
bool isShortcut(const QString &lowerName)
{
    static const QSet<QString> shortcuts{
        QStringLiteral("alldates"),       QStringLiteral("common"),
        QStringLiteral("canon"),          QStringLiteral("nikon"),
        QStringLiteral("makernotes"),     QStringLiteral("unsafe"),
        QStringLiteral("colorspacetags"), QStringLiteral("commonifd0"),
        QStringLiteral("largetags"),      QStringLiteral("ls-l")};
    return shortcuts.contains(lowerName);
}

bool needsCommandOfItsOwn(const KeyShape &shape)
{
    return isShortcut(shape.name) || (shape.name == QLatin1String("all") && shape.groups.isEmpty());
}

// Tags of ExifTool's own group describe the reading, not the file.
bool isExifToolMessage(const QString &printedKey)
{
    return printedKey.startsWith(QLatin1String("ExifTool:"));
}

// The JSON texts ExifTool printed one after the other, one per command.
QList<QByteArray> topLevelValues(const QByteArray &bytes)
{
    QList<QByteArray> values;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (depth++ == 0)
                start = i;
        } else if ((c == ']' || c == '}') && depth > 0 && --depth == 0) {
            values.append(bytes.mid(start, i - start + 1));
        }
    }
    return values;
}

// The objects of one command's answer, one per file.
QList<QJsonObject> eachFile(const QByteArray &answer, qsizetype fileCount)
{
    const QJsonDocument document = MetadataJson::parseKeepingLiterals(answer);
    const QJsonArray files = document.array();
    if (!document.isArray() || files.size() != fileCount)
        throw ServiceError::invalidResponse();
    QList<QJsonObject> objects;
    for (const QJsonValue file : files) {
        if (!file.isObject())
            throw ServiceError::invalidResponse();
        objects << file.toObject();
    }
    return objects;
}

QStringList warningsIn(const QJsonObject &file)
{
    QStringList warnings;
    for (auto it = file.begin(); it != file.end(); ++it) {
        if (it.key().startsWith(QLatin1String("ExifTool:")) &&
            it.key().endsWith(QLatin1String(":Warning")))
            warnings << MetadataJson::itemsOf(it.value());
    }
    return warnings;
}

struct AskedKey {
    QString key;
    KeyShape shape;
};

// The keys of one shared command by tag name, so that a thousand printed
// tags are matched with a thousand keys without comparing every pair.
struct KeyIndex {
    QHash<QString, QList<AskedKey>> byName;
    QList<AskedKey> anyName; // "GPS:all"

    explicit KeyIndex(const QStringList &keys)
    {
        for (const QString &key : keys) {
            AskedKey asked{key, shapeOf(key)};
            if (asked.shape.name == QLatin1String("all"))
                anyName << asked;
            else
                byName[asked.shape.name] << asked;
        }
    }
};

bool groupsMatch(const QStringList &askedGroups, const QStringList &printedParts)
{
    for (const QString &group : askedGroups) {
        bool found = false;
        for (qsizetype i = 0; i + 1 < printedParts.size() && !found; ++i)
            found = printedParts.at(i).compare(group, Qt::CaseInsensitive) == 0;
        if (!found)
            return false;
    }
    return true;
}

// Files each printed tag of one file under every key of the command it
// answers: in a shared command the keys it matches, in a command of its
// own the one key.
void fileAnswers(const QJsonObject &file, const QStringList &keys, const KeyIndex *shared,
                 FileAnswers &answers)
{
    const auto add = [&](const QString &key, const PrintedTag &tag) {
        answers.byKey[key].append(tag);
    };
    for (auto it = file.begin(); it != file.end(); ++it) {
        if (it.key() == QLatin1String("SourceFile") || isExifToolMessage(it.key()))
            continue;
        const PrintedTag tag{it.key(), MetadataJson::itemsOf(it.value())};
        if (!shared) {
            for (const QString &key : keys)
                add(key, tag);
            continue;
        }
        const QStringList parts = tag.key.split(QLatin1Char(':'));
        const QList<AskedKey> named = shared->byName.value(parts.last().toLower());
        for (const QList<AskedKey> *candidates : {&shared->anyName, &named}) {
            for (const AskedKey &asked : *candidates) {
                if (groupsMatch(asked.shape.groups, parts))
                    add(asked.key, tag);
            }
        }
    }
}

} // namespace

Plan planFor(QStringList keys)
{
    keys.removeDuplicates();
    QStringList shared;
    QStringList raw;
    QList<QStringList> own;
    QSet<QString> printedNames;
    for (const QString &key : std::as_const(keys)) {
        const KeyShape shape = shapeOf(key);
        if (!shape.raw && !needsCommandOfItsOwn(shape))
            printedNames.insert(shape.name);
    }
    for (const QString &key : std::as_const(keys)) {
        const KeyShape shape = shapeOf(key);
        if (needsCommandOfItsOwn(shape))
            own.append(QStringList{key});
        else if (shape.raw && printedNames.contains(shape.name))
            raw << key;
        else
            shared << key;
    }
    Plan plan;
    if (!shared.isEmpty())
        plan.commands << shared;
    if (!raw.isEmpty())
        plan.commands << raw;
    plan.commands << own;
    return plan;
}

namespace {

// EXIF's own IFDs, GPS, IPTC, XMP, ICC, JFIF, Photoshop, the file system.
const QSet<QString> &groupsOutsideMakerNotes()
{
    static const QSet<QString> groups{
        QStringLiteral("exif"),       QStringLiteral("ifd0"),  QStringLiteral("ifd1"),
        QStringLiteral("exififd"),    QStringLiteral("gps"),   QStringLiteral("interopifd"),
        QStringLiteral("iptc"),       QStringLiteral("xmp"),   QStringLiteral("icc_profile"),
        QStringLiteral("icc-header"), QStringLiteral("jfif"),  QStringLiteral("photoshop"),
        QStringLiteral("file"),       QStringLiteral("system")};
    return groups;
}

// Whether there are keys, every key names a group, every group it names is
// one of these or XMP's, and no key asks for a tag of these names.
bool everyKeyWithin(const QStringList &keys, const QSet<QString> &groups,
                    const QSet<QString> &namesLeftOut = {})
{
    if (keys.isEmpty())
        return false;
    for (const QString &key : keys) {
        const KeyShape shape = shapeOf(key);
        if (shape.groups.isEmpty() || namesLeftOut.contains(shape.name))
            return false;
        for (const QString &group : shape.groups) {
            if (!groups.contains(group) && !group.startsWith(QLatin1String("xmp-")))
                return false;
        }
    }
    return true;
}

} // namespace

bool readsWithoutMakerNotes(const QStringList &keys)
{
    return everyKeyWithin(keys, groupsOutsideMakerNotes());
}

bool readsWithoutCompositeTags(const QStringList &keys)
{
    static const QSet<QString> stored =
        groupsOutsideMakerNotes() +
        QSet<QString>{QStringLiteral("makernotes"), QStringLiteral("quicktime"),
                      QStringLiteral("keys"),       QStringLiteral("itemlist"),
                      QStringLiteral("userdata"),   QStringLiteral("pdf"),
                      QStringLiteral("png"),        QStringLiteral("riff")};
    // The pictures a file embeds ExifTool makes as composite tags too,
    // under the group that holds them ("IFD1:ThumbnailImage").
    static const QSet<QString> madeUnderTheirGroup{
        QStringLiteral("all"), QStringLiteral("thumbnailimage"), QStringLiteral("previewimage"),
        QStringLiteral("jpgfromraw"), QStringLiteral("otherimage")};
    return everyKeyWithin(keys, stored, madeUnderTheirGroup);
}

QStringList arguments(const Plan &plan, const QStringList &paths, const ChangeOptions &options,
                      bool withoutMakerNotes)
{
    QStringList arguments;
    for (const QStringList &command : plan.commands) {
        if (arguments.isEmpty())
            arguments << QStringLiteral("-ExifTool:Warning"); // once, in the first command
        else
            arguments << QStringLiteral("-execute");
        for (const QString &key : command)
            arguments << QLatin1Char('-') + key;
    }
    // "-a" keeps tags of one name found in several places apart, and the
    // groups of families 0, 1 and 2 (and 4, the copy number of a duplicate)
    // let every printed tag be matched with the key that asked for it.
    arguments << QStringLiteral("-common_args") << QStringLiteral("-json") << QStringLiteral("-a")
              << QStringLiteral("-G0:1:2:4") << WriteArguments::optionArguments(options);
    if (withoutMakerNotes)
        arguments << QStringLiteral("-fast2");
    QStringList keys;
    for (const QStringList &command : plan.commands)
        keys << command;
    if (readsWithoutCompositeTags(keys))
        arguments << QStringLiteral("-e"); // about half of a small read's cost
    arguments << paths;
    return arguments;
}

QString familyOneKey(const QString &printedKey)
{
    // Groups of families 0, 1, 2 and 4 ("-G0:1:2:4"); every tag has the
    // first three, with 0 and 1 printed once when they are the same.
    QStringList parts = printedKey.split(QLatin1Char(':'));
    const QString tag = parts.takeLast();
    static const QRegularExpression copy(QStringLiteral("^Copy[0-9]+$"));
    if (!parts.isEmpty() && copy.match(parts.last()).hasMatch())
        parts.removeLast();
    if (parts.isEmpty())
        return tag;
    const QString familyOne = parts.size() >= 3 ? parts.at(1) : parts.first();
    return familyOne + QLatin1Char(':') + tag;
}

bool answers(const QString &askedKey, const QString &printedKey)
{
    const KeyShape asked = shapeOf(askedKey);
    const QStringList parts = printedKey.split(QLatin1Char(':'));
    if (asked.name != QLatin1String("all") &&
        parts.last().compare(asked.name, Qt::CaseInsensitive) != 0)
        return false;
    return groupsMatch(asked.groups, parts);
}

QList<FileAnswers> answersFrom(const Plan &plan, const QByteArray &standardOutput,
                               qsizetype fileCount)
{
    const QList<QByteArray> values = topLevelValues(standardOutput);
    if (values.size() != plan.commands.size())
        throw ServiceError::invalidResponse();
    QList<FileAnswers> files(fileCount);
    for (FileAnswers &file : files) {
        for (const QStringList &command : plan.commands) {
            for (const QString &key : command)
                file.byKey.insert(key, {});
        }
    }
    for (qsizetype i = 0; i < plan.commands.size(); ++i) {
        const QList<QJsonObject> objects = eachFile(values.at(i), fileCount);
        const QStringList &keys = plan.commands.at(i);
        const bool ownCommand = keys.size() == 1 && needsCommandOfItsOwn(shapeOf(keys.first()));
        std::optional<KeyIndex> index;
        if (!ownCommand)
            index.emplace(keys);
        for (qsizetype f = 0; f < fileCount; ++f) {
            fileAnswers(objects.at(f), keys, index ? &*index : nullptr, files[f]);
            if (i == 0)
                files[f].warnings = warningsIn(objects.at(f));
        }
    }
    return files;
}

Answers combine(const FileAnswers &newFile, const std::optional<FileAnswers> &original)
{
    Answers answers;
    answers.newWarnings = newFile.warnings;
    answers.originalRead = original.has_value();
    if (original)
        answers.originalWarnings = original->warnings;
    for (auto it = newFile.byKey.cbegin(); it != newFile.byKey.cend(); ++it) {
        Held &held = answers.byKey[it.key()];
        held.after = it.value();
        if (original && original->byKey.contains(it.key())) {
            held.before = original->byKey.value(it.key());
            held.beforeRead = true;
        }
    }
    return answers;
}

} // namespace Metaloom::ChangeReadBack
