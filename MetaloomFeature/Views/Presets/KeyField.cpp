#include "MetaloomFeature/Views/Presets/KeyField.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Presets/RemovalKeyPickerMenu.h"

namespace Metaloom {

KeyField::KeyField(const QString &placeholder, QWidget *parent)
    : QLineEdit(parent), m_picker(new RemovalKeyPickerMenu(this))
{
    setPlaceholderText(placeholder);
    setFont(SheetStyle::monospaced(font()));
    m_picker->setFont(QFont());
    connect(m_picker, &RemovalKeyPickerMenu::keySelected, this, [this](const QString &key) {
        setText(key);
        setFocus();
    });
    placePicker();
}

void KeyField::setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys)
{
    m_picker->setAvailableKeys(std::move(keys));
    placePicker();
}

void KeyField::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placePicker();
}

void KeyField::placePicker()
{
    const bool shown = m_picker->availableKeys() != nullptr;
    const int side = std::max(16, height() - 4);
    m_picker->setGeometry(width() - side - 2, (height() - side) / 2, side, side);
    setTextMargins(0, 0, shown ? side : 0, 0);
}

} // namespace Metaloom
