#include "app/form_capture.h"

#include "commands/picture_prefetch.h"
#include "gallery/gallery_reading.h"
#include "gallery/key_dispatch.h"

#include <QCoreApplication>

formCapture::formCapture(IMainWindow& window, Platform& platform, ViewerHost& viewers,
                         IJobs* jobs)
    : m_window(window), m_platform(platform), m_viewers(viewers),
      m_gallery([&window] {
          return OuterSize{window.outerWidthTwips(), window.outerHeightTwips()};
      }),
      m_watcher(
          m_gallery, platform.clipboard, [&window] { window.galleryChanged(); },
          [this] { scheduleTick(); }),
      m_commandJobs(*this, jobs),
      m_env{m_gallery, window, platform, &m_loads, &m_commandJobs} {
    PicturePrefetch::configure(m_loads);
    // Ticks follow the clipboard's own change announcements instead of a
    // 1 ms poll, which would keep a core busy while idle.
    Timer1.setSingleShot(true);
    Timer1.setInterval(0);
    QObject::connect(&Timer1, &QTimer::timeout, [this] { Timer1_Timer(); });
}

void formCapture::Form_Load() {
    m_platform.clipboard.setChangeHandler([this] {
        m_watcher.noteChange();
        scheduleTick();
    });
    scheduleTick();
}

void formCapture::scheduleTick() { Timer1.start(); }

void formCapture::Timer1_Timer() { m_watcher.Timer1_Timer(); }

void formCapture::Form_Resize() {
    m_window.setBusyPointer(true);
    m_gallery.relayout();
    m_window.setBusyPointer(false);
    m_window.galleryChanged();
}

void formCapture::Form_MouseUp(int Button, int, int, int) {
    if (Button == keys::RightButton)
        m_window.popupMenu();
}

void formCapture::Form_KeyDown(int KeyCode, int Shift) {
    const KeyDispatch key = dispatchKey(KeyCode, Shift);
    Gallery& g = m_gallery;
    const int selected = g.SelectedIndex;
    switch (key.action) {
    case KeyAction::None: return;
    case KeyAction::RunCommand: menuCommand(key.command); return;
    case KeyAction::StopLoading: g.StopLoading = true; return;
    case KeyAction::OpenSelected: imgView_MouseUp(selected, 0, 0, 0, 0); return;
    case KeyAction::ContextMenu: m_window.popupMenuAt(GalleryReading::menuAnchor(g)); return;
    case KeyAction::SelectLeft:
        if (selected > 0)
            g.SelectImage(static_cast<std::int16_t>(selected - 1));
        break;
    case KeyAction::SelectRight:
        if (selected < g.topIndex())
            g.SelectImage(static_cast<std::int16_t>(selected + 1));
        break;
    case KeyAction::SelectDown:
        if (selected + g.ThumbsPerRow <= g.topIndex())
            g.SelectImage(static_cast<std::int16_t>(selected + g.ThumbsPerRow));
        break;
    case KeyAction::SelectUp:
        if (selected - g.ThumbsPerRow >= 0)
            g.SelectImage(static_cast<std::int16_t>(selected - g.ThumbsPerRow));
        break;
    }
    m_window.galleryChanged();
}

void formCapture::imgView_MouseUp(int index, int Button, int Shift, int, int) {
    Gallery& g = m_gallery;
    if (Button == keys::RightButton) {
        g.SelectImage(static_cast<std::int16_t>(index));
        m_window.galleryChanged();
        m_window.popupMenu();
        return;
    }
    // Enter on a selected index that names no entry (after Clear) acts on nothing.
    if (!g.exists(index))
        return;
    const Entry& entry = g.imgView(index);
    if (entry.isEmpty()) {
        menuCommand(Command::Open);
        return;
    }
    g.SelectImage(static_cast<std::int16_t>(index));
    m_window.galleryChanged();
    m_viewers.showInZoom(entry.picture, GalleryReading::entryCaption(g, index), Shift);
}

void formCapture::imgView_DblClick(int index) {
    if (m_gallery.exists(index))
        m_viewers.showFullScreen(m_gallery.imgView(index).picture,
                                 GalleryReading::entryCaption(m_gallery, index));
}

void formCapture::menuCommand(Command command) {
    // One job at a time, and the gallery stays as the running one saw it when it
    // started; only the About box needs nothing of either.
    if (jobRunning() && command != Command::About)
        return;
    // A second Browse inside a running one would clear the gallery under it.
    if (command == Command::Browse && !m_window.isMenuEnabled(Command::Browse))
        return;
    // Memory running out as a command starts fails that command, not the program.
    try {
        runCommand(command, m_env);
    } catch (...) {
        tellUnfinished(std::current_exception());
    }
    m_window.galleryChanged();
    scheduleTick();
}

void formCapture::Form_Unload() {
    // A Browse running underneath loads nothing more into a window that is gone.
    m_gallery.StopLoading = true;
    m_viewers.closeAll();
    // A file being written is finished, not left half-written; nothing is
    // reported once the window is gone.
    m_commandJobs.finishAll();
}

void formCapture::CommandJobs::start(std::function<void()> work,
                                     std::function<void(JobFailure)> done) {
    IMainWindow& window = m_form.m_window;
    if (m_running++ == 0) {
        window.setBusyPointer(true);
        for (const Command c : {Command::Save, Command::SaveAll, Command::Open, Command::Print,
                                Command::Copy, Command::Delete, Command::Clear, Command::Browse}) {
            // Browse disables its own entry while it runs; that one is left to it.
            if (window.isMenuEnabled(c)) {
                window.setMenuEnabled(c, false);
                m_disabled.push_back(c);
            }
        }
    }
    IJobs& runner = m_inner ? *m_inner : m_inline;
    runner.start(std::move(work), [this, done = std::move(done)](JobFailure failure) {
        // A done step that fails (memory short as it words its message) still ends the
        // command, and says so where it can.
        try {
            done(std::move(failure));
        } catch (...) {
            m_form.tellUnfinished(std::current_exception());
        }
        if (--m_running == 0)
            idle();
        m_form.m_window.galleryChanged();
        m_form.scheduleTick();
    });
}

void formCapture::tellUnfinished(const JobFailure& failure) noexcept {
    try {
        m_platform.messages.warning(
            &m_window,
            QCoreApplication::translate("formCapture", "The command did not finish: %1.")
                .arg(failureReason(failure)),
            QStringLiteral("Pictavo"));
    } catch (...) {
        // Nothing is left to say it with.
    }
}

void formCapture::CommandJobs::finishAll() {
    if (m_inner)
        m_inner->finishAll();
    // Their done steps will not come: the window goes back to idle here.
    if (m_running > 0) {
        m_running = 0;
        idle();
    }
}

void formCapture::CommandJobs::idle() {
    IMainWindow& w = m_form.m_window;
    for (const Command c : m_disabled)
        w.setMenuEnabled(c, true);
    m_disabled.clear();
    // A Browse still loading keeps its entry disabled, and its busy pointer.
    w.setBusyPointer(!w.isMenuEnabled(Command::Browse));
}
