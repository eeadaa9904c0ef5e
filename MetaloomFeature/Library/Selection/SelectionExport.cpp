#include "SelectionExport.h"

#include "MetaloomFeature/Model/ExportTextWriters.h"

namespace Metaloom::SelectionExport {

namespace {

QString indented(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line.prepend(QStringLiteral("  "));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString string(const QList<FileEntries> &files, MetadataExportFormatter::Format format)
{
    using MetadataExportFormatter::Format;
    QStringList parts;
    for (const FileEntries &file : files) {
        QList<MetadataEntry> entries = file.entries;
        if (format == Format::Json)
            entries.prepend(MetadataEntry(QStringLiteral("SourceFile"), file.path));
        QString text = MetadataExportFormatter::string(entries, format);
        switch (format) {
        case Format::Json:
            parts.append(indented(text));
            break;
        case Format::Yaml:
            parts.append(text);
            break;
        case Format::Toml: {
            // The single file's comment line is said once, at the top.
            QStringList lines = text.split(QLatin1Char('\n'));
            if (!lines.isEmpty() && lines.first().startsWith(QLatin1Char('#')))
                lines.removeFirst();
            parts.append(QLatin1Char('[') + ExportTextWriters::tomlQuoted(file.path) +
                         QStringLiteral("]\n") + lines.join(QLatin1Char('\n')));
            break;
        }
        }
    }
    switch (format) {
    case Format::Json:
        return QStringLiteral("[\n") + parts.join(QStringLiteral(",\n")) + QStringLiteral("\n]");
    case Format::Yaml:
        return parts.join(QString());
    case Format::Toml:
        return QStringLiteral("# Metaloom metadata export\n\n") + parts.join(QStringLiteral("\n"));
    }
    Q_UNREACHABLE();
}

} // namespace Metaloom::SelectionExport
