#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace Metaloom {

// Asks the user where to save a file, without blocking the window. The
// library only knows this interface; the window supplies the dialog, and
// tests answer it themselves.
class SavePanel {
public:
    struct Options {
        // Proposed in the name field, extension included ("photo.json").
        QString suggestedFileName;
        // The only kind of file offered ("json"), without the dot.
        QString fileExtension;
        // How that kind is named to the user ("JSON").
        QString typeName;

        bool operator==(const Options &) const = default;
    };

    // Called at most once: with the chosen file, or with nothing when the
    // user cancelled. When the panel goes away with its window it may never
    // be called.
    using Completion = std::function<void(std::optional<QUrl> chosenFile)>;

    virtual ~SavePanel() = default;

    // Shows the panel and returns at once.
    virtual void show(const Options &options, Completion completion) = 0;
};

} // namespace Metaloom
