#pragma once

#include <QByteArray>
#include <QString>

namespace Metaloom {

// What ExifTool printed for one run that exited with status 0, however it
// was run: a process of its own or a resident one.
struct CommandOutput {
    QByteArray standardOutput; // byte for byte as received
    QString standardError;     // UTF-8 decoded (empty when invalid), trimmed
    bool operator==(const CommandOutput &) const = default;
};

} // namespace Metaloom
