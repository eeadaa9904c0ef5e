// The service's own life: what it sets up for the engine when a window
// creates it, and lets go when the window closes. The operations live in
// MetadataReading.cpp, TagChanges.cpp, Stripping.cpp, FormatWritability.cpp and
// TagDefinitions.cpp.

#include "ExifToolService.h"

#include "MetaloomFeature/Engine/FileSafety/Leftovers.h"
#include "MetaloomFeature/Engine/Process/ExifToolPool.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

namespace Metaloom {

ExifToolService::ExifToolService(std::optional<ResourceBundle> bundle, QObject *parent)
    : QObject(parent), m_bundle(bundle ? *bundle : ResourceBundle::application()),
      m_recentReads(std::make_shared<RecentReads>())
{
    // The first engine of the process rolls back what a crashed one left.
    Leftovers::atEngineStart();
    // The bundle's resident ExifTool processes stay while a service uses it.
    ExifToolPool::shared().holdBundle(m_bundle.directory());
}

void ExifToolService::keepProcessesReady(int count)
{
    try {
        ExifToolRunner::keepReady(m_bundle, count);
    } catch (...) {
    }
}

ExifToolService::~ExifToolService()
{
    ExifToolPool::shared().releaseBundle(m_bundle.directory());
}

} // namespace Metaloom
