#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/FieldSettings/CustomFieldText.h"
#include "MetaloomFeature/Library/FieldSettings/PinnableKeysModel.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Model/FavoriteTagsStore.h"
#include "MetaloomFeature/Updates/UpdateCheckBridge.h"
#include "MetaloomFeature/Views/Settings/AboutPage.h"
#include "MetaloomFeature/Views/Settings/MetadataSettingsView.h"
#include "MetaloomFeature/Views/Settings/SettingsTabButton.h"
#include "MetaloomFeature/Views/Settings/SettingsView.h"
#include "VossaApps/LinkButton.h"
#include "VossaApps/VossaAppsTab.h"
#include "tests/Library/ScriptedFixture.h"
#include "tests/support/LoopbackHttpServer.h"

#include <QAbstractItemModelTester>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

using namespace Metaloom;
using Parsed = std::optional<CustomFieldText::Parsed>;

namespace {

const QString description = QStringLiteral("XMP-dc:Description");

CustomMetadataTag field(const QString &key, const QString &label = {})
{
    return {QUuid::createUuid(), key, label};
}

QStringList keysOf(const QList<CustomMetadataTag> &fields)
{
    QStringList keys;
    for (const CustomMetadataTag &tag : fields)
        keys << tag.displayName + QLatin1Char('|') + tag.rawKey;
    return keys;
}

} // namespace

class SettingsViewsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void labelKeyParsing_data();
    void labelKeyParsing();
    void addingCustomFields_data();
    void addingCustomFields();
    void editingAndDoneTidyTheFields();
    void pinsWaitForDoneAndCancelForgetsThem();
    void searchFiltersByLabelOrKey();
    void tabsFollowTheLibraryNotTheOtherWay();
    void closingTellsTheLibrary_data();
    void closingTellsTheLibrary();
    void aboutPage_data();
    void aboutPage();

private:
    std::unique_ptr<LibraryViewModel> makeLibrary(const QList<CustomMetadataTag> &custom = {},
                                                  const QSet<QString> &pinned = {});

    std::optional<Testing::ScriptedFixture> m_fixture;
    Testing::LoopbackHttpServer *m_feedServer = nullptr;
};

void SettingsViewsTest::initTestCase()
{
    // The apps tab reads its feed here, never from the maker's site.
    m_feedServer = new Testing::LoopbackHttpServer(this);
    qputenv("VOSSA_APPS_FEED_URL", m_feedServer->url(QStringLiteral("/apps.json")).toEncoded());
}

void SettingsViewsTest::init()
{
    m_fixture.emplace();
}

void SettingsViewsTest::cleanup()
{
    m_fixture.reset();
}

std::unique_ptr<LibraryViewModel>
SettingsViewsTest::makeLibrary(const QList<CustomMetadataTag> &custom, const QSet<QString> &pinned)
{
    FavoriteTagsStore::shared().saveCustomTags(custom);
    FavoriteTagsStore::shared().saveFavorites(pinned);
    return std::make_unique<LibraryViewModel>(m_fixture->engine);
}

void SettingsViewsTest::labelKeyParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Parsed>("expected");
    using P = CustomFieldText::Parsed;
    const auto key = [](const char *k) { return Parsed(P{std::nullopt, QString::fromUtf8(k)}); };
    QTest::newRow("a key") << description << key("XMP-dc:Description");
    QTest::newRow("label and key")
        << " Caption : XMP-dc:Description " << Parsed(P{QStringLiteral("Caption"), description});
    QTest::newRow("empty label") << ":XMP-dc:Description" << key("XMP-dc:Description");
    QTest::newRow("no colon") << "  Rating " << key("Rating");
    QTest::newRow("one colon never splits") << "Caption:" << key("Caption:");
    QTest::newRow("blanks") << " \t\n " << Parsed();
    QTest::newRow("a colon alone") << " : " << key(":");
    QTest::newRow("three colons") << ":::" << key("::");
    QTest::newRow("label, and a key with spaces around its colon")
        << "A : B : C" << Parsed(P{QStringLiteral("A"), QStringLiteral("B : C")});
}

void SettingsViewsTest::labelKeyParsing()
{
    QFETCH(QString, text);
    QFETCH(Parsed, expected);
    QCOMPARE(CustomFieldText::parse(text), expected);
}

