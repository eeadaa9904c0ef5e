#include "MetaloomFeature/Library/FieldSettings/FieldSettingsDraft.h"

#include "MetaloomFeature/Library/FieldSettings/CustomFieldText.h"
#include "MetaloomFeature/Library/FieldSettings/PinnableKeysModel.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QTimer>

namespace Metaloom {

FieldSettingsDraft::FieldSettingsDraft(LibraryViewModel *library, QObject *parent)
    : QObject(parent), m_library(library), m_pinned(library->pinnedTags()),
      m_customTags(library->customTags()), m_keysModel(new PinnableKeysModel(this))
{
    m_keysModel->setPinned(&m_pinned);
    connect(m_keysModel, &PinnableKeysModel::pinnedChanged, this, &FieldSettingsDraft::setPinned);
    connect(library, &LibraryViewModel::availableTagKeysChanged, this,
            &FieldSettingsDraft::scheduleKeyRefresh);
    refreshKeys();
}

FieldSettingsDraft::~FieldSettingsDraft() = default;

void FieldSettingsDraft::scheduleKeyRefresh()
{
    // A draft changes the library several times in a row; one refresh does.
    if (m_keyRefreshPending)
        return;
    m_keyRefreshPending = true;
    QTimer::singleShot(0, this, &FieldSettingsDraft::refreshKeys);
}

void FieldSettingsDraft::refreshKeys()
{
    m_keyRefreshPending = false;
    if (!m_library)
        return;
    QStringList keys = m_library->availableTagKeys();
    QStringList labels;
    labels.reserve(keys.size());
    for (const QString &key : std::as_const(keys))
        labels.append(m_library->displayLabel(key));
    // The fields added here are the library's only after Done, yet they
    // can be pinned and unpinned meanwhile: they are offered after the
    // library's keys.
    for (const CustomMetadataTag &field : std::as_const(m_customTags)) {
        if (field.rawKey.isEmpty() || keys.contains(field.rawKey))
            continue;
        keys.append(field.rawKey);
        labels.append(field.displayName.isEmpty() ? m_library->displayLabel(field.rawKey)
                                                  : field.displayName);
    }
    m_keysModel->setKeys(keys, labels);
}

void FieldSettingsDraft::setPinned(const QString &key, bool pinned)
{
    if (pinned)
        m_pinned.insert(key);
    else
        m_pinned.remove(key);
    m_keysModel->pinnedDidChange();
}

std::optional<FieldSettingsDraft::Refusal> FieldSettingsDraft::addCustomField(const QString &text)
{
    const std::optional<CustomFieldText::Parsed> parsed = CustomFieldText::parse(text);
    if (!parsed)
        return Refusal{Refusal::Kind::noKey, {}};
    for (const CustomMetadataTag &field : std::as_const(m_customTags)) {
        if (field.rawKey.compare(parsed->key, Qt::CaseInsensitive) == 0)
            return Refusal{Refusal::Kind::duplicateKey, {}};
    }
    if (m_library) {
        if (std::optional<QString> reason = m_library->engine()->keyRefusalReason(parsed->key))
            return Refusal{Refusal::Kind::keyRefused, *reason};
    }
    m_customTags.append({QUuid::createUuid(), parsed->key, parsed->label.value_or(QString())});
    m_pinned.insert(parsed->key);
    Q_EMIT customFieldsChanged();
    m_keysModel->pinnedDidChange();
    scheduleKeyRefresh();
    return std::nullopt;
}

void FieldSettingsDraft::editCustomField(qsizetype position, const QString &text)
{
    if (position < 0 || position >= m_customTags.size())
        return;
    const QString oldKey = m_customTags.at(position).rawKey;
    const CustomMetadataTag field = CustomFieldText::edited(m_customTags.at(position), text);
    m_customTags[position] = field;
    m_pinned.remove(oldKey);
    if (!field.rawKey.isEmpty())
        m_pinned.insert(field.rawKey);
    m_keysModel->pinnedDidChange();
    scheduleKeyRefresh();
}

void FieldSettingsDraft::deleteCustomField(qsizetype position)
{
    if (position < 0 || position >= m_customTags.size())
        return;
    m_pinned.remove(m_customTags.takeAt(position).rawKey);
    Q_EMIT customFieldsChanged();
    m_keysModel->pinnedDidChange();
    scheduleKeyRefresh();
}

void FieldSettingsDraft::cancel()
{
    if (m_library)
        m_library->dismissMetadataSettings();
}

std::optional<QString> FieldSettingsDraft::done()
{
    if (!m_library)
        return std::nullopt;
    const QList<CustomMetadataTag> kept = CustomFieldText::normalised(m_customTags);
    for (const CustomMetadataTag &field : kept) {
        if (std::optional<QString> reason = m_library->engine()->keyRefusalReason(field.rawKey))
            return reason;
    }
    QSet<QString> pinned = m_pinned;
    for (const CustomMetadataTag &field : kept)
        pinned.insert(field.rawKey);
    m_library->applyMetadataSettings(pinned, kept);
    return std::nullopt;
}

} // namespace Metaloom
