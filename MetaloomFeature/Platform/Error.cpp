#include "Error.h"

#include <QCoreApplication>

namespace Metaloom {

const char *Error::what() const noexcept
{
    m_whatCache = localizedDescription().toUtf8();
    return m_whatCache.constData();
}

QString describeException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Error &e) {
        return e.localizedDescription();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QCoreApplication::translate("Error", "An unexpected error occurred.");
    }
}

} // namespace Metaloom
