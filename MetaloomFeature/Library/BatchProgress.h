#pragma once

#include <QString>
#include <QUuid>

namespace Metaloom {

// Where a change (or the first read) of several files stands, as the window shows it: a bar
// filled to `finished` of `total`, the position and name of the file being
// changed, and whether the user asked it to stop after that file.
struct BatchProgress {
    enum class Kind {
        removeAllMetadata,
        applyPreset,
        saveChanges,
        readMetadata,
        copyMetadata,
        adjustDates,
        restoreDates
    };

    QUuid id = QUuid::createUuid();
    Kind kind = Kind::removeAllMetadata;
    // The preset being applied, for applyPreset; the file whose tags are
    // copied, for copyMetadata (empty: each file's partner).
    QString presetName;
    qsizetype total = 0;
    // Files done so far, whatever became of them.
    qsizetype finished = 0;
    // The file being changed: its position from 1 and its name.
    qsizetype current = 0;
    QString currentFileName;
    bool isCancelling = false;

    bool operator==(const BatchProgress &) const = default;
};

} // namespace Metaloom
