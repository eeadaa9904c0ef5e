#include "Console.h"

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace Metaloom::Cli {

namespace {

class StandardConsole : public Console {
public:
    bool errorIsTerminal() const override { return ::isatty(STDERR_FILENO) == 1; }
    int errorColumns() const override
    {
        winsize size{};
        if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0)
            return 0;
        return size.ws_col;
    }

protected:
    void writeOutput(const QString &text) override { write(stdout, text); }
    void writeError(const QString &text) override { write(stderr, text); }

private:
    static void write(std::FILE *stream, const QString &text)
    {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
        std::fflush(stream);
    }
};

// Back to the start of the line, and the line cleared.
const QString wipeSequence = QStringLiteral("\r\x1b[K");

} // namespace

void Console::output(const QString &text)
{
    wipeProgress();
    writeOutput(text);
}

void Console::error(const QString &text)
{
    wipeProgress();
    writeError(text);
}

void Console::progress(const QString &line)
{
    if (!errorIsTerminal())
        return;
    writeError(wipeSequence + line);
    m_progressShown = true;
}

void Console::wipeProgress()
{
    if (!m_progressShown)
        return;
    m_progressShown = false;
    writeError(wipeSequence);
}

std::unique_ptr<Console> standardConsole()
{
    return std::make_unique<StandardConsole>();
}

QString printable(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        switch (code) {
        case u'\n':
            shown += QStringLiteral("\\n");
            continue;
        case u'\r':
            shown += QStringLiteral("\\r");
            continue;
        case u'\t':
            shown += QStringLiteral("\\t");
            continue;
        case u'\\':
            shown += QStringLiteral("\\\\");
            continue;
        default:
            break;
        }
        // C0, DEL and C1 controls; C1 includes the single-byte CSI.
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            shown += QStringLiteral("\\x") + QString::number(code, 16).rightJustified(2, u'0');
        else
            shown += c;
    }
    return shown;
}

} // namespace Metaloom::Cli
