#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Views/Kit/ConfirmationBanner.h"
#include "MetaloomFeature/Views/Presets/GrowingTextField.h"
#include "MetaloomFeature/Views/Presets/KeyField.h"
#include "MetaloomFeature/Views/Presets/MetadataOverridesEditor.h"
#include "MetaloomFeature/Views/Presets/OverrideLineEditor.h"
#include "MetaloomFeature/Views/Presets/PresetManagerView.h"
#include "MetaloomFeature/Views/Presets/RemovalKeyPickerMenu.h"
#include "MetaloomFeature/Views/Window/PresetChooserButton.h"
#include "tests/Library/ScriptedEngine.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace Metaloom;

using Rows = QList<QPair<QString, QString>>;
using Overrides = QMap<QString, QString>;
using Items = QMap<QString, QStringList>;

namespace {

// What the engine lists: keys of three groups and one without a group.
const QStringList listing{"Aperture", "ExifIFD:Flash", "GPS:GPSAltitude", "GPS:GPSLatitude",
                          "IFD0:Make"};

Preset preset(const QString &name, Overrides overrides = {}, QStringList removals = {})
{
    return {QUuid::createUuid(), name,
            PresetAction::addOrModifyMetadata(std::move(overrides), std::move(removals))};
}

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator()) // a section's heading is a separator with a title
            texts << (action->text().isEmpty() ? QStringLiteral("---") : action->text());
        else if (action->isVisible())
            texts << action->text();
    }
    return texts;
}

QAction *actionNamed(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text && action->isVisible())
            return action;
    }
    return nullptr;
}

// Opens a submenu's content the way showing it would.
QMenu *openSubmenu(const QMenu *menu, const QString &title)
{
    QAction *action = actionNamed(menu, title);
    if (!action || !action->menu())
        return nullptr;
    Q_EMIT action->menu()->aboutToShow();
    return action->menu();
}

} // namespace

class PresetManagerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openingWithoutPresetsStartsANewOne();
    void choosingAPresetLoadsItsSortedRows();
    void rowsBecomeTheOverrides_data();
    void rowsBecomeTheOverrides();
    void theLastRowStays();
    void removalsAreSavedTrimmedWithoutBlankLines();
    void keysTheEngineRefusesAreNotSaved();
    void deleting();
    void keyPickersGroupTheEngineKeys();
    void largeFamiliesAreSplit();
    void withoutTheKeyListingKeysAreTyped();
    void aFailedWriteIsReportedNotConfirmed();
    void closingWithUnsavedEditsAsks_data();
    void closingWithUnsavedEditsAsks();

private:
    // Without keys, the engine's listing fails.
    std::unique_ptr<PresetManagerView> open(PresetsStore &store,
                                            std::optional<QStringList> keys = std::nullopt);

    std::unique_ptr<Testing::TestEnvironment> m_env;
    std::shared_ptr<Testing::ScriptedEngine> m_engine;
};

void PresetManagerTest::init()
{
    m_env = std::make_unique<Testing::TestEnvironment>();
}

void PresetManagerTest::cleanup()
{
    m_engine.reset();
    m_env.reset();
}

std::unique_ptr<PresetManagerView> PresetManagerTest::open(PresetsStore &store,
                                                           std::optional<QStringList> keys)
{
    m_engine = Testing::ScriptedEngine::make();
    m_engine->keyListing = std::move(keys);
    auto view = std::make_unique<PresetManagerView>(&store, m_engine);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        qWarning("the sheet was not shown");
    return view;
}

