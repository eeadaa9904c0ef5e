// The application shell with real windows: menu shortcuts through the
// notifications, the question before unsaved edits are lost, and closing a
// window while its save runs.
#include "App/MainWindow.h"
#include "App/MetaloomApp.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Updates/UpdaterController.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Settings/UpdateResultDialog.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "tests/Engine/RealFiles.h"
#include "tests/Views/ViewHarness.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TestEnvironment.h"

#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

const QString title = QStringLiteral("XMP-dc:Title");

// A window showing a copy of a sample file, with its title edited.
MainWindow *windowWithEdit(MetaloomApp &app, const QString &path, const QString &value)
{
    MainWindow *window = app.newWindow();
    window->openFiles({QUrl::fromLocalFile(path)});
    if (!waitForLoad(*window->library()))
        return nullptr;
    window->library()->editValue(*shownEntry(*window->library(), title), value);
    return window;
}

bool activate(QWidget *window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

QAction *menuAction(QWidget *window, const QString &text)
{
    for (QAction *action : window->findChildren<QAction *>()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class AppShellTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void saveShortcutReachesEveryWindow();
    void reloadAndRevertAreNotSwapped_data();
    void reloadAndRevertAreNotSwapped();
    void closingWithUnsavedEditsAsks_data();
    void closingWithUnsavedEditsAsks();
    void quitStopsAtCancel();
    void closingDuringASaveLetsItFinish();
    void filesFromTheCommandLine();
    void updateOutcomesOpenTheDialog();

private:
    QString copy(const QString &name, const QString &as = QString())
    {
        return copyTestData(name, m_env->workPath(), as);
    }

    std::unique_ptr<TestEnvironment> m_env;
};

void AppShellTest::saveShortcutReachesEveryWindow()
{
    MetaloomApp app({realBundle(), false});
    const QString first = copy(QStringLiteral("Canon.jpg"));
    const QString second = copy(QStringLiteral("XMP.jpg"));
    MainWindow *one = windowWithEdit(app, first, QStringLiteral("one"));
    MainWindow *two = windowWithEdit(app, second, QStringLiteral("two"));
    QVERIFY(one && two);
    QVERIFY(activate(one));
    // Without an update key the updater never starts.
    QVERIFY(!menuAction(one, QStringLiteral("Check for &Updates…"))->isEnabled());

    QTest::keyClick(one, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(
        !one->library()->hasPendingChanges() && !two->library()->hasPendingChanges(), 60000);
    QVERIFY(waitUntilIdle(*one->library()) && waitUntilIdle(*two->library()));
    QCOMPARE(valueOf(first, title), QStringLiteral("one"));
    QCOMPARE(valueOf(second, title), QStringLiteral("two"));
}

void AppShellTest::reloadAndRevertAreNotSwapped_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("reverts");
    QTest::newRow("Ctrl+R reloads") << int(Qt::ControlModifier) << false;
    QTest::newRow("Ctrl+Shift+R reverts") << int(Qt::ControlModifier | Qt::ShiftModifier) << true;
}

void AppShellTest::reloadAndRevertAreNotSwapped()
{
    QFETCH(int, modifiers);
    QFETCH(bool, reverts);
    MetaloomApp app({realBundle(), false});
    MainWindow *window =
        windowWithEdit(app, copy(QStringLiteral("Canon.jpg")), QStringLiteral("x"));
    QVERIFY(window && activate(window));
    const QUuid before = shownEntry(*window->library(), title)->id;

    QTest::keyClick(window, Qt::Key_R, Qt::KeyboardModifiers(modifiers));
    QVERIFY(waitUntilIdle(*window->library()));
    QVERIFY(!window->library()->hasPendingChanges());
    // Revert keeps the entries and says so; a reload reads new ones quietly.
    QCOMPARE(shownEntry(*window->library(), title)->id == before, reverts);
    QCOMPARE(window->library()->statusMessage() == QStringLiteral("Changes reverted."), reverts);
}

void AppShellTest::closingWithUnsavedEditsAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("fileTitle");
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false << QString();
    QTest::newRow("Discard") << int(QMessageBox::Discard) << true << QString();
    QTest::newRow("Save") << int(QMessageBox::Save) << true << QStringLiteral("kept");
}

void AppShellTest::closingWithUnsavedEditsAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(QString, fileTitle);
    MetaloomApp app({realBundle(), false});
    const QString path = copy(QStringLiteral("Canon.jpg"));
    QPointer<MainWindow> window = windowWithEdit(app, path, QStringLiteral("kept"));
    QVERIFY(window);

    window->close();
    QVERIFY(window && window->isVisible());
    QMessageBox *prompt = window->unsavedChangesPrompt();
    QVERIFY(prompt && prompt->isVisible());
    QTest::mouseClick(prompt->button(QMessageBox::StandardButton(answer)), Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(window.isNull() == closes, 60000);
    if (!closes)
        QVERIFY(window->library()->hasPendingChanges());
    QCOMPARE(valueOf(path, title), fileTitle);
}

void AppShellTest::quitStopsAtCancel()
{
    MetaloomApp app({realBundle(), false});
    QPointer<MainWindow> clean = app.newWindow();
    QPointer<MainWindow> edited =
        windowWithEdit(app, copy(QStringLiteral("Canon.jpg")), QStringLiteral("x"));
    QVERIFY(edited);
    app.quit();
    QMessageBox *prompt = edited->unsavedChangesPrompt();
    QVERIFY(prompt);
    QTest::mouseClick(prompt->button(QMessageBox::Cancel), Qt::LeftButton);
    QTest::qWait(50);
    QVERIFY(clean && edited);
    QCOMPARE(app.windows().size(), 2);

    // A later Quit asks again: the cancelled one is over.
    app.quit();
    prompt = edited->unsavedChangesPrompt();
    QVERIFY(prompt && prompt->isVisible());
    QTest::mouseClick(prompt->button(QMessageBox::Cancel), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(app.windows().size(), 2);
}

void AppShellTest::closingDuringASaveLetsItFinish()
{
    MetaloomApp app({realBundle(), false});
    const QString path = copy(QStringLiteral("Canon.jpg"));
    QPointer<MainWindow> window = windowWithEdit(app, path, QStringLiteral("finished"));
    QVERIFY(window && activate(window));

    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(window->library()->isBusy());
    // The save is running and the edits are not in the file yet: the window
    // asks, and the user lets the edits go.
    window->close();
    QVERIFY(window->unsavedChangesPrompt());
    QTest::mouseClick(window->unsavedChangesPrompt()->button(QMessageBox::Discard), Qt::LeftButton);
    QTRY_VERIFY(window.isNull());
    // The change already under way still lands whole.
    QTRY_COMPARE_WITH_TIMEOUT(valueOf(path, title), QStringLiteral("finished"), 30000);
    QTest::qWait(200);
}

void AppShellTest::filesFromTheCommandLine()
{
    const QString here = QDir::currentPath();
    QCOMPARE(filesFromArguments({QStringLiteral("a b.jpg"), QStringLiteral("file:///tmp/c.mov"),
                                 QStringLiteral("/tmp/d.heic")}),
             QList<QUrl>({QUrl::fromLocalFile(here + QStringLiteral("/a b.jpg")),
                          QUrl::fromLocalFile(QStringLiteral("/tmp/c.mov")),
                          QUrl::fromLocalFile(QStringLiteral("/tmp/d.heic"))}));
}

void AppShellTest::updateOutcomesOpenTheDialog()
{
    // The updater shows no window; the application hands its outcomes to the
    // update dialog.
    MetaloomApp app({realBundle(), false});
    const auto dialogs = [] {
        QList<UpdateResultDialog *> found;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<UpdateResultDialog *>(widget);
                dialog && dialog->isVisible())
                found << dialog;
        }
        return found;
    };
    QVERIFY(dialogs().isEmpty());
    UpdateCheckOutcome outcome;
    outcome.kind = UpdateCheckOutcome::Kind::Failed;
    outcome.errorMessage = QStringLiteral("The update server did not answer in time.");
    Q_EMIT app.updater()->outcomeToShow(outcome);
    QTRY_COMPARE(dialogs().size(), 1);
    QCOMPARE(dialogs().first()->informativeText(), outcome.errorMessage);
    dialogs().first()->close();
}

QTEST_MAIN(AppShellTest)
#include "tst_AppShell.moc"
