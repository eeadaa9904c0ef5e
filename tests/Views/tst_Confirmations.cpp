#include "MetaloomFeature/Views/Kit/ConfirmationBanner.h"
#include "MetaloomFeature/Views/Kit/Confirmations.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace Metaloom;

namespace {

struct Answers {
    int confirmed = 0;
    int cancelled = 0;

    ConfirmationDialog::Answers callbacks()
    {
        return {[this] { ++confirmed; }, [this] { ++cancelled; }};
    }
};

} // namespace

class ConfirmationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void questions_data();
    void questions();
    void answers_data();
    void answers();
    void countFollowsTheLibraryWhileOpen();
    void choiceUnderTheQuestion();
    void bannerComesAndGoes();
};

void ConfirmationsTest::questions_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("question");
    const QString tail = QStringLiteral("? This action cannot be undone.");
    QTest::newRow("one file")
        << 1
        << QStringLiteral("Are you sure you want to remove all metadata from 1 loaded file") + tail;
    QTest::newRow("three files")
        << 3
        << QStringLiteral("Are you sure you want to remove all metadata from 3 loaded files") +
               tail;
    QTest::newRow("none")
        << 0
        << QStringLiteral("Are you sure you want to remove all metadata from 0 loaded files") +
               tail;
}

void ConfirmationsTest::questions()
{
    QFETCH(int, count);
    QFETCH(QString, question);
    QCOMPARE(removeAllMetadataQuestion(count), question);
    RemoveAllMetadataConfirmation dialog(count, {});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Remove All Metadata"));
    QCOMPARE(dialog.confirmButton()->text(), QStringLiteral("&Remove All Metadata"));
    QCOMPARE(dialog.message(), question);
}

void ConfirmationsTest::answers_data()
{
    QTest::addColumn<std::function<void(ConfirmationDialog &)>>("answer");
    QTest::addColumn<bool>("confirms");
    using Answer = std::function<void(ConfirmationDialog &)>;
    QTest::newRow("Return") << Answer([](ConfirmationDialog &d) {
        QTest::keyClick(&d, Qt::Key_Return);
    }) << true;
    QTest::newRow("Enter") << Answer([](ConfirmationDialog &d) {
        QTest::keyClick(&d, Qt::Key_Enter);
    }) << true;
    QTest::newRow("confirm button") << Answer([](ConfirmationDialog &d) {
        QTest::mouseClick(d.confirmButton(), Qt::LeftButton);
    }) << true;
    QTest::newRow("Escape") << Answer([](ConfirmationDialog &d) {
        QTest::keyClick(&d, Qt::Key_Escape);
    }) << false;
    QTest::newRow("Cancel button") << Answer([](ConfirmationDialog &d) {
        QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
    }) << false;
    QTest::newRow("Return on the focused Cancel button")
        << Answer([](ConfirmationDialog &d) { QTest::keyClick(d.cancelButton(), Qt::Key_Return); })
        << false;
    QTest::newRow("closing the window")
        << Answer([](ConfirmationDialog &d) { d.close(); }) << false;
}

void ConfirmationsTest::answers()
{
    QFETCH(std::function<void(ConfirmationDialog &)>, answer);
    QFETCH(bool, confirms);
    QWidget window;
    window.show();
    Answers answers;
    RemoveMetadataConfirmation dialog(QStringLiteral("<b>IMG_1</b>.jpg"), answers.callbacks(),
                                      &window);
    QCOMPARE(dialog.message(), QStringLiteral("Are you sure you want to remove all metadata from "
                                              "<b>IMG_1</b>.jpg? This action cannot be undone."));
    QCOMPARE(dialog.windowModality(), Qt::WindowModal);
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    answer(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(answers.confirmed, confirms ? 1 : 0);
    QCOMPARE(answers.cancelled, confirms ? 0 : 1);
    dialog.reject(); // a late second answer is not passed on
    QCOMPARE(answers.confirmed + answers.cancelled, 1);
}

void ConfirmationsTest::countFollowsTheLibraryWhileOpen()
{
    RemoveAllMetadataConfirmation dialog(1, {});
    dialog.show();
    dialog.setItemCount(2);
    QCOMPARE(dialog.message(), removeAllMetadataQuestion(2));
    // Markup in a file name is shown as typed.
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
}

void ConfirmationsTest::choiceUnderTheQuestion()
{
    // The strip profile is chosen where the strip is confirmed.
    Answers answers;
    RemoveMetadataConfirmation dialog(QStringLiteral("a.jpg"), answers.callbacks());
    QList<int> chosen;
    dialog.setChoice(QStringLiteral("Strip profile:"), {"Everything", "Location only"}, 0,
                     [&chosen](int index) { chosen << index; });
    dialog.show();
    QVERIFY(dialog.choice());
    QCOMPARE(dialog.choice()->currentText(), QStringLiteral("Everything"));
    dialog.choice()->setCurrentIndex(1);
    QCOMPARE(chosen, QList<int>{1});
    // It sits right under the question.
    QVERIFY(dialog.choice()->geometry().top() >
            dialog.findChildren<QLabel *>().at(1)->geometry().top());
    dialog.accept();
    QCOMPARE(answers.confirmed, 1);
}

void ConfirmationsTest::bannerComesAndGoes()
{
    QWidget host;
    host.resize(500, 300);
    ConfirmationBanner banner(QStringLiteral("Preset saved successfully"), &host);
    host.show();
    QVERIFY(!banner.isVisible());
    banner.present();
    QVERIFY(banner.isVisible());
    QTRY_COMPARE(banner.opacity(), 1.0);
    QCOMPARE(banner.geometry().center().x(), host.rect().center().x());
    QVERIFY(banner.geometry().top() >= 0 &&
            banner.geometry().top() <= ConfirmationBanner::topPadding);
    banner.dismiss();
    QVERIFY(!banner.isPresented());
    QTRY_VERIFY(!banner.isVisible());
}

QTEST_MAIN(ConfirmationsTest)
#include "tst_Confirmations.moc"