void PresetManagerTest::openingWithoutPresetsStartsANewOne()
{
    PresetsStore store;
    const auto view = open(store);
    QVERIFY(view->isCreatingNew());
    QCOMPARE(view->chooser()->shownText(), QStringLiteral("New Preset"));
    QVERIFY(view->deleteButton()->isHidden());
    QVERIFY(!view->saveButton()->isEnabled());
    QTest::keyClicks(view->nameField(), QStringLiteral("   "));
    QVERIFY(!view->saveButton()->isEnabled());
    QTest::keyClick(view->nameField(), Qt::Key_Return);
    QVERIFY(store.presets().isEmpty());

    QTest::keyClicks(view->nameField(), QStringLiteral("Trip"));
    QVERIFY(view->saveButton()->isEnabled());
    QTest::keyClick(view->nameField(), Qt::Key_Return);
    QCOMPARE(store.presets().size(), 1);
    const Preset saved = store.presets().constFirst();
    QCOMPARE(saved.name, QStringLiteral("   Trip")); // kept as typed
    QVERIFY(!view->isCreatingNew());
    QCOMPARE(view->selectedPresetID(), std::optional(saved.id));
    QCOMPARE(view->chooser()->shownText(), QStringLiteral("   Trip"));
    QVERIFY(view->deleteButton()->isVisible());
    Q_EMIT view->chooserMenu()->aboutToShow();
    QCOMPARE(actionTexts(view->chooserMenu()),
             (QStringList{QStringLiteral("   Trip"), QStringLiteral("---"),
                          QStringLiteral("New Preset")}));

    QVERIFY(view->showSaveConfirmation());
    QCOMPARE(view->banner()->message(), QStringLiteral("Preset saved successfully"));
    QVERIFY(view->banner()->isVisible());
    QTest::qWait(1000);
    QVERIFY(view->banner()->isPresented());
    QTRY_VERIFY_WITH_TIMEOUT(!view->banner()->isVisible(), 2000);
    QVERIFY(!view->showSaveConfirmation());
    QCOMPARE(store.presets().size(), 1); // the sheet stays open and adds nothing more
}

void PresetManagerTest::choosingAPresetLoadsItsSortedRows()
{
    PresetsStore store;
    store.addPreset(preset(QStringLiteral("First")));
    store.addPreset(preset(QStringLiteral("R&D"), {{QStringLiteral("b:Key"), QStringLiteral("1")},
                                                   {QStringLiteral("A:Key"), QStringLiteral("2")},
                                                   {QStringLiteral("c"), QStringLiteral("3")}}));
    const auto view = open(store);
    QCOMPARE(view->editingPreset(), std::optional(store.presets().at(0)));
    QCOMPARE(view->nameField()->text(), QStringLiteral("First"));
    Q_EMIT view->chooserMenu()->aboutToShow();
    QCOMPARE(actionTexts(view->chooserMenu()),
             (QStringList{QStringLiteral("First"), QStringLiteral("R&&D"), QStringLiteral("---"),
                          QStringLiteral("New Preset")}));
    view->chooserMenu()->actions().at(1)->trigger();
    QCOMPARE(view->editingPreset(), std::optional(store.presets().at(1)));
    QCOMPARE(view->chooser()->shownText(), QStringLiteral("R&D"));
    QStringList keys;
    for (const OverrideLine &row : view->editor()->rows())
        keys << row.key;
    QCOMPARE(keys, (QStringList{"A:Key", "b:Key", "c"}));

    actionNamed(view->chooserMenu(), QStringLiteral("New Preset"))->trigger();
    QVERIFY(view->isCreatingNew());
    QCOMPARE(view->selectedPresetID(), std::nullopt);
    QCOMPARE(view->nameField()->text(), QString());
    QCOMPARE(view->editor()->rows().size(), 1);
}

void PresetManagerTest::rowsBecomeTheOverrides_data()
{
    QTest::addColumn<Rows>("typed");
    QTest::addColumn<Items>("expected");
    QTest::newRow("a key without value is left out")
        << Rows{{"XMP-dc:Title", "Trip"}, {"IFD0:Artist", ""}} << Items{{"XMP-dc:Title", {"Trip"}}};
    QTest::newRow("rows that share a key give its items in their order")
        << Rows{{"IPTC:Keywords", "sea, boats"}, {"IFD0:Artist", "Ann"}, {"IPTC:Keywords", "pier"}}
        << Items{{"IPTC:Keywords", {"sea, boats", "pier"}}, {"IFD0:Artist", {"Ann"}}};
    QTest::newRow("blanks around key and value are dropped")
        << Rows{{"  XMP-dc:Title ", " Trip  "}} << Items{{"XMP-dc:Title", {"Trip"}}};
    QTest::newRow("blank and half-filled rows stay out")
        << Rows{{"", ""}, {"   ", "value without key"}, {"IFD0:Artist", "Ann"}, {"", ""}}
        << Items{{"IFD0:Artist", {"Ann"}}};
}