void SettingsViewsTest::addingCustomFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected"); // label|key of each field afterwards
    QTest::addColumn<QString>("message");
    const QString existing = QStringLiteral("|XMP-dc:Description");
    QTest::newRow("label and key")
        << "Caption:XMP-iptcCore:Location"
        << QStringList{existing, QStringLiteral("Caption|XMP-iptcCore:Location")} << "";
    QTest::newRow("the same key in other letters")
        << "xmp-dc:description" << QStringList{existing}
        << "A custom field with that key already exists.";
    QTest::newRow("blanks") << "   " << QStringList{existing}
                            << "Enter a metadata key (optional Label:Key).";
    // Which keys the engine refuses is told over the draft (tst_SheetDrafts);
    // here that the sheet shows its words.
    QTest::newRow("a key the engine refuses")
        << "Label:System:FileName" << QStringList{existing}
        << *ExifToolService::keyRefusalReason(QStringLiteral("System:FileName"));
}

void SettingsViewsTest::addingCustomFields()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    const auto library = makeLibrary({field(description)});
    MetadataSettingsView view(library.get());
    view.show();
    QTest::keyClicks(view.newFieldEditor(), text);
    QCOMPARE(view.addButton()->isEnabled(), !text.trimmed().isEmpty());
    if (view.addButton()->isEnabled())
        QTest::keyClick(view.newFieldEditor(), Qt::Key_Return);
    else
        view.addCustomField(); // the disabled button's action, for its message
    QCOMPARE(keysOf(view.customTags()), expected);
    QCOMPARE(keysOf(library->customTags()), expected.mid(0, 1)); // until Done
    QCOMPARE(view.validationMessage().value_or(QString()), message);
    QCOMPARE(view.validationLabel()->isVisible(), !message.isEmpty());
    QCOMPARE(view.newFieldEditor()->text().isEmpty(), message.isEmpty());
    QCOMPARE(view.customFieldEditors().size(), expected.size());
    if (message.isEmpty()) {
        QCOMPARE(view.customFieldEditors().last()->text(),
                 QStringLiteral("Caption:XMP-iptcCore:Location"));
        QVERIFY(view.pinnedSelection().contains(QStringLiteral("XMP-iptcCore:Location")));
        QTest::mouseClick(view.doneButton(), Qt::LeftButton);
        QCOMPARE(keysOf(library->customTags()), expected);
        QVERIFY(library->pinnedTags().contains(QStringLiteral("XMP-iptcCore:Location")));
        QCOMPARE(FavoriteTagsStore::shared().loadCustomTags(), library->customTags());
    }
}

void SettingsViewsTest::editingAndDoneTidyTheFields()
{
    const auto library = makeLibrary({field(description, QStringLiteral("Caption")),
                                      field("IFD0:Artist"), field("XMP-dc:Rights")},
                                     {QStringLiteral("IFD0:Artist")});
    library->presentMetadataSettings();
    MetadataSettingsView view(library.get());
    view.show();
    QCOMPARE(view.customFieldEditors().at(0)->text(), QStringLiteral("Caption:XMP-dc:Description"));

    // Clearing a line unpins its key in the draft; Done drops the field.
    QLineEdit *artist = view.customFieldEditors().at(1);
    QVERIFY(view.pinnedSelection().contains(QStringLiteral("IFD0:Artist")));
    artist->selectAll();
    QTest::keyClick(artist, Qt::Key_Delete);
    QVERIFY(!view.pinnedSelection().contains(QStringLiteral("IFD0:Artist")));
    QVERIFY(library->pinnedTags().contains(QStringLiteral("IFD0:Artist")));

    QLineEdit *rights = view.customFieldEditors().at(2);
    rights->selectAll();
    QTest::keyClicks(rights, QStringLiteral("  Rights : XMP-dc:Rights "));
    QCOMPARE(view.customTags().at(2).displayName, QStringLiteral("Rights"));
    QTest::keyClick(rights, Qt::Key_Return); // finishing the line tidies it
    QCOMPARE(rights->text(), QStringLiteral("Rights:XMP-dc:Rights"));

    // A line turned into a key the engine refuses keeps the sheet open.
    QLineEdit *caption = view.customFieldEditors().at(0);
    caption->selectAll();
    QTest::keyClicks(caption, QStringLiteral("Caption:XMP-dc:Description now"));
    QTest::mouseClick(view.doneButton(), Qt::LeftButton);
    QVERIFY(library->isMetadataSettingsPresented());
    QCOMPARE(view.validationMessage(),
             ExifToolService::keyRefusalReason(QStringLiteral("XMP-dc:Description now")));
    caption->selectAll();
    QTest::keyClicks(caption, QStringLiteral("Caption:XMP-dc:Description"));

    QTest::mouseClick(view.doneButton(), Qt::LeftButton);
    QVERIFY(!library->isMetadataSettingsPresented());
    QCOMPARE(keysOf(library->customTags()),
             (QStringList{QStringLiteral("Caption|XMP-dc:Description"),
                          QStringLiteral("Rights|XMP-dc:Rights")}));
    QVERIFY(library->pinnedTags().contains(QStringLiteral("XMP-dc:Rights")));
    QVERIFY(!library->pinnedTags().contains(QStringLiteral("IFD0:Artist")));

    // The trash of a line removes the field and its pin.
    library->presentMetadataSettings();
    MetadataSettingsView again(library.get());
    again.show();
    QTest::mouseClick(again.deleteButtons().at(1), Qt::LeftButton);
    QTest::mouseClick(again.doneButton(), Qt::LeftButton);
    QCOMPARE(keysOf(library->customTags()),
             QStringList{QStringLiteral("Caption|XMP-dc:Description")});
    QVERIFY(!library->pinnedTags().contains(QStringLiteral("XMP-dc:Rights")));
}

