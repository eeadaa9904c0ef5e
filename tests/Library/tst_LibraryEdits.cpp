// The edits of every file of one window, over a scripted engine: kept across
// a change of the selection, marked per file, saved together, and stepped
// back and forth by undo and redo.

#include "LibraryHarness.h"
#include "ScriptedFixture.h"

#include "MetaloomFeature/Library/EntryMarks.h"
#include "MetaloomFeature/Platform/Error.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TaskRunner.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

class LibraryEditsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_fixture.emplace(); }
    void cleanup()
    {
        m_harness.reset();
        m_fixture.reset();
    }
    void editsOutliveASwitchAndComeBack();
    void aSaveEndingAfterASwitchClearsTheFilesMark();
    void saveAllWritesEachFileOnceWithOneReport_data();
    void saveAllWritesEachFileOnceWithOneReport();
    void saveAllKeepsTheEditsAFileDidNotTake();
    void undoAndRedoStepThroughEdits_data();
    void undoAndRedoStepThroughEdits();
    void undoReachesAFileNoLongerShown();
    void saveAndReloadDropTheFilesSteps_data();
    void saveAndReloadDropTheFilesSteps();

private:
    QString file(const QString &name, QMap<QString, QStringList> tags = {})
    {
        const QString path = makeImage(m_fixture->env.workPath(), name);
        m_fixture->engine->files.insert(path, std::move(tags));
        return path;
    }
    // A window with two files, a and b, each with its name as title; a is
    // shown.
    LibraryViewModel &twoFiles()
    {
        m_harness.emplace(m_fixture->engine);
        LibraryViewModel &lib = *m_harness->library;
        lib.importItems({url(file("a.jpg", {{title, {"a"}}, {description, {"about a"}}})),
                         url(file("b.jpg", {{title, {"b"}}}))});
        QTest::qVerify(waitUntilIdle(lib), "waitUntilIdle(lib)", "", __FILE__, __LINE__);
        return lib;
    }
    void show(LibraryViewModel &lib, int row)
    {
        lib.setSelectedItemID(lib.items().at(row).id);
        QVERIFY(waitUntilIdle(lib));
    }

    std::optional<ScriptedFixture> m_fixture;
    std::optional<LibraryHarness> m_harness;
};

void LibraryEditsTest::editsOutliveASwitchAndComeBack()
{
    LibraryViewModel &lib = twoFiles();
    const QUuid a = lib.items().at(0).id;
    QSignalSpy marks(&lib, &LibraryViewModel::modifiedItemIDsChanged);
    lib.editValue(*visibleEntry(lib, title), "typed");
    lib.markForRemoval(description);
    QCOMPARE(lib.modifiedItemIDs(), QSet<QUuid>{a});
    QCOMPARE(marks.size(), 1);

    // Away and back: the file keeps its mark, and its edits return on top of
    // a fresh read (the file changed meanwhile, the untouched tag shows it).
    show(lib, 1);
    QCOMPARE(lib.modifiedItemIDs(), QSet<QUuid>{a});
    QVERIFY(!lib.hasPendingChanges());
    m_fixture->engine->files[lib.items().at(0).url.toLocalFile()].insert("IFD0:Make", {"New"});
    show(lib, 0);
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("typed"));
    QVERIFY(EntryMarks::isMarkedForRemoval(*visibleEntry(lib, description)));
    QCOMPARE(visibleEntry(lib, "IFD0:Make")->value, QStringLiteral("New"));
    QVERIFY(lib.hasPendingChanges());

    // Taking the file off the list takes its edits along.
    show(lib, 1);
    lib.removeItem(lib.items().at(0));
    QVERIFY(lib.modifiedItemIDs().isEmpty());
    QVERIFY(!lib.canUndo());
}

