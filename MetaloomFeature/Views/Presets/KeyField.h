#pragma once

#include "MetaloomFeature/Library/Presets/TagKeyCatalog.h"

#include <QLineEdit>

#include <memory>

namespace Metaloom {

class RemovalKeyPickerMenu;

// A tag-key text field in fixed-pitch type, with the key picker on its
// trailing edge (while there are keys to pick). Picking a key replaces the
// text, as typing would.
class KeyField : public QLineEdit {
    Q_OBJECT

public:
    explicit KeyField(const QString &placeholder, QWidget *parent = nullptr);

    RemovalKeyPickerMenu *picker() const { return m_picker; }
    void setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placePicker();

    RemovalKeyPickerMenu *m_picker;
};

} // namespace Metaloom
