// Where thumbnails come from besides Qt's readers: the desktop's shared
// thumbnail cache and its installed thumbnailers, run without a shell.

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/MetadataEngine.h"
#include "MetaloomFeature/Library/ThumbnailLoader.h"
#include "MetaloomFeature/Library/Thumbnails/ThumbnailCache.h"
#include "MetaloomFeature/Library/Thumbnails/ThumbnailerRun.h"
#include "MetaloomFeature/Library/Thumbnails/Thumbnailers.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QMimeDatabase>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>

using namespace Metaloom;

namespace {

void writeFile(const QString &path, const QByteArray &content,
               QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

QString executable(const QString &path, const QByteArray &script)
{
    writeFile(path, "#!/bin/sh\n" + script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QImage filled(QColor colour, QSize size = {200, 100})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture in the cache as another program leaves it.
void putInCache(const QString &folder, const QString &forFile, const QString &uri,
                const QString &mtime, QColor colour)
{
    QImage picture = filled(colour, {128, 64});
    picture.setText(QStringLiteral("Thumb::URI"), uri);
    picture.setText(QStringLiteral("Thumb::MTime"), mtime);
    const QString dir = ThumbnailCache::root() + u'/' + folder;
    QDir().mkpath(dir);
    QVERIFY(picture.save(dir + u'/' + ThumbnailCache::fileName(forFile), "PNG"));
}

// Dead: gone, or a zombie nobody has reaped yet.
bool processIsGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || line.mid(close + 2, 1) == "Z";
}

} // namespace

class ThumbnailSourcesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void cacheNamesFilesByTheirUri();
    void cacheLookUp_data();
    void cacheLookUp();
    void storedPicturesCarryTheStandardChunks();
    void execLinesSplitAsDesktopEntries_data();
    void execLinesSplitAsDesktopEntries();
    void fieldCodesStayWholeArguments();
    void thumbnailersAreFoundByType();
    void thumbnailerRuns_data();
    void thumbnailerRuns();
    void slowThumbnailersAreKilledWithTheirChildren();
    void loaderCachesWhatAThumbnailerMade_data();
    void loaderCachesWhatAThumbnailerMade();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void ThumbnailSourcesTest::cacheNamesFilesByTheirUri()
{
    const QString path = m_env->workPath() + QStringLiteral("/a b#c.jpg");
    const QByteArray uri = "file://" + m_env->workPath().toUtf8() + "/a%20b%23c.jpg";
    QCOMPARE(ThumbnailCache::fileUri(path), uri);
    QCOMPARE(ThumbnailCache::fileName(path),
             QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
                 QStringLiteral(".png"));
    QCOMPARE(ThumbnailCache::root(), m_env->root() + QStringLiteral("/cache/thumbnails"));
}

void ThumbnailSourcesTest::cacheLookUp_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("sameUri");
    QTest::addColumn<int>("mtimeOffset");
    QTest::addColumn<bool>("found");
    QTest::newRow("normal, matching") << "normal" << true << 0 << true;
    QTest::newRow("large, matching") << "large" << true << 0 << true;
    QTest::newRow("xx-large, matching") << "xx-large" << true << 0 << true;
    QTest::newRow("file changed since") << "large" << true << -5 << false;
    QTest::newRow("another file's picture") << "normal" << false << 0 << false;
}

void ThumbnailSourcesTest::cacheLookUp()
{
    QFETCH(QString, folder);
    QFETCH(bool, sameUri);
    QFETCH(int, mtimeOffset);
    QFETCH(bool, found);
    const QString path = m_env->workPath() + QStringLiteral("/clip.mov");
    writeFile(path, "not really a film");
    const qint64 mtime = QFileInfo(path).lastModified().toSecsSinceEpoch() + mtimeOffset;
    const QString uri = sameUri ? QString::fromLatin1(ThumbnailCache::fileUri(path))
                                : QStringLiteral("file:///elsewhere/clip.mov");
    putInCache(folder, path, uri, QString::number(mtime), Qt::magenta);
    const std::optional<QImage> cached = ThumbnailCache::lookUp(path, 120);
    QCOMPARE(cached.has_value(), found);
    if (found)
        QCOMPARE(cached->pixelColor(10, 10), QColor(Qt::magenta));
}

void ThumbnailSourcesTest::storedPicturesCarryTheStandardChunks()
{
    const QString path = m_env->workPath() + QStringLiteral("/clip.mov");
    writeFile(path, "film");
    QVERIFY(ThumbnailCache::store(path, filled(Qt::cyan, {600, 300}), ThumbnailCache::sizes[1]));
    const QString stored =
        ThumbnailCache::root() + QStringLiteral("/large/") + ThumbnailCache::fileName(path);
    const QImage picture(stored, "PNG");
    QCOMPARE(picture.size(), QSize(256, 128));
    QCOMPARE(picture.text(QStringLiteral("Thumb::URI")),
             QString::fromLatin1(ThumbnailCache::fileUri(path)));
    QCOMPARE(picture.text(QStringLiteral("Thumb::MTime")),
             QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch()));
    QCOMPARE(QFileInfo(stored).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
    QCOMPARE(QFileInfo(ThumbnailCache::root()).permissions() & 0x0777,
             QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    // Nothing but the picture is left in the folder (no temporary file).
    QCOMPARE(QDir(QFileInfo(stored).path()).entryList(QDir::Files).size(), 1);
    QVERIFY(ThumbnailCache::lookUp(path, 120).has_value());
}

void ThumbnailSourcesTest::execLinesSplitAsDesktopEntries_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain")
        << "ffmpegthumbnailer -i %i -o %o -s %s -f"
        << QStringList{"ffmpegthumbnailer", "-i", "%i", "-o", "%o", "-s", "%s", "-f"} << true;
    QTest::newRow("blanks repeat")
        << "  tool\t -s  %s  " << QStringList{"tool", "-s", "%s"} << true;
    QTest::newRow("quoted blanks")
        << R"("/opt/my tools/thumb" "%u")" << QStringList{"/opt/my tools/thumb", "%u"} << true;
    QTest::newRow("escapes inside quotes")
        << R"(tool "a \"b\" \$c \\d \`e\`")" << QStringList{"tool", R"(a "b" $c \d `e`)"} << true;
    QTest::newRow("quote inside a word")
        << R"(tool --size="%s px")" << QStringList{"tool", "--size=%s px"} << true;
    QTest::newRow("unclosed quote") << R"(tool "%i)" << QStringList{} << false;
    QTest::newRow("a pipe needs a shell") << "tool %i | convert" << QStringList{} << false;
    QTest::newRow("a variable needs a shell") << "tool $HOME" << QStringList{} << false;
    QTest::newRow("empty") << "   " << QStringList{} << false;
}