void PresetManagerTest::rowsBecomeTheOverrides()
{
    QFETCH(Rows, typed);
    QFETCH(Items, expected);
    PresetsStore store;
    const auto view = open(store);
    QTest::keyClicks(view->nameField(), QStringLiteral("Rows"));
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QList<OverrideLineEditor *> rows = view->editor()->rowEditors();
        if (i > 0)
            QTest::mouseClick(rows.at(i - 1)->addBelowButton(), Qt::LeftButton);
        OverrideLineEditor *row = view->editor()->rowEditors().at(i);
        QTest::keyClicks(row->keyField(), typed.at(i).first);
        QTest::keyClicks(row->valueField(), typed.at(i).second);
    }
    QCOMPARE(view->editor()->rowEditors().size(), typed.size());
    QTest::mouseClick(view->saveButton(), Qt::LeftButton);
    QCOMPARE(store.presets().size(), 1);
    QCOMPARE(store.presets().constFirst().action.overrides, expected);

    // Opened again, a list shows one row per item, in order.
    QStringList stored;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        for (const QString &item : it.value())
            stored << it.key() + "=" + item;
    }
    const auto reopened = open(store);
    reopened->selectPreset(store.presets().constFirst().id);
    QStringList rows;
    for (const OverrideLine &row : reopened->editor()->rows())
        rows << row.key + "=" + row.value;
    QCOMPARE(QSet<QString>(rows.cbegin(), rows.cend()),
             QSet<QString>(stored.cbegin(), stored.cend()));
    QCOMPARE(rows.filter("IPTC:Keywords="),
             stored.filter("IPTC:Keywords=")); // items keep their order
}

void PresetManagerTest::theLastRowStays()
{
    PresetsStore store;
    const auto view = open(store);
    MetadataOverridesEditor *editor = view->editor();
    QCOMPARE(editor->rowEditors().size(), 1);
    QVERIFY(!editor->rowEditors().at(0)->removeButton()->isEnabled());
    QTest::mouseClick(editor->rowEditors().at(0)->removeButton(), Qt::LeftButton);
    QCOMPARE(editor->rows().size(), 1);

    QTest::keyClicks(editor->rowEditors().at(0)->keyField(), QStringLiteral("IFD0:Make"));
    QTest::mouseClick(editor->rowEditors().at(0)->addBelowButton(), Qt::LeftButton);
    QCOMPARE(editor->rows().size(), 2);
    for (OverrideLineEditor *row : editor->rowEditors())
        QVERIFY(row->removeButton()->isEnabled());
    QTest::mouseClick(editor->rowEditors().at(0)->removeButton(), Qt::LeftButton);
    QTRY_COMPARE(editor->rowEditors().size(), 1);
    QCOMPARE(editor->rows().size(), 1);
    QCOMPARE(editor->rows().at(0).key, QString()); // the blank row added below remains
    QVERIFY(!editor->rowEditors().at(0)->removeButton()->isEnabled());
}

void PresetManagerTest::removalsAreSavedTrimmedWithoutBlankLines()
{
    PresetsStore store;
    store.addPreset(preset(QStringLiteral("Strip"), {}, {QStringLiteral("XMP-xmp:Rating")}));
    const auto view = open(store);
    MetadataOverridesEditor *editor = view->editor();
    editor->tabs()->setCurrentIndex(1);
    QCOMPARE(editor->removalFields().size(), 1);
    QTest::mouseClick(editor->addRemovalButton(), Qt::LeftButton);
    QTest::mouseClick(editor->addRemovalButton(), Qt::LeftButton);
    QTest::keyClicks(editor->removalFields().at(1), QStringLiteral(" GPS:GPSLatitude "));
    // Removing the first line leaves the others in order.
    auto *firstRemove = editor->removalFields().at(0)->parentWidget()->findChild<QToolButton *>(
        QString(), Qt::FindDirectChildrenOnly);
    QTest::mouseClick(firstRemove, Qt::LeftButton);
    QTest::mouseClick(view->saveButton(), Qt::LeftButton);
    // A blank or padded key would make every file of the batch fail.
    QCOMPARE(store.presets().constFirst().action.removals,
             QStringList{QStringLiteral("GPS:GPSLatitude")});
    QCOMPARE(editor->removalFields().size(), 2); // the lines themselves stay on screen
}

// Which keys are refused is told over the working copy (tst_SheetDrafts); here
// that the sheet keeps the stored preset and shows the engine's words.
void PresetManagerTest::keysTheEngineRefusesAreNotSaved()
{
    PresetsStore store;
    store.addPreset(
        preset(QStringLiteral("Mine"), {{QStringLiteral("IFD0:Artist"), QStringLiteral("Ann")}}));
    const Preset before = store.presets().constFirst();
    const auto view = open(store);
    MetadataOverridesEditor *editor = view->editor();
    QTest::mouseClick(editor->rowEditors().last()->addBelowButton(), Qt::LeftButton);
    QTest::keyClicks(editor->rowEditors().last()->keyField(), QStringLiteral("System:FileName"));
    QTest::keyClicks(editor->rowEditors().last()->valueField(), QStringLiteral("other.jpg"));
    QTest::mouseClick(view->saveButton(), Qt::LeftButton);
    QCOMPARE(store.presets(), QList<Preset>{before});
    QVERIFY(!view->showSaveConfirmation());
    auto *alert = view->findChild<QMessageBox *>(QStringLiteral("presetRefusedAlert"));
    QVERIFY(alert);
    QCOMPARE(alert->text(), *ExifToolService::keyRefusalReason(QStringLiteral("System:FileName")));
}

