#include "TaskRunner.h"

#include "MetaloomFeature/Platform/Error.h"

namespace Metaloom::Testing {

QString describeTestException(std::exception_ptr error)
{
    return describeException(error);
}

} // namespace Metaloom::Testing
