#include "ExternalParsers.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>

namespace Metaloom::Testing {

namespace {

const char *const checkScript = R"PY(
import json, sys
fmt, text_path, expected_path = sys.argv[1:4]
with open(text_path, 'rb') as f:
    text = f.read().decode('utf-8')
with open(expected_path, 'rb') as f:
    expected = json.loads(f.read().decode('utf-8'))
readers = []
if fmt == 'json':
    readers.append(('json', json.loads))
elif fmt == 'yaml':
    import yaml
    readers.append(('PyYAML', lambda t: yaml.load(t, Loader=yaml.SafeLoader)))
    if hasattr(yaml, 'CSafeLoader'):
        readers.append(('libyaml', lambda t: yaml.load(t, Loader=yaml.CSafeLoader)))
elif fmt == 'toml':
    import tomllib
    readers.append(('tomllib', tomllib.loads))
else:
    sys.exit('unknown format ' + fmt)
for name, read in readers:
    try:
        got = read(text)
    except Exception as error:
        print(name, 'rejected the text:', ascii(error))
        sys.exit(1)
    if got != expected:
        print(name, 'read', ascii(got), 'instead of', ascii(expected))
        sys.exit(1)
print('OK')
)PY";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

QString parserMismatch(const QString &format, const QString &text, const QJsonObject &expected,
                       const QString &workFolder)
{
    const QDir folder(workFolder);
    const QString textPath = folder.filePath(QStringLiteral("export.") + format);
    const QString expectedPath = folder.filePath(QStringLiteral("expected.json"));
    if (!writeFile(textPath, text.toUtf8()) ||
        !writeFile(expectedPath, QJsonDocument(expected).toJson()))
        return QStringLiteral("cannot write the files for the parser");

    QProcess python;
    python.setProcessChannelMode(QProcess::MergedChannels);
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(checkScript),
                                             format, textPath, expectedPath});
    if (!python.waitForFinished(60000))
        return QStringLiteral("python3 did not run: ") + python.errorString();
    const QString output = QString::fromUtf8(python.readAll()).trimmed();
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0 ||
        output != QStringLiteral("OK"))
        return output.isEmpty() ? QStringLiteral("python3 failed") : output;
    return QString();
}

} // namespace Metaloom::Testing
