#pragma once

#include "MetaloomFeature/Library/Presets/OverrideLine.h"
#include "MetaloomFeature/Library/Presets/TagKeyCatalog.h"

#include <QFrame>

#include <memory>

class QLabel;
class QToolButton;

namespace Metaloom {

class GrowingTextField;
class KeyField;

// One line of the add-or-modify list: a drag-handle mark, the tag key (with
// its picker), the value, and buttons to remove the line or add one below.
// Edits are reported as the whole row.
class OverrideLineEditor : public QFrame {
    Q_OBJECT

public:
    OverrideLineEditor(const OverrideLine &row, std::shared_ptr<const TagKeyCatalog> availableKeys,
                       bool canRemove, QWidget *parent = nullptr);

    const OverrideLine &row() const { return m_row; }
    void setCanRemove(bool canRemove);
    bool canRemove() const { return m_canRemove; }
    void setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys);

    KeyField *keyField() const { return m_key; }
    GrowingTextField *valueField() const { return m_value; }
    QToolButton *removeButton() const { return m_remove; }
    QToolButton *addBelowButton() const { return m_addBelow; }

Q_SIGNALS:
    void rowChanged(const Metaloom::OverrideLine &row);
    void removeRequested(const QUuid &id);
    void addBelowRequested(const QUuid &id);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateIcons();

    OverrideLine m_row;
    bool m_canRemove;
    KeyField *m_key;
    GrowingTextField *m_value;
    QToolButton *m_remove;
    QToolButton *m_addBelow;
    QLabel *m_handle;
};

} // namespace Metaloom
