#include "ExternalParsers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace Metaloom::Testing {

namespace {

const char *const checkScript = R"PY(
import json, sys
fmt, manifest_path = sys.argv[1:3]
with open(manifest_path, 'rb') as f:
    cases = json.loads(f.read().decode('utf-8'))
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
for case in cases:
    with open(case['path'], 'rb') as f:
        text = f.read().decode('utf-8')
    for name, read in readers:
        try:
            got = read(text)
        except Exception as error:
            print(case['name'] + ':', name, 'rejected the text:', ascii(error))
            sys.exit(1)
        if got != case['expected']:
            print(case['name'] + ':', name, 'read', ascii(got), 'instead of',
                  ascii(case['expected']))
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

QString parserMismatch(const QString &format, const QList<ParserCase> &cases,
                       const QString &workFolder)
{
    const QDir folder(workFolder);
    QJsonArray manifest;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const QString textPath = folder.filePath(QStringLiteral("export%1.").arg(i) + format);
        if (!writeFile(textPath, cases.at(i).text.toUtf8()))
            return QStringLiteral("cannot write the files for the parser");
        manifest.append(QJsonObject{{QStringLiteral("name"), cases.at(i).name},
                                    {QStringLiteral("path"), textPath},
                                    {QStringLiteral("expected"), cases.at(i).expected}});
    }
    const QString manifestPath = folder.filePath(QStringLiteral("cases.json"));
    if (!writeFile(manifestPath, QJsonDocument(manifest).toJson()))
        return QStringLiteral("cannot write the files for the parser");

    QProcess python;
    python.setProcessChannelMode(QProcess::MergedChannels);
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(checkScript), format, manifestPath});
    if (!python.waitForFinished(60000))
        return QStringLiteral("python3 did not run: ") + python.errorString();
    const QString output = QString::fromUtf8(python.readAll()).trimmed();
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0 ||
        output != QStringLiteral("OK"))
        return output.isEmpty() ? QStringLiteral("python3 failed") : output;
    return QString();
}

} // namespace Metaloom::Testing