void ThumbnailSourcesTest::execLinesSplitAsDesktopEntries()
{
    QFETCH(QString, exec);
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);
    const std::optional<QStringList> split = Thumbnailers::splitExec(exec);
    QCOMPARE(split.has_value(), valid);
    if (valid)
        QCOMPARE(*split, arguments);
}

void ThumbnailSourcesTest::fieldCodesStayWholeArguments()
{
    Thumbnailers::Fields fields;
    fields.input = QStringLiteral("/films/-odd \"name\" 'x'.mov");
    fields.output = QStringLiteral("/tmp/out put.png");
    fields.size = 256;
    fields.uri = QStringLiteral("file:///films/-odd%20%22name%22%20'x'.mov");
    const QStringList filled = Thumbnailers::fillIn(
        *Thumbnailers::splitExec(QStringLiteral("t -s %s %i %o --uri=%u 100%% %f")), fields);
    QCOMPARE(filled,
             (QStringList{QStringLiteral("t"), QStringLiteral("-s"), QStringLiteral("256"),
                          fields.input, fields.output, QStringLiteral("--uri=") + fields.uri,
                          QStringLiteral("100%"), QString()}));
}

void ThumbnailSourcesTest::thumbnailersAreFoundByType()
{
    const QString first = m_env->workPath() + QStringLiteral("/first");
    const QString second = m_env->workPath() + QStringLiteral("/second");
    writeFile(first + QStringLiteral("/text.thumbnailer"),
              "# a comment\n[Other Section]\nExec=wrong\n[Thumbnailer Entry]\nTryExec=sh\n"
              "Exec=sh -c true %i\nMimeType=text/plain;\n");
    // Hidden by the first folder's file of the same name.
    writeFile(second + QStringLiteral("/text.thumbnailer"),
              "[Thumbnailer Entry]\nExec=hidden %i\nMimeType=text/plain;\n");
    writeFile(second + QStringLiteral("/film.thumbnailer"),
              "[Thumbnailer Entry]\nExec=film\\s%i\nMimeType=video/x-matroska;video/mp4;\n");
    writeFile(second + QStringLiteral("/missing.thumbnailer"),
              "[Thumbnailer Entry]\nTryExec=/no/such/program\nExec=x %i\nMimeType=video/mp4;\n");
    writeFile(second + QStringLiteral("/broken.thumbnailer"), "[Thumbnailer Entry]\nExec=x %i\n");

    const QList<Thumbnailers::Thumbnailer> found = Thumbnailers::installed({first, second});
    QStringList names;
    for (const Thumbnailers::Thumbnailer &thumbnailer : found)
        names.append(thumbnailer.name);
    QCOMPARE(names,
             (QStringList{QStringLiteral("text.thumbnailer"), QStringLiteral("film.thumbnailer")}));
    QCOMPARE(found[0].exec, QStringLiteral("sh -c true %i"));
    QCOMPARE(found[1].exec, QStringLiteral("film %i"));

    const QMimeDatabase types;
    QCOMPARE(Thumbnailers::forType(found, types.mimeTypeForName(QStringLiteral("video/mp4")))->name,
             QStringLiteral("film.thumbnailer"));
    // C source is a kind of plain text.
    QCOMPARE(
        Thumbnailers::forType(found, types.mimeTypeForName(QStringLiteral("text/x-csrc")))->name,
        QStringLiteral("text.thumbnailer"));
    QVERIFY(!Thumbnailers::forType(found, types.mimeTypeForName(QStringLiteral("image/png"))));

    QCOMPARE(Thumbnailers::folders(),
             (QStringList{m_env->dataPath() + QStringLiteral("/thumbnailers"),
                          m_env->sharedDataPath() + QStringLiteral("/thumbnailers")}));
}

