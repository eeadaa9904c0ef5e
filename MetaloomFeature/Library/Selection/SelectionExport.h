#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"
#include "MetaloomFeature/Model/MetadataExportFormatter.h"

#include <QList>
#include <QString>

// The metadata of several files in one export file. Pure.
namespace Metaloom::SelectionExport {

struct FileEntries {
    // The file's path, the "SourceFile" member of its object (as ExifTool
    // names the file in its own JSON) and the name of its TOML table.
    QString path;
    QList<MetadataEntry> entries;
};

// JSON: an array of the files' objects, each as a single file's export
// (indented one step more). YAML: the files' documents one after the other.
// TOML: the export's comment line, then one table per file named by its
// path holding the file's lines. Throws what the single file's export throws.
QString string(const QList<FileEntries> &files, MetadataExportFormatter::Format format);

} // namespace Metaloom::SelectionExport