void PresetManagerTest::deleting()
{
    PresetsStore store;
    store.addPreset(preset(QStringLiteral("One")));
    store.addPreset(preset(QStringLiteral("Two")));
    const auto view = open(store);
    QTest::mouseClick(view->deleteButton(), Qt::LeftButton);
    QCOMPARE(store.presets().size(), 1);
    QCOMPARE(view->editingPreset()->name, QStringLiteral("Two"));
    QCOMPARE(view->selectedPresetID(), std::optional(store.presets().at(0).id));
    QCOMPARE(PresetsStore().presets(), store.presets()); // written through

    QTest::mouseClick(view->deleteButton(), Qt::LeftButton);
    QVERIFY(store.presets().isEmpty());
    QVERIFY(view->isCreatingNew());
    QCOMPARE(view->editingPreset()->name, QString());
    QCOMPARE(view->chooser()->shownText(), QStringLiteral("New Preset"));
    QVERIFY(view->deleteButton()->isHidden());
    QVERIFY(!view->saveButton()->isEnabled());
}

void PresetManagerTest::keyPickersGroupTheEngineKeys()
{
    PresetsStore store;
    const auto view = open(store, listing);
    QTRY_VERIFY(!view->availableKeys().isEmpty());
    KeyField *field = view->editor()->rowEditors().at(0)->keyField();
    RemovalKeyPickerMenu *picker = field->picker();
    QVERIFY(picker->isVisible());
    QMenu *menu = picker->pickerMenu();
    QCOMPARE(actionTexts(menu).mid(2), (QStringList{"ExifIFD", "GPS", "IFD0", "Misc"}));
    QMenu *gps = openSubmenu(menu, QStringLiteral("GPS"));
    QVERIFY(gps);
    QCOMPARE(actionTexts(gps), (QStringList{"GPS", "GPS:GPSAltitude", "GPS:GPSLatitude"}));
    QCOMPARE(actionTexts(openSubmenu(menu, QStringLiteral("Misc"))),
             (QStringList{"Misc", "Aperture"}));

    menu->hide();

    // Typing in the field offers the matching keys in one list below it,
    // those whose name starts with the text first, as tall as its rows.
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("a"));
    QCOMPARE(field->offeredMatches(), (QStringList{"Aperture", "ExifIFD:Flash", "GPS:GPSAltitude",
                                                   "GPS:GPSLatitude", "IFD0:Make"}));
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("la"));
    QCOMPARE(field->offeredMatches(), (QStringList{"ExifIFD:Flash", "GPS:GPSLatitude"}));
    QTest::keyClicks(field, QStringLiteral("t"));
    QCOMPARE(field->offeredMatches(), (QStringList{"GPS:GPSLatitude"}));
    QListView *list = field->matchList();
    QTRY_VERIFY(list->isVisible());
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(
                 windows.cbegin(), windows.cend(),
                 [](const QWidget *w) { return w->isVisible() && w->windowType() == Qt::Popup; }),
             1);
    const QRect row = list->visualRect(list->model()->index(0, 0));
    QVERIFY(list->viewport()->rect().contains(row));
    QVERIFY(list->width() >=
            list->fontMetrics().horizontalAdvance(QStringLiteral("GPS:GPSLatitude")));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(field->text(), QStringLiteral("GPS:GPSLatitude"));
    QTRY_VERIFY(!list->isVisible());
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("nothing like it"));
    QVERIFY(field->offeredMatches().isEmpty());
    QVERIFY(!list->isVisible());

    // A line added later gets the keys too.
    view->editor()->tabs()->setCurrentIndex(1);
    QTest::mouseClick(view->editor()->addRemovalButton(), Qt::LeftButton);
    QTRY_VERIFY(view->editor()->removalFields().at(0)->picker()->isVisible());
}

