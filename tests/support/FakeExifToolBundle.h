#pragma once

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace Metaloom::Testing {

// A resource bundle whose "exiftool" is a small shell script written by the
// test: it records its arguments and environment, then does what the test
// says (print, fail, sleep). Used to provoke the failures a real ExifTool
// will not produce on demand. It answers like ExifTool both when started for
// one command and when kept running ("-stay_open"), where the body runs in a
// subshell: "$$" there is the kept process, so "kill -KILL $$" ends it in
// the middle of a command.
class FakeExifToolBundle {
public:
    // Creates <folder>/MetaloomFeature_MetaloomFeature.bundle/ExifTool with
    // an empty lib/perl5 and a script that runs `body` with /bin/sh.
    explicit FakeExifToolBundle(const QString &folder, const QString &body = QString());

    ResourceBundle bundle() const;
    QString exifToolFolder() const;
    QString scriptPath() const;

    // Replaces what the script does after recording its call.
    void setBody(const QString &body);
    void removeScript();
    void removeLibrary();
    void addArchitectureDirectory();
    void setExecutable(bool executable);

    // What the last run received; empty when the script never ran.
    QStringList lastArguments() const;
    // What the last run that wrote a file ("-o") received.
    QStringList lastWriteArguments() const;
    QMap<QString, QString> lastEnvironment() const;
    QMap<QString, QString> lastWriteEnvironment() const;
    // Commands run, whether started alone or sent to a kept process.
    int runCount() const;
    // Every process started to be kept running, in order.
    QList<qint64> residentProcessIds() const;

private:
    QString m_folder;
};

// Whether the process is running (and not merely waiting to be reaped).
bool isProcessRunning(qint64 pid);

// The real ExifTool bundle assembled by the build.
ResourceBundle realBundle();

// Runs the real bundled ExifTool synchronously (test set-up and checks only)
// and returns its standard output; fails the test through qFatal when it
// cannot start.
QByteArray runRealExifTool(const QStringList &arguments, int *exitCode = nullptr);

} // namespace Metaloom::Testing

namespace Metaloom::Testing::FakeScripts {

// A body that behaves like a successful "-o" write: copies the target (the
// last argument) to the output path (after "-o") and reports one file. Asked
// to read (no "-o"), it prints one JSON array per command (the parts
// between "-execute"), with one object per file it names: the last write's
// output holds each tag asked that the write set to a value, with that
// value when it is plain text ("v" otherwise); other files hold nothing.
inline QString successfulWrite()
{
    return QStringLiteral(
        "out=''; prev=''; last=''; state=\"$(dirname \"$0\")/set-tags.txt\"\n"
        "written=\"$(dirname \"$0\")/output.txt\"\n"
        "for a in \"$@\"; do if [ \"$prev\" = '-o' ]; then out=\"$a\"; fi; prev=\"$a\"; "
        "last=\"$a\"; done\n"
        "if [ -n \"$out\" ]; then\n"
        "  for a in \"$@\"; do case \"$a\" in -*=?*) printf '%s\\n' \"$a\";; esac; "
        "done > \"$state\"\n"
        "  printf '%s' \"$out\" > \"$written\"\n"
        "  cp \"$last\" \"$out\" && printf '    1 image files created\\n'\n"
        "else\n"
        "  output=$(cat \"$written\" 2>/dev/null)\n"
        "  answer() {\n"
        "    printf '['; first=1\n"
        "    for f in \"$@\"; do case \"$f\" in -*) continue;; esac\n"
        "      [ $first = 1 ] || printf ','; first=0\n"
        "      printf '{\"SourceFile\":\"f\"'\n"
        "      if [ \"$f\" = \"$output\" ]; then for t in \"$@\"; do case \"$t\" in\n"
        "        -json|-a|-G*|-all|-ExifTool:Warning) ;;\n"
        "        -*) line=$(grep -m1 -e \"^$t=\" \"$state\" 2>/dev/null) && { v=${line#*=}; "
        "case \"$v\" in *'\"'*|*'\\'*) v=v;; esac; printf ',\"%s\":\"%s\"' \"${t#-}\" \"$v\"; };;\n"
        "      esac; done; fi\n"
        "      printf '}'\n"
        "    done\n"
        "    printf ']\\n'\n"
        "  }\n"
        "  files=''\n"
        "  for a in \"$@\"; do case \"$a\" in -*) ;; *) files=\"$files '$a'\";; esac; done\n"
        "  section=''\n"
        "  for a in \"$@\" -execute; do case \"$a\" in\n"
        "    -execute|-common_args) eval \"answer $section $files\"; section=''; "
        "[ \"$a\" = -common_args ] && break;;\n"
        "    -*) section=\"$section '$a'\";;\n"
        "  esac; done\n"
        "  true\n"
        "fi");
}

// Fails every write with ExifTool's minor error unless told to ignore
// minor errors ("-m"); otherwise behaves like successfulWrite().
inline QString minorErrorUnlessIgnored()
{
    return QStringLiteral("last=''; minor=1; writes=0\n"
                          "for a in \"$@\"; do last=\"$a\"; [ \"$a\" = -m ] && minor=0; "
                          "[ \"$a\" = -o ] && writes=1; done\n"
                          "if [ $writes = 1 ] && [ $minor = 1 ]; then\n"
                          "  echo \"Error: [minor] Will wrap JXL codestream in ISO BMFF container "
                          "for writing - $last\" >&2\n"
                          "  echo '    0 image files updated' ; exit 1\n"
                          "fi\n") +
           successfulWrite();
}

} // namespace Metaloom::Testing::FakeScripts
