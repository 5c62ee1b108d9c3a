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
#include <vector>

class formCapture final : public MainWindowEvents {
public:
    static constexpr const char* kStartCaption =
        QT_TRANSLATE_NOOP("formCapture", "Pictavo - [Use PrintScreen key to capture screen]");

    /** jobs: where the slow part of commands runs; none runs it in place. */
    formCapture(IMainWindow& window, Platform& platform, ViewerHost& viewers,
                IJobs* jobs = nullptr);

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
    /** True while a command's job runs: other commands are refused meanwhile. */
    bool jobRunning() const { return m_commandJobs.running(); }
    Gallery& gallery() { return m_gallery; }
    const Gallery& gallery() const { return m_gallery; }

private:
    /** Runs one command's job at a time, under the busy pointer, with the menu's
        commands disabled, and ends the command when its done step has run. */
    class CommandJobs final : public IJobs {
    public:
        CommandJobs(formCapture& form, IJobs* inner) : m_form(form), m_inner(inner) {}
        void start(std::function<void()> work, std::function<void(JobFailure)> done) override;
        void finishAll() override;
        bool running() const override { return m_running > 0; }

    private:
        void idle();

        formCapture& m_form;
        IJobs* m_inner;
        InlineJobs m_inline;
        int m_running = 0;
        std::vector<Command> m_disabled;
    };

    /** Tells the user a command ended before its end could be told. */
    void tellUnfinished(const JobFailure& failure) noexcept;

    IMainWindow& m_window;
    Platform& m_platform;
    ViewerHost& m_viewers;
    Gallery m_gallery;
    ClipboardWatcher m_watcher;
    // Loads a command abandoned end here, before the platform they use goes.
    QThreadPool m_loads;
    CommandJobs m_commandJobs;
    CommandEnv m_env;
    QTimer Timer1;
};