void ThumbnailSourcesTest::thumbnailerRuns_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("pictureExpected");
    // $1 the size, $2 the input, $3 the output, $4 the URI.
    QTest::newRow("good") << QByteArray("printf '%s\\n' \"$@\" > \"$(dirname \"$2\")/arguments\"\n"
                                        "cp \"$(dirname \"$2\")/picture.png\" \"$3\"\n")
                          << true;
    QTest::newRow("fails after writing")
        << QByteArray("cp \"$(dirname \"$2\")/picture.png\" \"$3\"; exit 3\n") << false;
    QTest::newRow("writes garbage") << QByteArray("echo 'no picture' > \"$3\"\n") << false;
    QTest::newRow("writes nothing") << QByteArray("exit 0\n") << false;
    QTest::newRow("crashes") << QByteArray("kill -SEGV $$\n") << false;
}

void ThumbnailSourcesTest::thumbnailerRuns()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, pictureExpected);
    QVERIFY(filled(Qt::yellow).save(m_env->workPath() + QStringLiteral("/picture.png")));
    const QString input = m_env->workPath() + QStringLiteral("/-odd \"name\" 'x'.mov");
    writeFile(input, "film");
    Thumbnailers::Thumbnailer thumbnailer;
    thumbnailer.exec = QStringLiteral("\"%1\" %s %i %o %u")
                           .arg(executable(m_env->workPath() + QStringLiteral("/thumb"), script));
    const auto outcome =
        Testing::runTask(ThumbnailerRun::make(thumbnailer, input, 256, std::chrono::seconds(20)));
    QVERIFY(outcome.succeeded());
    const std::optional<QImage> picture = *outcome.value;
    QCOMPARE(picture.has_value(), pictureExpected);
    if (!pictureExpected)
        return;
    QCOMPARE(picture->pixelColor(5, 5), QColor(Qt::yellow));
    QFile arguments(m_env->workPath() + QStringLiteral("/arguments"));
    QVERIFY(arguments.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(arguments.readAll()).split(u'\n');
    QCOMPARE(lines.mid(0, 2), (QStringList{QStringLiteral("256"), input}));
    QVERIFY(lines[2].endsWith(QStringLiteral("/thumbnail.png")));
    QCOMPARE(lines[3], QString::fromLatin1(ThumbnailCache::fileUri(input)));
    // The output folder is the run's own and gone afterwards.
    QVERIFY(!QFileInfo::exists(lines[2]));
}

