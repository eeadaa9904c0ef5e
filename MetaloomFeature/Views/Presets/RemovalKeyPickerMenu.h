#pragma once

#include "MetaloomFeature/Library/Presets/TagKeyCatalog.h"

#include <QToolButton>

#include <memory>

class QMenu;

namespace Metaloom {

// A small button beside a tag-key field that opens a menu of every known tag
// key, one submenu per family, for browsing; finding a key by part of its
// name is the field's own list (KeyField). Choosing a key reports it through
// keySelected(). With no keys the button is hidden. The
// menu is made when first opened and each family's submenu when first shown,
// so tens of thousands of keys cost nothing until someone looks.
class RemovalKeyPickerMenu : public QToolButton {
    Q_OBJECT

public:
    // A family with more keys is split by the tag name's first letters.
    static constexpr qsizetype maximumKeysPerMenu = 400;

    explicit RemovalKeyPickerMenu(QWidget *parent = nullptr);

    void setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys);
    std::shared_ptr<const TagKeyCatalog> availableKeys() const { return m_keys; }

    // The menu, made on first use; null while there are no keys.
    QMenu *pickerMenu();
    void openMenu();

Q_SIGNALS:
    void keySelected(const QString &key);

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildMenu();
    QPoint menuPosition(const QSize &menuSize) const;
    void placeOpenMenu();
    QMenu *addLazySubmenu(QMenu *parent, const QString &title, const QStringList &keys,
                          int splitDepth);
    void fillKeyMenu(QMenu *menu, const QString &title, const QStringList &keys, int splitDepth);
    QAction *keyAction(QMenu *menu, const QString &key);
    void updateIcon();

    std::shared_ptr<const TagKeyCatalog> m_keys;
    QMenu *m_menu = nullptr;
};

} // namespace Metaloom
