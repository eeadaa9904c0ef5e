#include "WriteReport.h"

#include "MetaloomFeature/Engine/ServiceError.h"

#include <QStringDecoder>

namespace Metaloom::WriteReport {

static QString trimSpacesAndTabs(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(text.at(start)))
        ++start;
    while (end > start && blank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

FileCounts filesReported(const CommandOutput &output)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(output.standardOutput);
    if (decoder.hasError())
        text.clear();

    FileCounts counts;
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &rawLine : lines) {
        const QString line = trimSpacesAndTabs(rawLine);
        qint64 *total = line.endsWith(QLatin1String("image files created"))  ? &counts.created
                        : line.endsWith(QLatin1String("image files copied")) ? &counts.copied
                                                                             : nullptr;
        if (!total)
            continue;
        bool isNumber = false;
        const qint64 count = line.section(QLatin1Char(' '), 0, 0).toLongLong(&isNumber);
        if (isNumber)
            *total += count;
    }
    return counts;
}

void verifyFilesCreated(const CommandOutput &output, const QString &fileName,
                        const QStringList &tags)
{
    if (filesReported(output).created > 0)
        return;
    throw ServiceError::nothingWritten(fileName, tags, warningLines(output.standardError));
}

QStringList warningLines(const QString &standardError)
{
    QStringList warnings;
    const QStringList lines = standardError.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &rawLine : lines) {
        const QString line = trimSpacesAndTabs(rawLine);
        if (line.startsWith(QLatin1String("Warning:")))
            warnings << trimSpacesAndTabs(line.mid(8));
    }
    return warnings;
}

} // namespace Metaloom::WriteReport
