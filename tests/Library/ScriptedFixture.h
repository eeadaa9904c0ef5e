#pragma once

#include "ScriptedEngine.h"

#include "MetaloomFeature/Platform/Error.h"

#include "tests/support/TestEnvironment.h"

#include <memory>

namespace Metaloom::Testing {

// What each case over a scripted engine starts from: its own preferences and
// folders, and an engine that knows no files yet. Made in init(), dropped in
// cleanup(); members go in reverse order, so the engine before the folders.
struct ScriptedFixture {
    TestEnvironment env;
    std::shared_ptr<ScriptedEngine> engine = ScriptedEngine::make();
};

// What a change answer throws for a file the disk refused.
class RefusedFile : public Error {
public:
    QString localizedDescription() const override { return QStringLiteral("Disk full."); }
    void raise() const override { throw *this; }
    RefusedFile *clone() const override { return new RefusedFile(*this); }
};

} // namespace Metaloom::Testing
