// The program's application object.
#pragma once

#include <QApplication>

/** Memory running out while an event is handled (a window's backing store that could
    not be made, say) fails that event, not the program with every picture in it. */
class QtApplication final : public QApplication {
public:
    QtApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
    /** Events dropped so far for want of memory; read on the window's thread. */
    int eventsDropped() const { return m_dropped; }

private:
    int m_dropped = 0;
};
