#include "platform/qt/qt_application.h"

#include <new>

bool QtApplication::notify(QObject* receiver, QEvent* event) {
    // Qt itself does not unwind through its event loop: a throw that leaves here ends
    // the program. Only memory is caught; any other throw is a fault to be seen.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        ++m_dropped;
        return false;
    }
}
