#include "MetaloomFeature/Views/Presets/KeyField.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Presets/RemovalKeyPickerMenu.h"

#include <QCompleter>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>

#include <algorithm>

namespace Metaloom {

KeyField::KeyField(const QString &placeholder, QWidget *parent)
    : QLineEdit(parent), m_picker(new RemovalKeyPickerMenu(this)),
      m_completer(new QCompleter(this)), m_matches(new QStringListModel(this))
{
    setPlaceholderText(placeholder);
    setFont(SheetStyle::monospaced(font()));
    m_picker->setFont(QFont());
    connect(m_picker, &RemovalKeyPickerMenu::keySelected, this, [this](const QString &key) {
        setText(key);
        setFocus();
    });

    // The completer only shows the list: which keys match is the catalog's
    // answer, computed once per keystroke, and the list is never filtered
    // again by the completer's own prefix rule.
    m_completer->setModel(m_matches);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(maximumVisibleMatches);
    m_completer->setWidget(this);
    auto *list = new QListView;
    list->setFont(font());
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_completer->setPopup(list);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), this,
            [this](const QString &key) { setText(key); });
    connect(this, &QLineEdit::textEdited, this, &KeyField::offerMatches);
    placePicker();
}

void KeyField::setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys)
{
    m_picker->setAvailableKeys(std::move(keys));
    placePicker();
}

QListView *KeyField::matchList() const
{
    return qobject_cast<QListView *>(m_completer->popup());
}

QStringList KeyField::offeredMatches() const
{
    return m_matches->stringList();
}

void KeyField::offerMatches(const QString &text)
{
    const std::shared_ptr<const TagKeyCatalog> keys = m_picker->availableKeys();
    QStringList found;
    if (keys && !text.trimmed().isEmpty())
        found = keys->matching(text, maximumMatches);
    // A key typed out in full needs no list.
    if (found.size() == 1 && found.constFirst() == text)
        found.clear();
    m_matches->setStringList(found);
    QListView *list = matchList();
    if (found.isEmpty()) {
        list->hide();
        return;
    }
    // As wide as the longest match (the field's width at least), so no key
    // is cut and no scroll bar takes a row's room; the completer makes the
    // list as tall as its rows, up to maximumVisibleMatches.
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (const QString &key : std::as_const(found))
        widest = std::max(widest, metrics.horizontalAdvance(key));
    const int scrollBar = int(found.size()) > maximumVisibleMatches
                              ? list->verticalScrollBar()->sizeHint().width()
                              : 0;
    const int width = std::max(this->width(), widest + 2 * list->frameWidth() + scrollBar + 16);
    m_completer->complete(QRect(0, 0, width, height()));
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