void LibraryEditsTest::aSaveEndingAfterASwitchClearsTheFilesMark()
{
    LibraryViewModel &lib = twoFiles();
    const QString a = lib.items().at(0).url.toLocalFile();
    lib.editValue(*visibleEntry(lib, title), "typed");
    m_fixture->engine->hold(a);
    QCoro::Task<bool> saving = lib.saveChanges();
    lib.setSelectedItemID(lib.items().at(1).id);
    m_fixture->engine->release(a);
    const auto saved = runTask(std::move(saving));
    QVERIFY(saved.value && *saved.value);
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(lib.modifiedItemIDs(), QSet<QUuid>());
    show(lib, 0);
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("typed"));
    QVERIFY(!lib.hasPendingChanges());
}

void LibraryEditsTest::saveAllWritesEachFileOnceWithOneReport_data()
{
    QTest::addColumn<bool>("failFirst");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("alert");
    QTest::newRow("both saved") << false << "Saved the changes to 2 files." << QString();
    QTest::newRow("one refused") << true << QString()
                                 << "Saved the changes to 1 file. These files were left "
                                    "unchanged:\n\na.jpg: Disk full.";
}

void LibraryEditsTest::saveAllWritesEachFileOnceWithOneReport()
{
    QFETCH(bool, failFirst);
    QFETCH(QString, status);
    QFETCH(QString, alert);
    LibraryViewModel &lib = twoFiles();
    lib.editValue(*visibleEntry(lib, title), "A");
    show(lib, 1);
    lib.editValue(*visibleEntry(lib, title), "B");
    const QUuid a = lib.items().at(0).id;
    ScriptedEngine &engine = *m_fixture->engine;
    engine.changeAnswer = [&engine, failFirst](const ScriptedEngine::Change &change) {
        if (failFirst && change.file.fileName() == QStringLiteral("a.jpg"))
            throw RefusedFile();
        return engine.makeChange(change);
    };

    // Side by side: b is written while a is still held, and the report
    // still comes in list order.
    lib.setBatchLanes(2);
    const QString aPath = lib.items().at(0).url.toLocalFile();
    engine.hold(aPath);
    QCoro::Task<bool> saving = lib.saveAllChanges();
    QTRY_COMPARE(engine.changes.size(), 2);
    engine.release(aPath);
    const auto saved = runTask(std::move(saving));
    QVERIFY(saved.value);
    QCOMPARE(*saved.value, !failFirst);
    QCOMPARE(engine.changes.size(), 2);
    QCOMPARE(engine.changes.at(0).file.fileName(), QStringLiteral("a.jpg"));
    QCOMPARE(engine.changes.at(0).assignments, (QList<TagAssignment>{{title, {"A"}}}));
    QCOMPARE(engine.changes.at(1).assignments, (QList<TagAssignment>{{title, {"B"}}}));
    // A refused file is reported by the alert alone; the import's note may
    // still show.
    if (status.isEmpty())
        QVERIFY2(!statusText(lib).startsWith(QStringLiteral("Saved")), qPrintable(statusText(lib)));
    else
        QCOMPARE(statusText(lib), status);
    QCOMPARE(alertText(lib), alert);
    QCOMPARE(lib.modifiedItemIDs(), failFirst ? QSet<QUuid>{a} : QSet<QUuid>());
    // The shown file was read back after its write.
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("B"));
    QVERIFY(!visibleEntry(lib, title)->isModified());
}

void LibraryEditsTest::saveAllKeepsTheEditsAFileDidNotTake()
{
    LibraryViewModel &lib = twoFiles();
    const QUuid a = lib.items().at(0).id;
    lib.editValue(*visibleEntry(lib, title), "A");
    lib.editValue(*visibleEntry(lib, description), "D");
    show(lib, 1);
    ScriptedEngine &engine = *m_fixture->engine;
    engine.changeAnswer = [&engine](ScriptedEngine::Change change) {
        change.assignments.removeIf([](const TagAssignment &set) { return set.key == title; });
        ChangeReport report = engine.makeChange(change);
        report.add({title, TagOutcome::Kind::notWritten, {}, "No place for Title."});
        return report;
    };
    QVERIFY(!runTask(lib.saveAllChanges()).value.value_or(true));
    // The file is still marked, for the one edit it did not take.
    QCOMPARE(lib.modifiedItemIDs(), QSet<QUuid>{a});
    show(lib, 0);
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("A"));
    QVERIFY(visibleEntry(lib, title)->isModified());
    QVERIFY(!visibleEntry(lib, description)->isModified());
}

