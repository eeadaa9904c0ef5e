#include "LocalizedText.h"

#include <QCollator>

namespace Metaloom::LocalizedText {

static QCollator &collator()
{
    // QCollator is not safe to share between threads; each thread that sorts
    // (the main thread and the tag-listing parser) gets its own.
    thread_local QCollator instance = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        return c;
    }();
    return instance;
}

int compare(const QString &a, const QString &b)
{
    return collator().compare(a, b);
}

bool contains(const QString &haystack, const QString &needle)
{
    return haystack.contains(needle, Qt::CaseInsensitive);
}

} // namespace Metaloom::LocalizedText
