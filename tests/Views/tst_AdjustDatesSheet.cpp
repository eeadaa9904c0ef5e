// The Adjust Dates sheet of a window over a real library on the real bundled
// ExifTool, driven like a user on copies of the samples: the preview table
// follows the controls, the clock photo gives its shift, and Adjust Dates
// changes what the table said.

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Views/Window/AdjustDatesSheet.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "MetaloomFeature/Views/Window/WindowSheets.h"
#include "ViewHarness.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

struct Window {
    ExifToolService engine{realBundle()};
    LibraryViewModel library{MetadataEngine::over(&engine)};
    ContentView view{&library};

    Window()
    {
        view.resize(1100, 700);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
};

// "FILE|KEY|BEFORE|AFTER" for each row of the preview.
QStringList rowsOf(const QTableWidget *table)
{
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        rows << cells.join(u'|');
    }
    return rows;
}

template <typename Widget> Widget *withText(QWidget *parent, const QString &text)
{
    for (Widget *widget : parent->findChildren<Widget *>()) {
        if (widget->text() == text)
            return widget;
    }
    return nullptr;
}

} // namespace

class AdjustDatesSheetTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void previewFollowsTheControlsAndApplies();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void AdjustDatesSheetTest::previewFollowsTheControlsAndApplies()
{
    Window window;
    const QString photo = copyTestData("Canon.jpg", m_env->workPath());
    const QString picture = copyTestData("QuickTime.heic", m_env->workPath());
    window.library.importItems({QUrl::fromLocalFile(photo), QUrl::fromLocalFile(picture)});
    QVERIFY(waitUntilIdle(window.library));
    QList<QUuid> ids;
    for (const MediaItem &item : window.library.items())
        ids << item.id;
    window.library.presentAdjustDates(ids);
    auto *sheet = qobject_cast<AdjustDatesSheet *>(window.view.sheets()->adjustDates());
    QVERIFY(sheet);
    QVERIFY(QTest::qWaitForWindowExposed(sheet));

    // An hour later, as the sheet opens.
    const QStringList anHour{
        "Canon.jpg|ExifIFD:DateTimeOriginal|2003:12:04 06:46:52|2003:12:04 07:46:52",
        "Canon.jpg|ExifIFD:CreateDate|2003:12:04 06:46:52|2003:12:04 07:46:52",
        "QuickTime.heic|||Nothing to change"};
    QTRY_COMPARE_WITH_TIMEOUT(rowsOf(sheet->previewTable()), anHour, 20000);
    QTRY_VERIFY(withText<QLabel>(sheet, "QuickTime.heic: This file has no capture date."));

    // The clock on the photo showed 07:00:00 when the camera said 06:46:52.
    withText<QRadioButton>(sheet, "Take the shift from a photo")->click();
    auto *clockTime = sheet->findChildren<QDateTimeEdit *>().at(1);
    clockTime->setDateTime(QDateTime(QDate(2003, 12, 4), QTime(7, 0, 0)));
    QTRY_VERIFY(withText<QLabel>(sheet, "The dates move by +00:13:08."));
    QTRY_COMPARE_WITH_TIMEOUT(
        rowsOf(sheet->previewTable()).value(0),
        "Canon.jpg|ExifIFD:DateTimeOriginal|2003:12:04 06:46:52|2003:12:04 07:00:00", 20000);

    QPushButton *apply = withText<QPushButton>(sheet, "Adjust Dates");
    QVERIFY(apply && apply->isEnabled());
    apply->click();
    QTRY_VERIFY(!window.view.sheets()->adjustDates());
    QVERIFY(waitUntilIdle(window.library));
    QCOMPARE(valueOf(photo, "ExifIFD:DateTimeOriginal"), "2003:12:04 07:00:00");
    QCOMPARE(valueOf(photo, "IFD0:ModifyDate"), "2003:12:04 06:46:52");
    QVERIFY(window.library.canUndoDates());
}

QTEST_MAIN(AdjustDatesSheetTest)
#include "tst_AdjustDatesSheet.moc"
