// The composition of the main window's viewers: the viewer logic on the Qt windows.
#pragma once

#include "gallery/gallery.h"
#include "platform/platform.h"
#include "platform/qt/windows/qt_viewer_factory.h"
#include "viewers/viewer_host.h"
#include "viewers/viewer_set.h"

#include <memory>

class QWidget;

class QtViewerHost final : public ViewerHost {
public:
    /** owner: the main window, which owns every viewer it opens. */
    explicit QtViewerHost(QWidget& owner);
    ~QtViewerHost() override;

    /** Gives the viewers the gallery, where zoom windows record their geometry,
        and the platform, through which they save. Until then nothing opens. */
    void attach(Gallery& gallery, Platform& platform);

    void showInZoom(const Picture& picture, const QString& caption, int shift) override;
    void showFullScreen(const Picture& picture, const QString& name) override;
    void closeAll() override;

    /** Null before attach. */
    ViewerSet* viewers() const { return m_viewers.get(); }

private:
    QWidget& m_owner;
    QtViewerFactory m_factory;
    std::unique_ptr<ViewerSet> m_viewers;
};
