#include "MetaloomFeature/Views/Window/WindowToolbar.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Views/Kit/PlainButtons.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace Metaloom {

namespace {

constexpr int searchFieldWidth = 200;

// "&" in a menu text marks a mnemonic; a preset called "Sun & Sea" keeps it.
QString menuText(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace

WindowToolbar::WindowToolbar(LibraryViewModel *viewModel, PresetsStore *presetsStore,
                             QWidget *parent)
    : QToolBar(parent), m_viewModel(viewModel), m_presetsStore(presetsStore)
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(18, 18));
    setContentsMargins(6, 2, 6, 2);

    m_sidebarToggle = PlainButtons::iconButton(QStringLiteral("sidebar.left"),
                                               tr("Show or hide the sidebar"), this, 18);
    connect(m_sidebarToggle, &QToolButton::clicked, this, &WindowToolbar::sidebarToggled);
    addWidget(m_sidebarToggle);

    auto *spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);

    m_searchAction = addWidget(makeSearchField());

    m_applyPreset = new QToolButton(this);
    m_applyPreset->setText(tr("Apply Preset"));
    m_applyPreset->setPopupMode(QToolButton::InstantPopup);
    m_applyPreset->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_applyPreset->setFont(SheetStyle::systemSize(font(), 13, QFont::Medium));
    const QColor accent = SheetStyle::accent(palette());
    m_applyPreset->setStyleSheet(
        QStringLiteral("QToolButton { border: 1px solid %1; border-radius: 6px; padding: 4px 12px;"
                       " background: palette(base); }"
                       " QToolButton:disabled { border-color: palette(mid); color: palette(mid); }"
                       " QToolButton::menu-indicator { image: none; width: 0; }")
            .arg(accent.name()));
    m_presetMenu = new QMenu(m_applyPreset);
    m_applyPreset->setMenu(m_presetMenu);
    addWidget(m_applyPreset);

    m_presetManager = PlainButtons::iconButton(QStringLiteral("slider.horizontal.3"),
                                               tr("Manage metadata presets"), this, 18);
    connect(m_presetManager, &QToolButton::clicked, this, [this] {
        if (m_viewModel)
            m_viewModel->presentPresetManager();
    });
    addWidget(m_presetManager);

    m_removeAll = PlainButtons::iconButton(QStringLiteral("xmark.circle"),
                                           tr("Remove all metadata from loaded files"), this, 18);
    connect(m_removeAll, &QToolButton::clicked, this, [this] {
        if (m_viewModel)
            m_viewModel->presentRemoveAllMetadataConfirmation();
    });
    addWidget(m_removeAll);

    connect(presetsStore, &PresetsStore::presetsChanged, this, &WindowToolbar::rebuildPresetMenu);
    connect(viewModel, &LibraryViewModel::itemsChanged, this, &WindowToolbar::updateEnabledState);
    connect(viewModel, &LibraryViewModel::batchProgressChanged, this,
            &WindowToolbar::updateEnabledState);
    connect(viewModel, &LibraryViewModel::selectedItemIDChanged, this,
            &WindowToolbar::updateEnabledState);
    connect(viewModel, &LibraryViewModel::selectedItemIDsChanged, this,
            &WindowToolbar::rebuildPresetMenu);
    connect(viewModel, &LibraryViewModel::searchTextChanged, this, &WindowToolbar::showSearchText);
    rebuildPresetMenu();
    showSearchText();
}

QWidget *WindowToolbar::makeSearchField()
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 12, 0);
    m_searchField = new QLineEdit(box);
    m_searchField->setPlaceholderText(tr("Filter metadata"));
    m_searchField->setAccessibleName(tr("Filter metadata"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setFixedWidth(searchFieldWidth + 30);
    m_searchField->setAcceptDrops(false);
    m_searchField->addAction(
        symbolIcon(QStringLiteral("magnifyingglass"),
                   SheetStyle::textColor(palette(), SheetStyle::Tone::Secondary), 14),
        QLineEdit::LeadingPosition);
    row->addWidget(m_searchField);
    connect(m_searchField, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_viewModel)
            m_viewModel->setSearchText(text);
    });
    // The clear button changes the text without an edit.
    connect(m_searchField, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (m_viewModel && text.isEmpty() && !m_viewModel->searchText().isEmpty())
            m_viewModel->setSearchText(text);
    });
    return box;
}

bool WindowToolbar::isSearchFieldShown() const
{
    return m_searchAction->isVisible();
}

void WindowToolbar::showSearchText()
{
    if (m_viewModel && m_searchField->text() != m_viewModel->searchText())
        m_searchField->setText(m_viewModel->searchText());
}

void WindowToolbar::rebuildPresetMenu()
{
    m_presetMenu->clear();
    const qsizetype selected = m_viewModel ? m_viewModel->selectedItemIDs().size() : 0;
    if (m_presetsStore && selected > 1 && !m_presetsStore->presets().isEmpty()) {
        // Several selected: the presets apply to them, and to every loaded
        // file from the submenu.
        m_presetMenu->addSection(tr("Apply Preset to %1 Files").arg(selected));
        for (const Preset &preset : m_presetsStore->presets()) {
            connect(m_presetMenu->addAction(menuText(preset.name)), &QAction::triggered, this,
                    [this, preset] {
                        if (m_viewModel)
                            m_viewModel->applyPresetToSelection(preset);
                    });
        }
        QMenu *all = m_presetMenu->addMenu(tr("Apply Preset to All Files"));
        for (const Preset &preset : m_presetsStore->presets()) {
            connect(all->addAction(menuText(preset.name)), &QAction::triggered, this,
                    [this, preset] {
                        if (m_viewModel)
                            m_viewModel->applyPreset(preset);
                    });
        }
    } else if (m_presetsStore) {
        for (const Preset &preset : m_presetsStore->presets()) {
            QAction *action = m_presetMenu->addAction(menuText(preset.name));
            connect(action, &QAction::triggered, this, [this, preset] {
                if (m_viewModel)
                    m_viewModel->applyPreset(preset);
            });
        }
    }
    updateEnabledState();
}

void WindowToolbar::updateEnabledState()
{
    if (!m_viewModel)
        return;
    // One batch at a time: the running one has its own Cancel.
    const bool canStart = !m_viewModel->items().isEmpty() && !m_viewModel->batchProgress();
    m_applyPreset->setEnabled(canStart && !m_presetMenu->isEmpty());
    m_removeAll->setEnabled(canStart);
    const bool searching = m_viewModel->selectedItemID().has_value();
    if (!searching && m_searchField->hasFocus())
        m_searchField->clearFocus();
    m_searchAction->setVisible(searching);
}

} // namespace Metaloom
