#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <memory>
#include <optional>

class QSettings;

namespace Metaloom {

// The user's preferences: a typed key/value store over QSettings. Values are
// data (QByteArray), arrays (lists of strings, numbers or booleans) and
// dictionaries (QVariantMap); every getter answers nothing when the key is
// absent or holds a value of another type, so callers can treat both alike.
//
// Every setter replaces the whole value and writes the file at once; it says
// whether the value reached the disk. Each call opens the settings afresh
// (QSettings shares the parsed file between objects, so this is cheap): a
// write failure is judged on its own, and changes made by another process
// are seen.
class Preferences {
public:
    // The user's own preferences (organization "Quillforge", application
    // "Metaloom", native format). The file is located on each call, so a
    // process that redirects the settings path (the tests do) gets its own.
    static Preferences standard();

    // Preferences kept in an explicit INI file (a copy of the standard file,
    // for instance, or a file in a test's temporary folder).
    static Preferences atPath(const QString &filePath);

    QString fileName() const;
    bool contains(const QString &key) const;

    std::optional<QByteArray> data(const QString &key) const;
    std::optional<QString> string(const QString &key) const;
    std::optional<QVariantList> array(const QString &key) const;
    // An array whose every element is a string; nothing when any element is not.
    std::optional<QStringList> stringArray(const QString &key) const;
    std::optional<QVariantMap> dictionary(const QString &key) const;
    // A flag; the INI file keeps it as the text "true" or "false".
    std::optional<bool> boolean(const QString &key) const;

    bool setData(const QString &key, const QByteArray &value);
    bool setString(const QString &key, const QString &value);
    bool setArray(const QString &key, const QVariantList &value);
    bool setStringArray(const QString &key, const QStringList &value);
    bool setDictionary(const QString &key, const QVariantMap &value);
    bool setBoolean(const QString &key, bool value);
    bool remove(const QString &key);
    // Copies the value stored under `from` to `to` exactly as it is stored,
    // whatever its type (false when there is none or the write fails).
    bool copyValue(const QString &from, const QString &to);

private:
    explicit Preferences(QString filePath);
    std::unique_ptr<QSettings> open() const;
    QVariant read(const QString &key) const;
    bool write(const QString &key, const QVariant &value);

    // Empty for the standard preferences.
    QString m_filePath;
};

} // namespace Metaloom
