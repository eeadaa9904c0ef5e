#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

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

    // The keys containing the text (case-insensitively), in family order,
    // at most `limit` of them; `total` receives how many match in all.
    QStringList matching(const QString &text, qsizetype limit, qsizetype *total = nullptr) const;

    static QList<Family> group(const QStringList &keys);

private:
    QStringList m_keys;
    mutable std::optional<QList<Family>> m_families;
};

} // namespace Metaloom
