// formFullScreen: the one frameless viewer that shows a picture on the whole screen.
#pragma once

#include "platform/viewer_windows.h"

class formFullScreen final : public FullScreenViewEvents {
public:
    explicit formFullScreen(IViewerFactory& factory);
    ~formFullScreen() override;

    /** Loads the window when needed, gives it picture and shows it owned by owner;
        name is what a screen reader says of the picture. */
    void open(const Picture& picture, IWindow* owner, const QString& name);
    bool isShown() const { return m_view && m_shown; }
    /** Back in front with the focus, when shown. */
    void bringToFront();
    /** Unloads the window. */
    void close();
    const Picture& picture() const { return m_picture; }
    /** The window, null before the first opening. */
    IFullScreenView* view() const { return m_view.get(); }

    void Form_Resize() override;
    void Form_Click() override { close(); }
    void Form_KeyDown(int, int) override { close(); }
    void imgImage_Click() override { close(); }
    void Form_Unload() override;

private:
    IViewerFactory& m_factory;
    std::unique_ptr<IFullScreenView> m_view;
    bool m_shown = false;
    Picture m_picture;
};
