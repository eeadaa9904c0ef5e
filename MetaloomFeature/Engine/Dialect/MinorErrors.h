#pragma once

#include <QString>

namespace Metaloom::MinorErrors {

// ExifTool stops at some things it would rather not do to a file and marks
// them "[minor]" ("Error: [minor] Will wrap JXL codestream in ISO BMFF
// container for writing"); with "-m" it does them. These are ExifTool's
// texts of such errors in its standard error, one per line, without
// "Error: [minor]" and the file name after them; empty when there is none
// or when another error stopped ExifTool too (then "-m" would not help).
QString minorErrorText(const QString &standardError, const QString &targetPath);

// What ExifTool objects to, in words for someone who does not know the
// file's structure: completes "ExifTool did not change the file because ...".
QString plainWords(const QString &exifToolText);

} // namespace Metaloom::MinorErrors
