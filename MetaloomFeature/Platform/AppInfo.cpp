#include "AppInfo.h"

namespace Metaloom {

namespace {

QVariantMap builtInValues()
{
    const std::pair<QString, QString> configured[] = {
        {AppInfo::identifierKey, QStringLiteral(METALOOM_APP_ID)},
        {AppInfo::shortVersionKey, QStringLiteral(METALOOM_VERSION_STRING)},
        {AppInfo::buildNumberKey, QStringLiteral(METALOOM_BUILD_NUMBER)},
        {AppInfo::updatePublicKeyKey, QStringLiteral(METALOOM_UPDATE_PUBLIC_KEY)},
        {AppInfo::updateFeedKey, QStringLiteral(METALOOM_APPCAST_URL)},
    };
    QVariantMap values;
    for (const auto &[key, value] : configured) {
        if (!value.isEmpty())
            values.insert(key, value);
    }
    return values;
}

} // namespace

const AppInfo &AppInfo::main()
{
    static const AppInfo info(builtInValues());
    return info;
}

std::optional<QString> AppInfo::string(const QString &key) const
{
    const auto found = m_values.constFind(key);
    if (found == m_values.cend() || found->typeId() != QMetaType::QString)
        return std::nullopt;
    return found->toString();
}

} // namespace Metaloom
