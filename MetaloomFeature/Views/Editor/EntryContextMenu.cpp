#include "MetaloomFeature/Views/Editor/EntryContextMenu.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Views/Editor/EntryEditActions.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

namespace Metaloom::EntryContextMenu {

namespace {

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

// C escapes, as ExifTool reads them after "#[CSTR]".
QString cEscaped(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            escaped += QStringLiteral("\\\\");
            break;
        case '\n':
            escaped += QStringLiteral("\\n");
            break;
        case '\r':
            escaped += QStringLiteral("\\r");
            break;
        case '\t':
            escaped += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                escaped += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                escaped += c;
        }
    }
    return escaped;
}

void copy(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

QString exifToolArgument(const MetadataEntry &entry)
{
    const QStringList values = entry.isList ? entry.items : QStringList{entry.value};
    bool escape = false;
    for (const QString &value : values)
        escape = escape || hasControlCharacter(value);
    QStringList arguments;
    arguments.reserve(values.size());
    for (const QString &value : values)
        arguments.append(QLatin1Char('-') + entry.rawKey + QLatin1Char('=') +
                         (escape ? cEscaped(value) : value));
    // An empty list is set by one empty assignment, which clears the tag.
    if (arguments.isEmpty())
        arguments.append(QLatin1Char('-') + entry.rawKey + QLatin1Char('='));
    const QString joined = arguments.join(u' ');
    return escape ? QStringLiteral("#[CSTR]") + joined : joined;
}

QString copiedValue(const MetadataEntry &entry)
{
    return entry.isList ? entry.items.join(u'\n') : entry.value;
}

namespace {

// A list tag of several selected files: an item for all of them, or one of
// the items some hold taken from all.
void addSelectionListActions(QMenu *menu, QPointer<LibraryViewModel> owner, const QString &key,
                             const QStringList &items)
{
    menu->addSeparator();
    menu->addAction(QCoreApplication::translate("EntryContextMenu", "Add &Item to All…"), menu,
                    [owner, key, parent = menu->parentWidget()] {
                        bool accepted = false;
                        const QString item = QInputDialog::getText(
                            parent, QCoreApplication::translate("EntryContextMenu", "Add Item"),
                            QCoreApplication::translate("EntryContextMenu",
                                                        "Item to add to every selected file:"),
                            QLineEdit::Normal, QString(), &accepted);
                        if (accepted && owner && !item.trimmed().isEmpty())
                            owner->addItemToSelection(key, item.trimmed());
                    });
    QMenu *remove =
        menu->addMenu(QCoreApplication::translate("EntryContextMenu", "Remove Ite&m from All"));
    remove->setEnabled(!items.isEmpty());
    for (const QString &item : items) {
        remove->addAction(item, menu, [owner, key, item] {
            if (owner)
                owner->removeItemFromSelection(key, item);
        });
    }
}

} // namespace

QMenu *build(QWidget *parent, LibraryViewModel *library, const QString &key)
{
    const MetadataEntry *shown = library ? library->filteredEntry(key) : nullptr;
    if (!shown)
        return nullptr;
    // The actions run later, when the list may have changed: they take a
    // copy of what they copy, and look the entry up again to pin it.
    const MetadataEntry entry = *shown;
    auto *menu = new QMenu(parent);
    menu->addAction(QCoreApplication::translate("EntryContextMenu", "Copy &Value"), menu,
                    [entry] { copy(copiedValue(entry)); });
    menu->addAction(QCoreApplication::translate("EntryContextMenu", "Copy Tag &Name"), menu,
                    [entry] { copy(entry.tag); });
    menu->addAction(QCoreApplication::translate("EntryContextMenu", "Copy as ExifTool &Argument"),
                    menu, [entry] { copy(exifToolArgument(entry)); });
    menu->addSeparator();
    QPointer<LibraryViewModel> owner = library;
    QAction *pin =
        menu->addAction(entry.isFavorite ? QCoreApplication::translate("EntryContextMenu", "Un&pin")
                                         : QCoreApplication::translate("EntryContextMenu", "&Pin"),
                        menu, [owner, key] {
                            if (!owner)
                                return;
                            if (const MetadataEntry *current = owner->filteredEntry(key))
                                owner->toggleFavorite(*current);
                        });
    // A standard field stays pinned, as its star says.
    pin->setEnabled(!entry.isDefaultFavorite);
    if (const SharedTagList::Row *shared = library->sharedRow(key);
        shared && entry.isList && entry.isWritable())
        addSelectionListActions(menu, owner, key, shared->allItems);
    // The edits of this one tag, in their own group below.
    menu->addSeparator();
    if (EntryEditActions::add(menu, library, key) == 0)
        menu->removeAction(menu->actions().constLast());
    return menu;
}

} // namespace Metaloom::EntryContextMenu