void SettingsViewsTest::pinsWaitForDoneAndCancelForgetsThem()
{
    const auto library = makeLibrary();
    library->presentMetadataSettings();
    MetadataSettingsView view(library.get());
    view.resize(480, 260); // far smaller than its sections
    view.show();
    QAbstractItemModelTester tester(view.keysModel());
    const QString iso = QStringLiteral("ExifIFD:ISO");
    const qsizetype row = view.keysModel()->filteredKeys().indexOf(iso);
    QVERIFY(row >= 0);
    const QModelIndex index = view.keysModel()->index(int(row));
    view.fieldList()->scrollTo(index);
    QCOMPARE(index.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    QTest::mouseClick(view.fieldList()->viewport(), Qt::LeftButton, {},
                      view.fieldList()->visualRect(index).center());
    QVERIFY(!view.pinnedSelection().contains(iso));
    QCOMPARE(index.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    // Nothing reaches the library nor the store before Done.
    QVERIFY(library->pinnedTags().contains(iso));
    QVERIFY(FavoriteTagsStore::shared().loadFavorites().contains(iso));

    // The buttons stay in view while the sections scroll.
    QVERIFY(view.sections()->verticalScrollBar()->maximum() > 0);
    QVERIFY(!view.sections()->isAncestorOf(view.cancelButton()));
    QVERIFY(view.rect().contains(view.cancelButton()->geometry().bottomRight() +
                                 view.cancelButton()->parentWidget()->pos()));

    QTest::mouseClick(view.cancelButton(), Qt::LeftButton);
    QVERIFY(!library->isMetadataSettingsPresented());
    QVERIFY(library->pinnedTags().contains(iso));
    QVERIFY(FavoriteTagsStore::shared().loadFavorites().contains(iso));

    // Done, in a sheet opened again, stores the change.
    library->presentMetadataSettings();
    MetadataSettingsView again(library.get());
    again.show();
    again.setPinned(iso, false);
    QTest::mouseClick(again.doneButton(), Qt::LeftButton);
    QVERIFY(!library->pinnedTags().contains(iso));
    QVERIFY(!FavoriteTagsStore::shared().loadFavorites().contains(iso));
}

void SettingsViewsTest::searchFiltersByLabelOrKey()
{
    const auto library =
        makeLibrary({field(QStringLiteral("XMP-xmp:Label"), QStringLiteral("Mood"))});
    MetadataSettingsView view(library.get());
    view.show();
    QTest::keyClicks(view.searchField(), QStringLiteral("  mOOd "));
    QCOMPARE(view.keysModel()->filteredKeys(), QStringList{QStringLiteral("XMP-xmp:Label")});
    view.searchField()->setText(QStringLiteral("exififd:"));
    QCOMPARE(view.keysModel()->filteredKeys().size(), 4); // the four exposure defaults
    QVERIFY(view.fieldList()->isVisible() && view.noMatchesLabel()->isHidden());
    view.searchField()->setText(QStringLiteral("no such field"));
    QCOMPARE(view.keysModel()->rowCount(), 0);
    QVERIFY(view.noMatchesLabel()->isVisible());
    QVERIFY(view.fieldList()->isHidden());
}

void SettingsViewsTest::tabsFollowTheLibraryNotTheOtherWay()
{
    const auto library = makeLibrary();
    library->presentSettings(SettingsTab::about);
    UpdateCheckBridge bridge;
    SettingsView settings(library.get(), &bridge);
    settings.show();
    QCOMPARE(settings.selectedTab(), SettingsTab::about);
    QVERIFY(settings.aboutPage()->isVisible());
    QVERIFY(settings.tabButton(SettingsTab::about)->isChecked());
    QCOMPARE(settings.tabButton(SettingsTab::apps)->accessibleName(), QStringLiteral("Our Apps"));

    QTest::mouseClick(settings.tabButton(SettingsTab::metadata), Qt::LeftButton);
    QCOMPARE(settings.selectedTab(), SettingsTab::metadata);
    QVERIFY(settings.metadataView()->isVisible());
    QVERIFY(!settings.tabButton(SettingsTab::about)->isChecked());
    QCOMPARE(library->settingsTab(), SettingsTab::about);

    library->presentSettings(SettingsTab::apps);
    QCOMPARE(settings.selectedTab(), SettingsTab::apps);
    QVERIFY(settings.appsTab()->isVisible());
}

void SettingsViewsTest::closingTellsTheLibrary_data()
{
    QTest::addColumn<std::function<void(SettingsView &)>>("close");
    using Close = std::function<void(SettingsView &)>;
    QTest::newRow("close button") << Close(
        [](SettingsView &settings) { QTest::mouseClick(settings.closeButton(), Qt::LeftButton); });
    QTest::newRow("Escape") << Close([](SettingsView &s) { QTest::keyClick(&s, Qt::Key_Escape); });
    QTest::newRow("window closed") << Close([](SettingsView &settings) { settings.close(); });
    QTest::newRow("Done") << Close([](SettingsView &settings) {
        QTest::mouseClick(settings.metadataView()->doneButton(), Qt::LeftButton);
    });
}

void SettingsViewsTest::closingTellsTheLibrary()
{
    QFETCH(std::function<void(SettingsView &)>, close);
    const auto library = makeLibrary();
    library->presentMetadataSettings();
    SettingsView settings(library.get());
    settings.open();
    QVERIFY(QTest::qWaitForWindowExposed(&settings));
    close(settings);
    QVERIFY(!library->isMetadataSettingsPresented());
    QVERIFY(!settings.isVisible());
}

void SettingsViewsTest::aboutPage_data()
{
    QTest::addColumn<QVariantMap>("values");
    QTest::addColumn<QString>("version");
    QTest::newRow("both values") << QVariantMap{{AppInfo::shortVersionKey, "1.10"},
                                                {AppInfo::buildNumberKey, "110"}}
                                 << "Version 1.10 (110)";
    QTest::newRow("none") << QVariantMap{} << "Version - (-)";
    QTest::newRow("not text") << QVariantMap{{AppInfo::shortVersionKey, 2},
                                             {AppInfo::buildNumberKey, "7"}}
                              << "Version - (7)";
}

void SettingsViewsTest::aboutPage()
{
    QFETCH(QVariantMap, values);
    QFETCH(QString, version);
    UpdateCheckBridge bridge;
    AboutPage page(AppInfo(values), &bridge);
    page.show();
    QCOMPARE(page.versionLabel()->text(), version);
    QVERIFY(!page.showsUpdateButton());

    int checks = 0;
    bridge.setAction([&checks] { ++checks; });
    QVERIFY(page.showsUpdateButton());
    QCOMPARE(page.updateButton()->text(), QStringLiteral("Check for &Updates…"));
    QVERIFY(!page.updateButton()->isEnabled());
    bridge.setCanCheck(true);
    QVERIFY(page.updateButton()->isEnabled());
    QTest::mouseClick(page.updateButton(), Qt::LeftButton);
    QCOMPARE(checks, 1);

    QStringList links;
    for (const VossaApps::LinkButton *link : page.findChildren<VossaApps::LinkButton *>())
        links << link->text() + QLatin1Char(' ') + link->url().toString();
    QVERIFY(links.contains(QStringLiteral("exiftool.org https://exiftool.org")));
    QCOMPARE(links.size(), 5);
    bool credits = false;
    for (const QLabel *label : page.findChildren<QLabel *>())
        credits |= label->text().contains(QStringLiteral("ExifTool by Phil Harvey"));
    QVERIFY(credits);
}

QTEST_MAIN(SettingsViewsTest)
#include "tst_SettingsViews.moc"
