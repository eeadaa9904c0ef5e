#include "Preset.h"

#include <QHashFunctions>

namespace Metaloom {

size_t qHash(const PresetAction &action, size_t seed) noexcept
{
    seed = qHashMulti(seed, static_cast<int>(action.type), action.removals);
    for (auto it = action.overrides.cbegin(); it != action.overrides.cend(); ++it)
        seed = qHashMulti(seed, it.key(), it.value());
    return seed;
}

size_t qHash(const Preset &preset, size_t seed) noexcept
{
    return qHashMulti(seed, preset.id, preset.name, preset.action);
}

} // namespace Metaloom
