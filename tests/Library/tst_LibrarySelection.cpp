// Several files selected at once, over a scripted engine: the shared list
// they show, an edit that reaches every one of them as its own pending edit,
// list items added and taken across files, undo, and the save that writes
// them one after the other.

#include "LibraryHarness.h"
#include "ScriptedFixture.h"

#include "MetaloomFeature/Platform/Error.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TaskRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

const QString keywords = QStringLiteral("XMP-dc:Subject");

QList<QUuid> idsOf(const LibraryViewModel &lib)
{
    QList<QUuid> ids;
    for (const MediaItem &item : lib.items())
        ids.append(item.id);
    return ids;
}

} // namespace

class LibrarySelectionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_fixture.emplace(); }
    void cleanup() { m_fixture.reset(); }
    void selectionShowsWhatTheFilesShare();
    void anEditReachesEveryFileAndUndoesAsOne();
    void listItemsAreAddedAndTakenAcrossFiles_data();
    void listItemsAreAddedAndTakenAcrossFiles();
    void saveWritesEachFileAndAFailureKeepsItsEdit();
    void batchCommandsTakeTheSelectedFilesOnly();

private:
    // a, b and c: titles a, b and a; keywords on a and b only.
    void loadThree(LibraryViewModel &lib)
    {
        const QString folder = m_fixture->env.workPath();
        const QString a = makeImage(folder, "a.jpg");
        const QString b = makeImage(folder, "b.jpg");
        const QString c = makeImage(folder, "c.jpg");
        m_fixture->engine->files.insert(
            a, {{title, {"a"}}, {keywords, {"sea", "sun"}}, {"IFD0:Artist", {"Ann"}}});
        m_fixture->engine->files.insert(
            b, {{title, {"b"}}, {keywords, {"sea"}}, {"IFD0:Artist", {"Bo"}}});
        m_fixture->engine->files.insert(c, {{title, {"a"}}});
        lib.importItems({url(a), url(b), url(c)});
        QVERIFY(waitUntilIdle(lib));
        QSignalSpy selected(&lib, &LibraryViewModel::selectedItemIDsChanged);
        // Given out of order, kept in list order.
        lib.setSelectedItemIDs({idsOf(lib).at(2), idsOf(lib).at(0), idsOf(lib).at(1)});
        QCOMPARE(selected.size(), 1);
        QVERIFY(waitUntilIdle(lib));
    }

    std::optional<ScriptedFixture> m_fixture;
};

void LibrarySelectionTest::selectionShowsWhatTheFilesShare()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    loadThree(lib);
    QCOMPARE(lib.selectedItemIDs(), idsOf(lib));
    // The current file stays the one shown before.
    QCOMPARE(lib.selectedItemID(), idsOf(lib).at(0));
    const SharedTagList::Row *titles = lib.sharedRow(title);
    QVERIFY(titles);
    QVERIFY(titles->mixed);
    QCOMPARE(titles->values, (QList<SharedTagList::ValueCount>{{"a", 2}, {"b", 1}}));
    QCOMPARE(visibleEntry(lib, title)->value, QString());
    // A tag nobody pinned shows too when its values differ.
    QVERIFY(visibleEntry(lib, "IFD0:Artist"));
    QVERIFY(lib.sharedRow("IFD0:Artist")->mixed);
    const SharedTagList::Row *subjects = lib.sharedRow(keywords);
    QVERIFY(subjects);
    QCOMPARE(SharedTagList::presenceNote(*subjects), QStringLiteral("in 2 of 3 files"));
    QVERIFY(!lib.hasPendingChanges());
    // Each file was read once (a when first shown); selecting them again
    // reads none of them again.
    QCOMPARE(m_fixture->engine->readCount, 3);
    lib.setSelectedItemID(idsOf(lib).at(0));
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(!lib.sharedRow(title));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("a"));
    lib.setSelectedItemIDs(idsOf(lib));
    QVERIFY(waitUntilIdle(lib));
    // a alone was read again for its own view; b and c were kept.
    QCOMPARE(m_fixture->engine->readCount, 4);
    QVERIFY(lib.sharedRow(title)->mixed);
}

void LibrarySelectionTest::anEditReachesEveryFileAndUndoesAsOne()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    loadThree(lib);
    lib.editValue(*visibleEntry(lib, title), "n");
    lib.editValue(*visibleEntry(lib, title), "new");
    const QList<QUuid> all = idsOf(lib);
    QCOMPARE(lib.modifiedItemIDs(), QSet<QUuid>(all.cbegin(), all.cend()));
    QVERIFY(lib.hasPendingChanges());
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("new"));
    QVERIFY(!lib.sharedRow(title)->mixed);
    // Each file holds it as its own edit: shown alone, b has it.
    lib.setSelectedItemID(idsOf(lib).at(1));
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("new"));
    QVERIFY(visibleEntry(lib, title)->isModified());
    lib.setSelectedItemIDs(idsOf(lib));
    QVERIFY(waitUntilIdle(lib));
    // The typing was one step for all three files.
    lib.undo();
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(lib.modifiedItemIDs().isEmpty());
    QCOMPARE(lib.selectedItemIDs().size(), 3);
    QVERIFY(lib.sharedRow(title)->mixed);
    QVERIFY(!lib.canUndo());
    lib.redo();
    QCOMPARE(lib.modifiedItemIDs().size(), 3);
    // Revert takes the tag back in every file.
    QVERIFY(lib.canRevertEntry(title));
    lib.revertEntry(title);
    QVERIFY(lib.modifiedItemIDs().isEmpty());
    // The removal mark empties the tag where a file holds it.
    QVERIFY(lib.canMarkForRemoval(keywords));
    lib.markForRemoval(keywords);
    QCOMPARE(lib.modifiedItemIDs(), (QSet<QUuid>{idsOf(lib).at(0), idsOf(lib).at(1)}));
}

