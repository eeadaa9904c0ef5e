// Adds presets, pins and custom fields to the preferences file named on the
// command line, one change at a time, as another window or another copy of
// the program would: stored_lists_writer <file> <name prefix> <count>.
#include "MetaloomFeature/Model/FavoriteTagsStore.h"
#include "MetaloomFeature/Model/PresetsStore.h"

#include <QCoreApplication>

using namespace Metaloom;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4)
        return 2;
    const Preferences preferences = Preferences::atPath(arguments.at(1));
    PresetsStore presets(preferences);
    FavoriteTagsStore fields(preferences);
    for (int i = 0; i < arguments.at(3).toInt(); ++i) {
        const QString name = arguments.at(2) + QString::number(i);
        const QString key = QStringLiteral("XMP-dc:") + name;
        const bool added =
            presets.addPreset({QUuid::createUuid(), name, PresetAction::addOrModifyMetadata()}) &&
            fields.changeFavorites({key}, {}).contains(key) &&
            !fields.changeCustomTags({{{QUuid::createUuid(), key, name}}, {}}).isEmpty();
        if (!added)
            return 1;
    }
    return 0;
}
