// The main window's logic: a dispatcher over the gallery, the watcher and the commands.
#pragma once

#include "commands/commands.h"
#include "gallery/clipboard_watcher.h"
#include "gallery/gallery.h"
#include "platform/main_window.h"
#include "platform/platform.h"
#include "viewers/viewer_host.h"

#include <QThreadPool>
#include <QTimer>

class formCapture final : public MainWindowEvents {
public:
    static constexpr const char* kStartCaption = "Pictavo - [Use PrintScreen key to capture screen]";

    formCapture(IMainWindow& window, Platform& platform, ViewerHost& viewers);

    /** Starts watching the clipboard; the first tick runs at once. */
    void Form_Load();

    void Form_Resize() override;
    void Form_MouseUp(int Button, int Shift, int X, int Y) override;
    void Form_KeyDown(int KeyCode, int Shift) override;
    void imgView_MouseUp(int index, int Button, int Shift, int X, int Y) override;
    void imgView_DblClick(int index) override;
    void menuCommand(Command command) override;
    void Form_Unload() override;

    /** One look at the clipboard. */
    void Timer1_Timer();
    /** Asks for a tick after the current event; bursts merge into one. */
    void scheduleTick();

    const ClipboardWatcher& watcher() const { return m_watcher; }
    Gallery& gallery() { return m_gallery; }
    const Gallery& gallery() const { return m_gallery; }

private:
    IMainWindow& m_window;
    Platform& m_platform;
    ViewerHost& m_viewers;
    Gallery m_gallery;
    ClipboardWatcher m_watcher;
    // Loads a command abandoned end here, before the platform they use goes.
    QThreadPool m_loads;
    CommandEnv m_env;
    QTimer Timer1;
};
