#pragma once

#include <QString>
#include <memory>

// Standard output and standard error as the run sees them, so the texts can
// be checked without a process and a terminal can be told from a pipe.
namespace Metaloom::Cli {

class Console {
public:
    virtual ~Console() = default;

    // UTF-8, each call flushed. Both wipe the progress line first, so it
    // never sits in the middle of other text.
    void output(const QString &text);
    void error(const QString &text);

    // Shows the line on standard error when that is a terminal, rewritten
    // in place; nothing when it is not.
    void progress(const QString &line);
    void wipeProgress();

    // Whether standard error is a terminal.
    virtual bool errorIsTerminal() const = 0;
    // The terminal's width in columns; 0 when unknown.
    virtual int errorColumns() const = 0;

protected:
    virtual void writeOutput(const QString &text) = 0;
    virtual void writeError(const QString &text) = 0;

private:
    bool m_progressShown = false;
};

// The process's own streams.
std::unique_ptr<Console> standardConsole();

// A text fit for one line of a terminal: line breaks, tabs, escape
// sequences and every other control character shown as escapes ("\n",
// "\x1b"; a backslash as "\\"), so a file name can neither break a report
// line nor drive the terminal.
QString printable(const QString &text);

} // namespace Metaloom::Cli
