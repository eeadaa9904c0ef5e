#pragma once

#include "MetaloomFeature/Engine/Dialect/ChangeReadBack.h"
#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QCoroTask>
#include <QList>
#include <QStringList>

namespace Metaloom::ChangeReadBack {

// Reads the keys from the files in one run of ExifTool: the plan, the run
// and the answers of its output (see planFor() and answersFrom()).
QCoro::Task<QList<FileAnswers>> read(ResourceBundle bundle, QStringList keys, QStringList paths,
                                     ChangeOptions options = {});

} // namespace Metaloom::ChangeReadBack
