#include "SessionId.h"

#include <QRandomGenerator>

#include <array>

namespace Metaloom {

QUuid freshSessionId()
{
    std::array<quint32, 4> words{};
    QRandomGenerator::global()->fillRange(words.data(), words.size());
    QByteArray bytes(reinterpret_cast<const char *>(words.data()), 16);
    // A version-4 (random) identifier of the RFC 4122 variant.
    bytes[6] = char((uchar(bytes[6]) & 0x0f) | 0x40);
    bytes[8] = char((uchar(bytes[8]) & 0x3f) | 0x80);
    return QUuid::fromRfc4122(bytes);
}

} // namespace Metaloom
