#include "MinorErrors.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace Metaloom::MinorErrors {

QString minorErrorText(const QString &standardError, const QString &targetPath)
{
    QStringList texts;
    const QStringList tails{QStringLiteral(" - ") + targetPath,
                            QStringLiteral(" - ") + QFileInfo(targetPath).fileName()};
    for (const QString &rawLine : standardError.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString line = rawLine.trimmed();
        if (!line.startsWith(QLatin1String("Error:")))
            continue;
        QString text = line.mid(6).trimmed();
        if (!text.startsWith(QLatin1String("[minor]"), Qt::CaseInsensitive))
            return QString(); // a real error: ignoring minor ones would not help
        text = text.mid(7).trimmed();
        for (const QString &tail : tails) {
            if (text.endsWith(tail)) {
                text.chop(tail.size());
                break;
            }
        }
        texts << text;
    }
    return texts.join(QLatin1Char('\n'));
}

QString plainWords(const QString &exifToolText)
{
    struct Explanation {
        const char *phrase;
        const char *words;
    };
    // The minor errors a user meets when saving, most specific first.
    static const Explanation explanations[] = {
        {"Will wrap JXL codestream",
         QT_TRANSLATE_NOOP("MinorErrors", "the file is a bare JPEG XL image: to hold metadata it "
                                          "has to be put into a container, "
                                          "which some older programs cannot open")},
        {"StripByteCounts",
         QT_TRANSLATE_NOOP("MinorErrors",
                           "the file says its image data is larger or smaller than it is")},
        {"TileByteCounts",
         QT_TRANSLATE_NOOP("MinorErrors",
                           "the file says its image data is larger or smaller than it is")},
        {"Bad IFD",
         QT_TRANSLATE_NOOP("MinorErrors", "a part of the file's metadata looks damaged")},
        {"offset", QT_TRANSLATE_NOOP("MinorErrors",
                                     "a part of the file's metadata points to the wrong place")},
        {"MakerNotes",
         QT_TRANSLATE_NOOP("MinorErrors",
                           "the camera's own notes in the file look damaged and may be lost")},
        {"Duplicate",
         QT_TRANSLATE_NOOP("MinorErrors", "the file holds a part of its metadata twice")},
    };
    for (const Explanation &explanation : explanations) {
        if (exifToolText.contains(QLatin1String(explanation.phrase), Qt::CaseInsensitive))
            return QCoreApplication::translate("MinorErrors", explanation.words);
    }
    return QCoreApplication::translate(
        "MinorErrors", "the file's structure is unusual in a way ExifTool reports as a minor "
                       "problem");
}

} // namespace Metaloom::MinorErrors
