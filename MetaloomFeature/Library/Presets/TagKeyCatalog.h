#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Metaloom {

// The tag keys a picker offers, grouped by family: the text before the
// first ":" ("XMP-dc" of "XMP-dc:Title"), or "Misc" for a key without one.
// Keys are in plain string order within a family, families in the user's
// alphabetical order. The grouping is made on first use, not before, since
// ExifTool knows tens of thousands of keys and most pickers are never opened.
// Main thread only.
class TagKeyCatalog {
public:
    struct Family {
        QString name;
        QStringList keys;

        bool operator==(const Family &) const = default;
    };

    explicit TagKeyCatalog(QStringList keys = {}) : m_keys(std::move(keys)) {}

    const QStringList &keys() const { return m_keys; }
    bool isEmpty() const { return m_keys.isEmpty(); }

    const QList<Family> &families() const;

    // The keys containing the text (case-insensitively), at most `limit` of
    // them: first those whose key or tag name starts with it, then the
    // others, each part in family order; `total` receives how many match in
    // all. Answers a keystroke over tens of thousands of keys in a few
    // milliseconds: the keys are folded to lower case once, on first use.
    QStringList matching(const QString &text, qsizetype limit, qsizetype *total = nullptr) const;

    static QList<Family> group(const QStringList &keys);

private:
    // Every key in family order beside its folded text and where its tag
    // name starts in it.
    struct Searchable {
        QString key;
        QString folded;
        qsizetype nameStart = 0;
    };
    const std::vector<Searchable> &searchable() const;

    QStringList m_keys;
    mutable std::optional<QList<Family>> m_families;
    mutable std::optional<std::vector<Searchable>> m_searchable;
};

} // namespace Metaloom