void LibraryEditsTest::undoAndRedoStepThroughEdits_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("typing") << "typing"
                            << "about a"
                            << "abc";
    QTest::newRow("revert") << "revert"
                            << "x"
                            << "about a";
    QTest::newRow("removal") << "removal"
                             << "about a" << QString();
}

void LibraryEditsTest::undoAndRedoStepThroughEdits()
{
    QFETCH(QString, step);
    QFETCH(QString, before);
    QFETCH(QString, after);
    LibraryViewModel &lib = twoFiles();
    if (step == "revert") {
        lib.editValue(*visibleEntry(lib, description), "x");
        lib.endEditStep();
        lib.revertEntry(description);
    } else if (step == "removal") {
        lib.markForRemoval(description);
        QVERIFY(!lib.canMarkForRemoval(description));
    } else {
        // Keystrokes of one field until it closes are one step.
        for (const QString &typed : {"a", "ab", "abc"})
            lib.editValue(*visibleEntry(lib, description), typed);
        lib.endEditStep();
    }
    QCOMPARE(visibleEntry(lib, description)->value, after);

    lib.undo();
    QCOMPARE(visibleEntry(lib, description)->value, before);
    QCOMPARE(lib.canUndo(), step == "revert");
    QVERIFY(lib.canRedo());
    lib.redo();
    QCOMPARE(visibleEntry(lib, description)->value, after);
    QVERIFY(!lib.canRedo());
    // Back to the start: nothing is pending any more.
    while (lib.canUndo())
        lib.undo();
    QVERIFY(!lib.hasPendingChanges());
    QVERIFY(lib.modifiedItemIDs().isEmpty());
}

void LibraryEditsTest::undoReachesAFileNoLongerShown()
{
    LibraryViewModel &lib = twoFiles();
    const QUuid a = lib.items().at(0).id;
    lib.editValue(*visibleEntry(lib, title), "A");
    lib.endEditStep();
    show(lib, 1);

    // The step belongs to a: undoing it shows a again, without the edit.
    lib.undo();
    QVERIFY(lib.selectedItemID() == a);
    QVERIFY(lib.modifiedItemIDs().isEmpty());
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("a"));
    show(lib, 1);
    lib.redo();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("A"));
    QCOMPARE(lib.modifiedItemIDs(), QSet<QUuid>{a});
}

void LibraryEditsTest::saveAndReloadDropTheFilesSteps_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("save") << true;
    QTest::newRow("reload") << false;
}

void LibraryEditsTest::saveAndReloadDropTheFilesSteps()
{
    QFETCH(bool, save);
    LibraryViewModel &lib = twoFiles();
    lib.editValue(*visibleEntry(lib, title), "A");
    show(lib, 1);
    lib.editValue(*visibleEntry(lib, title), "B");
    lib.endEditStep();
    QSignalSpy undoState(&lib, &LibraryViewModel::undoStateChanged);
    if (save)
        QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    else
        runTask(lib.reloadMetadata());
    QVERIFY(undoState.size() > 0);
    // Only a's step is left: undoing it leaves b as it is now.
    QVERIFY(lib.canUndo());
    lib.undo();
    QVERIFY(!lib.canUndo());
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(lib.selectedItemID() == lib.items().at(0).id);
    show(lib, 1);
    QCOMPARE(visibleEntry(lib, title)->value, save ? QStringLiteral("B") : QStringLiteral("b"));
}

QTEST_MAIN(LibraryEditsTest)
#include "tst_LibraryEdits.moc"
