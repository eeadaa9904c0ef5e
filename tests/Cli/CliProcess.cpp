#include "CliProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <sys/stat.h>

namespace Metaloom::Testing {

ProcessRun runProcess(const QString &program, const QStringList &arguments,
                      const QString &workingDirectory, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    ProcessRun run;
    run.ended = process.waitForFinished(240000) && process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.error = process.readAllStandardError();
    return run;
}

QJsonValue readByPython(const QString &format, const QByteArray &text, const QString &folder)
{
    static const char *script = R"PY(
import json, sys
fmt, path = sys.argv[1:3]
text = open(path, 'rb').read().decode('utf-8')
try:
    if fmt == 'json':
        got = json.loads(text)
    elif fmt == 'yaml':
        import yaml
        got = list(yaml.safe_load_all(text))
    else:
        import tomllib
        got = tomllib.loads(text)
except Exception as error:
    got = 'rejected: ' + repr(error)
print(json.dumps({'read': got}))
)PY";
    const QString path = QDir(folder).filePath(QStringLiteral("parsed.") + format);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return QStringLiteral("rejected: the text could not be written");
    file.close();
    const ProcessRun run =
        runProcess(QStringLiteral("python3"),
                   {QStringLiteral("-c"), QString::fromUtf8(script), format, path}, folder);
    if (!run.ended || run.exitCode != 0)
        return QStringLiteral("rejected: python3 failed: ") + QString::fromUtf8(run.error);
    return QJsonDocument::fromJson(run.output).object().value(QStringLiteral("read"));
}

QString withoutAccessDate(const QString &text)
{
    QStringList lines = text.split(u'\n');
    lines.removeIf(
        [](const QString &line) { return line.contains(QStringLiteral("System:FileAccessDate")); });
    return lines.join(u'\n');
}

FileState stateOf(const QString &path)
{
    FileState state;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        state.bytes = file.readAll();
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0) {
        state.inode = info.st_ino;
        state.modified = qlonglong(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        state.changed = qlonglong(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
        state.mode = info.st_mode;
    }
    return state;
}

} // namespace Metaloom::Testing
