// The window's menus in German: every command says it in German (no menu
// text is the same in both languages), and the menus' accelerators stay
// unique.
#include "App/MainWindow.h"
#include "App/MetaloomApp.h"
#include "MetaloomFeature/Platform/Translations.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

// Every action of the menu bar with its menu's path, in order.
struct Command {
    QString menu;
    QString text;
};

void collect(const QString &menu, const QList<QAction *> &actions, QList<Command> &commands)
{
    for (QAction *action : actions) {
        if (action->isSeparator())
            continue;
        commands.append({menu, action->text()});
        if (QMenu *submenu = action->menu())
            collect(menu + u'/' + action->text(), submenu->actions(), commands);
    }
}

QList<Command> menuCommands(MainWindow *window)
{
    QList<Command> commands;
    collect(QString(), window->menuBar()->actions(), commands);
    return commands;
}

QString withoutAccelerator(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

QChar acceleratorOf(const QString &text)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("&([^&])")).match(text);
    return match.hasMatch() ? match.captured(1).at(0).toLower() : QChar();
}

} // namespace

class GermanMenusTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void everyMenuTextIsGerman();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void GermanMenusTest::everyMenuTextIsGerman()
{
    MetaloomApp app({realBundle(), false});
    // The same window in English first: its texts are the source texts.
    const QList<Command> english = menuCommands(app.newWindow());

    const Translations german(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(german.language(), QStringLiteral("de"));
    MainWindow *window = app.newWindow();
    const QList<Command> translated = menuCommands(window);

    QCOMPARE(translated.size(), english.size());
    QVERIFY(translated.size() > 10);
    for (qsizetype i = 0; i < translated.size(); ++i) {
        const QString source = withoutAccelerator(english.at(i).text);
        const QString shown = withoutAccelerator(translated.at(i).text);
        QVERIFY2(!shown.isEmpty(), qPrintable(english.at(i).menu + u'/' + source));
        QVERIFY2(
            shown != source,
            qPrintable(QStringLiteral("%1/%2 is still English").arg(english.at(i).menu, source)));
    }
    QCOMPARE(translated.first().text, QStringLiteral("&Datei"));

    QSet<QChar> accelerators;
    for (QAction *menu : window->menuBar()->actions()) {
        const QChar key = acceleratorOf(menu->text());
        QVERIFY2(!key.isNull(), qPrintable(menu->text()));
        QVERIFY2(!accelerators.contains(key), qPrintable(menu->text()));
        accelerators.insert(key);
    }
}

QTEST_MAIN(GermanMenusTest)
#include "tst_GermanMenus.moc"
