#pragma once

#include "MetaloomFeature/Library/Presets/OverrideLine.h"
#include "MetaloomFeature/Library/Presets/TagKeyCatalog.h"

#include <QMap>
#include <QStringList>
#include <QWidget>

#include <memory>

class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace Metaloom {

class FittingScrollArea;
class KeyField;
class OverrideLineEditor;

// The operations of one preset on two tabs: tag values to add or modify, as
// editable rows, and tags to remove, as a list of keys. Every edit is
// reported at once as the preset's new overrides map or removal list.
class MetadataOverridesEditor : public QWidget {
    Q_OBJECT

public:
    MetadataOverridesEditor(const QMap<QString, QStringList> &overrides,
                            const QStringList &removals,
                            std::shared_ptr<const TagKeyCatalog> availableKeys,
                            QWidget *parent = nullptr);

    void setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys);

    const QList<OverrideLine> &rows() const { return m_rows; }
    QMap<QString, QStringList> overrides() const { return OverrideLines::toOverrides(m_rows); }
    const QStringList &removals() const { return m_removals; }

    QTabWidget *tabs() const { return m_tabs; }
    QList<OverrideLineEditor *> rowEditors() const { return m_rowEditors; }
    QList<KeyField *> removalFields() const;
    QPushButton *addRemovalButton() const { return m_addRemoval; }

Q_SIGNALS:
    void overridesChanged(const QMap<QString, QStringList> &overrides);
    void removalsChanged(const QStringList &removals);

private:
    QWidget *makeOverridesTab();
    QWidget *makeRemovalsTab();
    OverrideLineEditor *makeRowEditor(const OverrideLine &row);
    QWidget *makeRemovalLine(const QString &key);
    void setRows(const QList<OverrideLine> &rows);
    void rowEdited(const OverrideLine &row);
    void removeRow(const QUuid &id);
    void addRowBelow(const QUuid &id);
    void removeRemovalLine(QWidget *line);
    void addRemoval();

    QList<OverrideLine> m_rows;
    QStringList m_removals;
    std::shared_ptr<const TagKeyCatalog> m_keys;
    QTabWidget *m_tabs = nullptr;
    QVBoxLayout *m_rowsLayout = nullptr;
    QList<OverrideLineEditor *> m_rowEditors;
    QVBoxLayout *m_removalsLayout = nullptr;
    QList<QWidget *> m_removalLines;
    FittingScrollArea *m_removalsScroll = nullptr;
    QPushButton *m_addRemoval = nullptr;
};

} // namespace Metaloom