void PresetManagerTest::largeFamiliesAreSplit()
{
    QStringList keys;
    for (int i = 0; i < 450; ++i)
        keys << QStringLiteral("Big:Aa%1").arg(i, 3, 10, QLatin1Char('0'));
    keys << QStringLiteral("Big:Bb") << QStringLiteral("Big:bc") << QStringLiteral("Small:One");
    RemovalKeyPickerMenu picker;
    picker.setAvailableKeys(std::make_shared<const TagKeyCatalog>(keys));
    QMenu *big = openSubmenu(picker.pickerMenu(), QStringLiteral("Big"));
    QCOMPARE(actionTexts(big), (QStringList{"Big", "A…", "B…"}));
    QCOMPARE(actionTexts(openSubmenu(big, QStringLiteral("B…"))),
             (QStringList{"B…", "Big:Bb", "Big:bc"}));
    // Every key shares "Aa": splitting further would not help, so they are listed.
    QCOMPARE(actionTexts(openSubmenu(big, QStringLiteral("A…"))).size(), 451);
}

void PresetManagerTest::withoutTheKeyListingKeysAreTyped()
{
    PresetsStore store;
    const auto view = open(store);
    QTRY_COMPARE(m_engine->listingCount, 1);
    QTest::qWait(0); // the failed listing arrives from the event loop
    QVERIFY(view->availableKeys().isEmpty());
    OverrideLineEditor *row = view->editor()->rowEditors().at(0);
    QVERIFY(row->keyField()->picker()->isHidden());
    QTest::keyClicks(view->nameField(), QStringLiteral("Typed"));
    QTest::keyClicks(row->keyField(), QStringLiteral("IFD0:Make"));
    QTest::keyClicks(row->valueField(), QStringLiteral("Example"));
    QTest::mouseClick(view->saveButton(), Qt::LeftButton);
    QCOMPARE(store.presets().constFirst().action.overrides,
             (Items{{QStringLiteral("IFD0:Make"), {QStringLiteral("Example")}}}));
}

void PresetManagerTest::aFailedWriteIsReportedNotConfirmed()
{
    // A folder where the preferences file should be: every write fails.
    const QString blocked = m_env->workPath() + QStringLiteral("/blocked.conf");
    QVERIFY(QDir().mkpath(blocked));
    PresetsStore store(Preferences::atPath(blocked));
    const auto view = open(store);
    QTest::keyClicks(view->nameField(), QStringLiteral("Unsaved"));
    QTest::mouseClick(view->saveButton(), Qt::LeftButton);
    QCOMPARE(store.presets().size(), 1); // kept for this window
    QVERIFY(!view->showSaveConfirmation());
    auto *alert = view->findChild<QMessageBox *>(QStringLiteral("presetsNotSavedAlert"));
    QVERIFY(alert);
    QTRY_VERIFY(alert->isVisible());
    QVERIFY(alert->text().contains(QStringLiteral("could not be written")));
}

void PresetManagerTest::closingWithUnsavedEditsAsks_data()
{
    QTest::addColumn<QString>("answer"); // the button's text; empty: no question
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QStringList>("storedNames");
    QTest::newRow("save") << "&Save" << true << QStringList{"Edited"};
    QTest::newRow("don't save") << "&Don't Save" << true << QStringList{"One"};
    QTest::newRow("cancel") << "&Cancel" << false << QStringList{"One"};
}

void PresetManagerTest::closingWithUnsavedEditsAsks()
{
    QFETCH(QString, answer);
    QFETCH(bool, closes);
    QFETCH(QStringList, storedNames);
    PresetsStore store;
    store.addPreset(preset(QStringLiteral("One")));
    const auto view = open(store);

    // Nothing edited: closing closes.
    QTest::mouseClick(view->closeButton(), Qt::LeftButton);
    QVERIFY(!view->unsavedQuestion());
    QVERIFY(!view->isVisible());
    view->show();

    view->nameField()->selectAll();
    QTest::keyClicks(view->nameField(), QStringLiteral("Edited"));
    QTest::mouseClick(view->closeButton(), Qt::LeftButton);
    QMessageBox *question = view->unsavedQuestion();
    QVERIFY(question);
    QVERIFY(view->isVisible());
    QVERIFY(question->text().contains(QStringLiteral("“Edited”")));
    QAbstractButton *chosen = nullptr;
    for (QAbstractButton *button : question->buttons()) {
        if (button->text() == answer)
            chosen = button;
    }
    QVERIFY(chosen);
    QTest::mouseClick(chosen, Qt::LeftButton);
    QTRY_VERIFY(!view->unsavedQuestion());
    QCOMPARE(view->isVisible(), !closes);
    QStringList names;
    for (const Preset &stored : store.presets())
        names << stored.name;
    QCOMPARE(names, storedNames);
}

QTEST_MAIN(PresetManagerTest)
#include "tst_PresetManager.moc"
