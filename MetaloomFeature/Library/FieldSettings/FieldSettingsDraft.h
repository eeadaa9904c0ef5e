#pragma once

#include "MetaloomFeature/Model/CustomMetadataTag.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <optional>

namespace Metaloom {

class LibraryViewModel;
class PinnableKeysModel;

// What the settings sheet's "Metadata" tab edits: copies of the library's
// pinned keys and custom fields (tag keys to edit even where a file lacks
// them, each with an optional label). Changes stay in the draft: nothing is
// shown by the library nor stored until done() tidies the custom fields,
// checks their keys with the engine and applies everything, which closes
// the sheet; cancel() closes it and the draft is forgotten. The keys
// offered for pinning follow the library's (keysModel()). Main thread only.
class FieldSettingsDraft : public QObject {
    Q_OBJECT

public:
    // Why a custom field was not added.
    struct Refusal {
        enum class Kind {
            // The text names no key.
            noKey,
            // A field with that key (ignoring case) is already there.
            duplicateKey,
            // The engine would refuse the key; `reason` says why.
            keyRefused,
        };
        Kind kind;
        QString reason;

        bool operator==(const Refusal &) const = default;
    };

    explicit FieldSettingsDraft(LibraryViewModel *library, QObject *parent = nullptr);
    ~FieldSettingsDraft() override;

    const QSet<QString> &pinned() const { return m_pinned; }
    const QList<CustomMetadataTag> &customTags() const { return m_customTags; }
    // The keys offered for pinning, with their labels and check boxes.
    PinnableKeysModel *keysModel() const { return m_keysModel; }

    void setPinned(const QString &key, bool pinned);
    // Adds the field a line of text names ("Label:Key" or a key alone),
    // pinned; nothing is added when it is refused.
    std::optional<Refusal> addCustomField(const QString &text);
    // The field at the position takes the key and label of the text.
    void editCustomField(qsizetype position, const QString &text);
    void deleteCustomField(qsizetype position);
    // Closes the sheet; nothing of the draft is kept.
    void cancel();
    // Applies the tidied fields and the pins and closes the sheet; nothing
    // then. A field edited into a key the engine refuses would fail every
    // save of that field: nothing is applied and the engine's reason is
    // answered.
    std::optional<QString> done();

Q_SIGNALS:
    // The list of custom fields changed in length (a field added or
    // deleted); an edit of one field's text does not emit it.
    void customFieldsChanged();

private:
    void scheduleKeyRefresh();
    void refreshKeys();

    QPointer<LibraryViewModel> m_library;
    QSet<QString> m_pinned;
    QList<CustomMetadataTag> m_customTags;
    PinnableKeysModel *m_keysModel;
    bool m_keyRefreshPending = false;
};

} // namespace Metaloom