void ThumbnailSourcesTest::slowThumbnailersAreKilledWithTheirChildren()
{
    const QString pidFile = m_env->workPath() + QStringLiteral("/child");
    Thumbnailers::Thumbnailer thumbnailer;
    thumbnailer.exec =
        QStringLiteral("\"%1\" %i")
            .arg(executable(m_env->workPath() + QStringLiteral("/slow"),
                            "sleep 60 &\necho $! > \"" + pidFile.toUtf8() + "\"\nwait\n"));
    const QString input = m_env->workPath() + QStringLiteral("/clip.mov");
    writeFile(input, "film");
    const auto outcome = Testing::runTask(
        ThumbnailerRun::make(thumbnailer, input, 128, std::chrono::milliseconds(500)));
    QVERIFY(outcome.succeeded());
    QVERIFY(!*outcome.value);
    QFile pid(pidFile);
    QVERIFY(pid.open(QIODevice::ReadOnly));
    const qint64 child = pid.readAll().trimmed().toLongLong();
    QVERIFY(child > 0);
    QTRY_VERIFY_WITH_TIMEOUT(processIsGone(child), 10000);
}

void ThumbnailSourcesTest::loaderCachesWhatAThumbnailerMade_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("pictureExpected");
    QTest::newRow("good") << QByteArray("cp \"$PICTURE\" \"$2\"\n") << true;
    QTest::newRow("garbage") << QByteArray("echo garbage > \"$2\"\n") << false;
    QTest::newRow("failing") << QByteArray("exit 1\n") << false;
}

void ThumbnailSourcesTest::loaderCachesWhatAThumbnailerMade()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, pictureExpected);
    const QString picturePath = m_env->workPath() + QStringLiteral("/picture.png");
    QVERIFY(filled(Qt::yellow, {256, 128}).save(picturePath));
    qputenv("PICTURE", picturePath.toLocal8Bit());
    const QString command =
        executable(m_env->workPath() + QStringLiteral("/film-thumbnailer"), script);
    writeFile(m_env->dataPath() + QStringLiteral("/thumbnailers/film.thumbnailer"),
              "[Thumbnailer Entry]\nTryExec=" + command.toUtf8() + "\nExec=" + command.toUtf8() +
                  " %i %o\nMimeType=video/quicktime;\n");
    const QString film = m_env->workPath() + QStringLiteral("/clip.mov");
    writeFile(film, "moov, but not a film any decoder reads");
    QCOMPARE(QMimeDatabase().mimeTypeForFile(film).name(), QStringLiteral("video/quicktime"));

    ExifToolService engine(Testing::realBundle());
    ThumbnailLoader loader(MetadataEngine::over(&engine), 120, 1.0);
    QSignalSpy ready(&loader, &ThumbnailLoader::thumbnailReady);
    loader.request(QUuid::createUuid(), QUrl::fromLocalFile(film));
    QTRY_COMPARE_WITH_TIMEOUT(loader.pendingCount(), 0, 30000);
    qunsetenv("PICTURE");
    QCOMPARE(ready.count(), pictureExpected ? 1 : 0);
    const QString cached =
        ThumbnailCache::root() + QStringLiteral("/large/") + ThumbnailCache::fileName(film);
    QCOMPARE(QFileInfo::exists(cached), pictureExpected);
    if (!pictureExpected) {
        QVERIFY(QDir(ThumbnailCache::root()).entryList(QDir::Files).isEmpty());
        return;
    }
    const QImage thumb = ready.first().at(1).value<QImage>();
    QCOMPARE(thumb.size(), QSize(240, 120)); // the whole picture, its shorter side at the edge
    QCOMPARE(thumb.pixelColor(5, 5), QColor(Qt::yellow));
    QVERIFY(ThumbnailCache::isValidFor(QImage(cached, "PNG"), film));

    // The next look comes from the cache: a thumbnailer that now fails is not asked.
    executable(command, "exit 1\n");
    ThumbnailLoader again(MetadataEngine::over(&engine), 120, 1.0);
    QSignalSpy readyAgain(&again, &ThumbnailLoader::thumbnailReady);
    again.request(QUuid::createUuid(), QUrl::fromLocalFile(film));
    QVERIFY(readyAgain.wait(30000));
    QCOMPARE(readyAgain.first().at(1).value<QImage>().pixelColor(5, 5), QColor(Qt::yellow));
}

QTEST_MAIN(ThumbnailSourcesTest)
#include "tst_ThumbnailSources.moc"
