#include "MetaloomFeature/Updates/UpdateCheckOutcome.h"
#include "MetaloomFeature/Views/Settings/UpdateResultDialog.h"
#include "tests/support/OpenedUrls.h"

#include <QAbstractButton>
#include <QtTest>

using namespace Metaloom;

class UpdateResultDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void downloadButtonOpensTheReleasePage();
};

void UpdateResultDialogTest::downloadButtonOpensTheReleasePage()
{
    UpdateCheckOutcome outcome;
    outcome.kind = UpdateCheckOutcome::Kind::UpdateAvailable;
    outcome.currentVersion = QStringLiteral("1.9 (19)");
    outcome.update =
        Appcast::Item{QStringLiteral("Metaloom 2.0"), QStringLiteral("20"), QStringLiteral("2.0"),
                      QUrl("https://quillforge.app/metaloom/download")};
    UpdateResultDialog dialog(outcome);
    QVERIFY(dialog.informativeText().contains(QStringLiteral("2.0")));
    QVERIFY(dialog.informativeText().contains(QStringLiteral("1.9 (19)")));
    Testing::OpenedUrls opened;
    dialog.downloadButton()->click();
    QCOMPARE(opened.urls, QList<QUrl>{QUrl("https://quillforge.app/metaloom/download")});

    outcome.kind = UpdateCheckOutcome::Kind::UpToDate;
    UpdateResultDialog upToDate(outcome);
    QCOMPARE(upToDate.downloadButton(), nullptr);
}

QTEST_MAIN(UpdateResultDialogTest)
#include "tst_UpdateResultDialog.moc"
