#include "commands/commands.h"

#include <QCoreApplication>
#include <cstring>
#include <new>
#include <system_error>

QString failureReason(const JobFailure& failure) {
    if (!failure)
        return QCoreApplication::translate("Jobs", "the work ended without a result");
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return QCoreApplication::translate("Jobs", "there is not enough memory for it");
    } catch (const std::system_error& e) {
        // The system's own words, in the user's language where the system has it.
        if (e.code().category() == std::generic_category() ||
            e.code().category() == std::system_category())
            return QString::fromLocal8Bit(std::strerror(e.code().value()));
        return QString::fromLocal8Bit(e.what());
    } catch (const std::exception& e) {
        return QStringLiteral("%1 (%2)").arg(
            QCoreApplication::translate("Jobs", "an unexpected error occurred"),
            QString::fromLocal8Bit(e.what()));
    } catch (...) {
    }
    return QCoreApplication::translate("Jobs", "an unexpected error occurred");
}
