// The copy dialog and the Compare view over a scripted engine: what the
// dialog previews for each source, that its answer reaches the library, and
// the side-by-side rows with their marks and the differences filter.

#include "MetaloomFeature/Views/Copying/CompareView.h"
#include "MetaloomFeature/Views/Copying/CopyMetadataDialog.h"
#include "MetaloomFeature/Views/Window/WindowSheets.h"
#include "tests/Engine/RealFiles.h"
#include "tests/Library/LibraryHarness.h"
#include "tests/Library/ScriptedFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

class CopyAndCompareTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void copyDialogPreviewsEachSourceAndCopies();
    void cancellingTheDialogCopiesNothing();
    void compareMarksDifferencesAndFiltersThem();

private:
    // The rows of the preview: file name, then "key: now -> after" lines.
    static QStringList previewLines(const QTreeWidget *tree);

    std::optional<ScriptedFixture> m_fixture;
    std::optional<LibraryHarness> m_harness;
    std::unique_ptr<QWidget> m_window;
    WindowSheets *m_sheets = nullptr;
    QList<QUuid> m_ids;
};

void CopyAndCompareTest::init()
{
    m_fixture.emplace();
    const QString folder = m_fixture->env.workPath();
    QList<QUrl> urls;
    // a.jpg and b.jpg differ in the title; c.jpg holds a's title already.
    const QList<std::pair<QString, QString>> files{
        {"a.jpg", "Alps"}, {"b.jpg", "Beach"}, {"c.jpg", "Alps"}};
    for (const auto &[name, value] : files) {
        const QString path = makeImage(folder, name);
        m_fixture->engine->files.insert(path, {{title, {value}}, {description, {name}}});
        urls << QUrl::fromLocalFile(path);
    }
    m_harness.emplace(m_fixture->engine);
    m_harness->library->importItems(urls);
    QVERIFY(waitUntilIdle(*m_harness->library));
    m_ids.clear();
    for (const MediaItem &item : m_harness->library->items())
        m_ids << item.id;
    m_window = std::make_unique<QWidget>();
    m_sheets = new WindowSheets(m_harness->library.get(), nullptr, m_window.get());
    m_window->show();
}

void CopyAndCompareTest::cleanup()
{
    m_window.reset();
    m_harness.reset();
    m_fixture.reset();
}

QStringList CopyAndCompareTest::previewLines(const QTreeWidget *tree)
{
    QStringList lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *file = tree->topLevelItem(i);
        lines << file->text(0) + " | " + file->text(1);
        for (int j = 0; j < file->childCount(); ++j) {
            const QTreeWidgetItem *row = file->child(j);
            lines << "  " + row->text(0) + ": " + row->text(1) + " -> " + row->text(2);
        }
    }
    return lines;
}

void CopyAndCompareTest::copyDialogPreviewsEachSourceAndCopies()
{
    LibraryViewModel &lib = *m_harness->library;
    lib.presentCopyMetadata(m_ids);
    auto *dialog = qobject_cast<CopyMetadataDialog *>(m_sheets->copyMetadata());
    QVERIFY(dialog);
    // The first selected file gives, the others take; the source is never
    // its own target, and a file that already agrees says so.
    QCOMPARE(dialog->source(), std::optional(lib.items().at(0).url));
    QTRY_VERIFY(!lib.copyPreview().isLoading);
    // In the order of the source's tags.
    const QString a = "  XMP-dc:Description: b.jpg -> a.jpg";
    QCOMPARE(previewLines(dialog->previewList()),
             (QStringList{"b.jpg | 2 changes", a, "  " + title + ": Beach -> Alps",
                          "c.jpg | 1 change", "  XMP-dc:Description: c.jpg -> a.jpg"}));
    QCOMPARE(dialog->statusText(), QStringLiteral("3 changes in 2 files."));
    QVERIFY(dialog->copyButton()->isEnabled());

    // Another source asks again; the source list names every loaded file
    // and the command for another one.
    QCOMPARE(dialog->sourceChoice()->count(), 4);
    QCOMPARE(dialog->sourceChoice()->itemText(3), QStringLiteral("Other File…"));
    dialog->setSourceFile(lib.items().at(2).url);
    QTRY_VERIFY(!lib.copyPreview().isLoading);
    QCOMPARE(lib.copyPreview().source, std::optional(lib.items().at(2).url));
    QCOMPARE(dialog->previewList()->topLevelItemCount(), 2);
    QCOMPARE(dialog->previewList()->topLevelItem(0)->text(0), QStringLiteral("a.jpg"));

    dialog->setFamily(CopyFamily::creatorAndRights);
    QTRY_COMPARE(lib.copyPreview().family, CopyFamily::creatorAndRights);
    QTRY_VERIFY(!lib.copyPreview().isLoading);
    QVERIFY(dialog->copyButton()->isEnabled());

    dialog->copyButton()->click();
    QVERIFY(!lib.copyMetadataRequest());
    QTRY_VERIFY(!m_sheets->copyMetadata());
    QVERIFY(waitUntilIdle(lib));
    const QList<ScriptedEngine::Copy> copies = m_fixture->engine->copies;
    QCOMPARE(copies.size(), 2);
    for (const ScriptedEngine::Copy &copy : copies) {
        QCOMPARE(copy.source, lib.items().at(2).url);
        QCOMPARE(copy.family, CopyFamily::creatorAndRights);
    }
    QCOMPARE(copies.at(0).target, lib.items().at(0).url);
    QCOMPARE(copies.at(1).target, lib.items().at(1).url);
}

void CopyAndCompareTest::cancellingTheDialogCopiesNothing()
{
    LibraryViewModel &lib = *m_harness->library;
    lib.presentCopyMetadata({m_ids.at(1)});
    QDialog *dialog = m_sheets->copyMetadata();
    QVERIFY(dialog);
    dialog->reject();
    QVERIFY(!lib.copyMetadataRequest());
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(m_fixture->engine->copies.isEmpty());
}

void CopyAndCompareTest::compareMarksDifferencesAndFiltersThem()
{
    LibraryViewModel &lib = *m_harness->library;
    lib.presentCompare(m_ids.at(0), m_ids.at(2));
    auto *view = qobject_cast<CompareView *>(m_sheets->compare());
    QVERIFY(view);
    QTRY_VERIFY(!lib.comparison()->isLoading);
    const QTreeWidget *rows = view->rowList();
    QCOMPARE(rows->headerItem()->text(1), QStringLiteral("a.jpg"));
    QCOMPARE(rows->headerItem()->text(2), QStringLiteral("c.jpg"));
    QStringList shown;
    for (int i = 0; i < rows->topLevelItemCount(); ++i)
        shown << rows->topLevelItem(i)->text(0) + " = " + rows->topLevelItem(i)->text(1) + " / " +
                     rows->topLevelItem(i)->text(2);
    QVERIFY2(shown.contains(title + " = Alps / Alps"), qPrintable(shown.join('\n')));
    QVERIFY2(shown.contains("≠ " + description + " = a.jpg / c.jpg"), qPrintable(shown.join('\n')));
    QCOMPARE(view->statusText(), QStringLiteral("1 of %1 tags differs.").arg(shown.size()));

    view->onlyDifferences()->setChecked(true);
    QCOMPARE(rows->topLevelItemCount(), 1);
    QCOMPARE(rows->topLevelItem(0)->text(0), "≠ " + description);

    view->reject();
    QVERIFY(!lib.comparison());
}

QTEST_MAIN(CopyAndCompareTest)
#include "tst_CopyAndCompare.moc"
