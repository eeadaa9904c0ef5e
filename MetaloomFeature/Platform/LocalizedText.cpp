#include "LocalizedText.h"

#include <QCollator>

namespace Metaloom::LocalizedText {

namespace {

// Under the C/POSIX locale (a bare system, or a test run) Qt's collator
// compares code points and its sort keys ignore the case setting, so plain
// case folding stands in for it there.
bool isPlainLocale()
{
    return QLocale().language() == QLocale::C;
}

QCollator &collator()
{
    // QCollator is not safe to share between threads; each thread that sorts
    // (the main thread and worker threads) gets its own.
    thread_local QCollator instance = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        return c;
    }();
    return instance;
}

} // namespace

int compare(const QString &a, const QString &b)
{
    if (isPlainLocale())
        return QString::compare(a, b, Qt::CaseInsensitive);
    return collator().compare(a, b);
}

bool contains(const QString &haystack, const QString &needle)
{
    return haystack.contains(needle, Qt::CaseInsensitive);
}

SortKey::SortKey(const QString &text)
{
    if (isPlainLocale())
        m_folded = text.toCaseFolded();
    else
        m_collated = collator().sortKey(text);
}

int SortKey::compare(const SortKey &other) const
{
    if (m_collated && other.m_collated)
        return m_collated->compare(*other.m_collated);
    return QString::compare(m_folded, other.m_folded);
}

} // namespace Metaloom::LocalizedText
