#include "FakeExifToolBundle.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace Metaloom::Testing {

FakeExifToolBundle::FakeExifToolBundle(const QString &folder, const QString &body)
    : m_folder(QDir(folder).filePath(QStringLiteral(METALOOM_TEST_BUNDLE_NAME)))
{
    QDir().mkpath(exifToolFolder() + QStringLiteral("/lib/perl5"));
    setBody(body);
}

ResourceBundle FakeExifToolBundle::bundle() const
{
    return ResourceBundle(m_folder);
}

QString FakeExifToolBundle::exifToolFolder() const
{
    return m_folder + QStringLiteral("/ExifTool");
}

QString FakeExifToolBundle::scriptPath() const
{
    return exifToolFolder() + QStringLiteral("/exiftool");
}

void FakeExifToolBundle::setBody(const QString &body)
{
    const QString record = exifToolFolder();
    QFile script(scriptPath());
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the fake exiftool script");
    // One command: record it, then run the body. Started with ExifTool's
    // "-stay_open True -@ -", the script reads commands from standard input
    // as ExifTool does ("#[CSTR]" lines decoded, "-echo4" text printed on
    // standard error with the command's status, "{ready<N>}" after each
    // "-execute<N>") and runs each in a subshell of its own process.
    const QString text =
        QStringLiteral("#!/bin/sh\n"
                       "run_command() {\n"
                       "printf '%s\\0' \"$@\" > '%1/args.bin'\n"
                       "env -0 > '%1/env.bin'\n"
                       "echo run >> '%1/runs.txt'\n"
                       "for a in \"$@\"; do if [ \"$a\" = -o ]; then "
                       "printf '%s\\0' \"$@\" > '%1/write-args.bin'; env -0 > '%1/write-env.bin'; "
                       "fi; done\n")
            .arg(record) +
        body +
        QStringLiteral("\n}\n"
                       "if [ \"$*\" = '-stay_open True -@ -' ]; then\n"
                       "  echo $$ >> '%1/servers.txt'\n"
                       "  set --\n"
                       "  while IFS= read -r line; do\n"
                       "    case $line in\n"
                       "    '#[CSTR]'*) line=$(printf '%bx' \"${line#'#[CSTR]'}\"); "
                       "line=${line%x} ;;\n"
                       "    esac\n"
                       "    case $line in\n"
                       "    -execute*)\n"
                       "      echo4=''\n"
                       "      if [ \"$1\" = -echo4 ]; then echo4=$2; shift 2; fi\n"
                       "      ( run_command \"$@\" ) < /dev/null\n"
                       "      status=$?\n"
                       "      [ -n \"$echo4\" ] && printf '%s\\n' "
                       "\"${echo4%%'${status}'*}$status${echo4#*'${status}'}\" >&2\n"
                       "      printf '{ready%s}\\n' \"${line#-execute}\"\n"
                       "      set -- ;;\n"
                       "    *) set -- \"$@\" \"$line\" ;;\n"
                       "    esac\n"
                       "  done\n"
                       "  exit 0\n"
                       "fi\n"
                       "run_command \"$@\"\n")
            .arg(record);
    script.write(text.toUtf8());
    script.close();
    setExecutable(true);
}

void FakeExifToolBundle::removeScript()
{
    QFile::remove(scriptPath());
}

void FakeExifToolBundle::removeLibrary()
{
    QDir(exifToolFolder() + QStringLiteral("/lib")).removeRecursively();
}

void FakeExifToolBundle::addArchitectureDirectory()
{
    QDir().mkpath(exifToolFolder() + QStringLiteral("/lib/perl5/") +
                  QStringLiteral(METALOOM_TEST_PERL_ARCHNAME));
}

void FakeExifToolBundle::setExecutable(bool executable)
{
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (executable)
        permissions |= QFileDevice::ExeOwner;
    QFile::setPermissions(scriptPath(), permissions);
}

static QList<QByteArray> readNulSeparated(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> parts = file.readAll().split('\0');
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    return parts;
}

static QStringList argumentsIn(const QString &path)
{
    QStringList arguments;
    for (const QByteArray &part : readNulSeparated(path))
        arguments << QString::fromUtf8(part);
    return arguments;
}

QStringList FakeExifToolBundle::lastArguments() const
{
    return argumentsIn(exifToolFolder() + QStringLiteral("/args.bin"));
}

QStringList FakeExifToolBundle::lastWriteArguments() const
{
    return argumentsIn(exifToolFolder() + QStringLiteral("/write-args.bin"));
}

static QMap<QString, QString> environmentIn(const QString &path)
{
    QMap<QString, QString> environment;
    for (const QByteArray &part : readNulSeparated(path)) {
        const qsizetype equals = part.indexOf('=');
        if (equals > 0)
            environment.insert(QString::fromUtf8(part.left(equals)),
                               QString::fromUtf8(part.mid(equals + 1)));
    }
    return environment;
}

QMap<QString, QString> FakeExifToolBundle::lastEnvironment() const
{
    return environmentIn(exifToolFolder() + QStringLiteral("/env.bin"));
}

QMap<QString, QString> FakeExifToolBundle::lastWriteEnvironment() const
{
    return environmentIn(exifToolFolder() + QStringLiteral("/write-env.bin"));
}

QList<qint64> FakeExifToolBundle::residentProcessIds() const
{
    QFile file(exifToolFolder() + QStringLiteral("/servers.txt"));
    QList<qint64> ids;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                ids << line.toLongLong();
        }
    }
    return ids;
}

int FakeExifToolBundle::runCount() const
{
    QFile file(exifToolFolder() + QStringLiteral("/runs.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return int(file.readAll().count('\n'));
}

bool isProcessRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2;
    return state < line.size() && line.at(state) != 'Z' && line.at(state) != 'X';
}

ResourceBundle realBundle()
{
    return ResourceBundle(QStringLiteral(METALOOM_TEST_BUNDLE_DIR));
}

QByteArray runRealExifTool(const QStringList &arguments, int *exitCode)
{
    const QString folder = QStringLiteral(METALOOM_TEST_BUNDLE_DIR) + QStringLiteral("/ExifTool");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PERL5LIB"), folder + QStringLiteral("/lib/perl5"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(folder + QStringLiteral("/exiftool"), arguments);
    if (!process.waitForStarted(30000))
        qFatal("the bundled exiftool did not start");
    process.waitForFinished(120000);
    if (exitCode)
        *exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

} // namespace Metaloom::Testing