void LibrarySelectionTest::listItemsAreAddedAndTakenAcrossFiles_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<QStringList>("c");
    QTest::newRow("add new") << true << "sky" << QStringList{"sea", "sun", "sky"}
                             << QStringList{"sea", "sky"} << QStringList{"sky"};
    QTest::newRow("add held by some") << true << "sun" << QStringList{"sea", "sun"}
                                      << QStringList{"sea", "sun"} << QStringList{"sun"};
    QTest::newRow("remove") << false << "sea" << QStringList{"sun"} << QStringList{}
                            << QStringList{};
}

void LibrarySelectionTest::listItemsAreAddedAndTakenAcrossFiles()
{
    QFETCH(bool, adding);
    QFETCH(QString, item);
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(QStringList, c);
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    loadThree(lib);
    if (adding)
        lib.addItemToSelection(keywords, item);
    else
        lib.removeItemFromSelection(keywords, item);
    const auto saved = runTask(lib.saveChanges());
    QVERIFY(saved.value && *saved.value);
    QVERIFY(waitUntilIdle(lib));
    QMap<QString, QStringList> written;
    for (const ScriptedEngine::Change &change : m_fixture->engine->changes) {
        for (const TagAssignment &assignment : change.assignments) {
            if (assignment.key == keywords)
                written.insert(change.file.fileName(), assignment.values);
        }
    }
    // A file whose list does not change is not written.
    QCOMPARE(written.value("a.jpg", {"sea", "sun"}), a);
    QCOMPARE(written.value("b.jpg", {"sea"}), b);
    QCOMPARE(written.value("c.jpg"), c);
    QVERIFY(lib.modifiedItemIDs().isEmpty());
}

void LibrarySelectionTest::saveWritesEachFileAndAFailureKeepsItsEdit()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    loadThree(lib);
    lib.editValue(*visibleEntry(lib, title), "new");
    lib.endEditStep();
    ScriptedEngine &engine = *m_fixture->engine;
    engine.changeAnswer = [&engine](const ScriptedEngine::Change &change) {
        if (change.file.fileName() == QStringLiteral("b.jpg"))
            throw RefusedFile();
        return engine.makeChange(change);
    };
    QSignalSpy progress(&lib, &LibraryViewModel::batchProgressChanged);
    const auto saved = runTask(lib.saveChanges());
    QVERIFY(saved.value);
    QVERIFY(!*saved.value);
    QVERIFY(waitUntilIdle(lib));
    QList<QString> order;
    for (const ScriptedEngine::Change &change : engine.changes)
        order.append(change.file.fileName());
    QCOMPARE(order, (QList<QString>{"a.jpg", "b.jpg", "c.jpg"}));
    QVERIFY(progress.size() >= 2);
    QVERIFY(!lib.batchProgress());
    QCOMPARE(alertText(lib), QStringLiteral("Saved the changes to 2 files. These files were left "
                                            "unchanged:\n\nb.jpg: Disk full."));
    QCOMPARE(lib.modifiedItemIDs(), QSet<QUuid>{idsOf(lib).at(1)});
    // The files written were read again: they agree with b's pending edit.
    QVERIFY(!lib.sharedRow(title)->mixed);
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("new"));
}

void LibrarySelectionTest::batchCommandsTakeTheSelectedFilesOnly()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    loadThree(lib);
    ScriptedEngine &engine = *m_fixture->engine;
    const QList<QUuid> all = idsOf(lib);
    lib.setSelectedItemIDs({all.at(0), all.at(2)});
    QVERIFY(waitUntilIdle(lib));
    const auto fileNames = [](const auto &calls) {
        QStringList names;
        for (const auto &call : calls)
            names << call.file.fileName();
        return names;
    };

    lib.applyPresetToSelection(
        {QUuid::createUuid(), "P", PresetAction::addOrModifyMetadata({{title, "P"}})});
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(fileNames(engine.changes), (QStringList{"a.jpg", "c.jpg"}));

    lib.presentRemoveMetadataConfirmation();
    QVERIFY(lib.removeMetadataRequest());
    QCOMPARE(lib.removeMetadataRequest()->itemIDs, (QList<QUuid>{all.at(0), all.at(2)}));
    lib.confirmRemoveMetadata();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(fileNames(engine.strips), (QStringList{"a.jpg", "c.jpg"}));

    // One export file holding both, each object naming its file.
    QVERIFY(waitUntilIdle(lib));
    lib.exportSelectedMetadata(MetadataExportFormatter::Format::Json);
    QVERIFY(h.savePanel->lastOptions);
    QCOMPARE(h.savePanel->lastOptions->suggestedFileName,
             QStringLiteral("Metadata of 2 files.json"));
    const QString destination = m_fixture->env.workPath() + "/both.json";
    h.savePanel->answer(QUrl::fromLocalFile(destination));
    QFile written(destination);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QJsonArray files = QJsonDocument::fromJson(written.readAll()).array();
    QCOMPARE(files.size(), 2);
    QCOMPARE(QFileInfo(files.at(1).toObject().value("SourceFile").toString()).fileName(),
             QStringLiteral("c.jpg"));
}

QTEST_GUILESS_MAIN(LibrarySelectionTest)
#include "tst_LibrarySelection.moc"
