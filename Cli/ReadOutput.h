#pragma once

#include "MetaloomFeature/Model/MetadataExportFormatter.h"

#include <QString>

// How `read` prints the metadata of several files: each file's text is the
// window's export, and the texts are joined into one document of the
// format. JSON: one array of the per-file objects. YAML: one document per
// file, each starting with "---" and a comment naming the file. TOML: one
// table per file, named by the file's path.
namespace Metaloom::Cli::ReadOutput {

using Format = MetadataExportFormatter::Format;

class Joiner {
public:
    // `single`: exactly one file was named, and its text is printed as the
    // window exports it.
    Joiner(Format format, bool single) : m_format(format), m_single(single) {}

    // The text to print for one more file, given its export text.
    QString add(const QString &shownPath, const QString &exportText);
    // The text that closes the document.
    QString finish() const;

private:
    Format m_format;
    bool m_single;
    qsizetype m_count = 0;
};

// A TOML basic string: quotes, backslashes and control characters escaped.
QString tomlQuoted(const QString &text);

} // namespace Metaloom::Cli::ReadOutput
