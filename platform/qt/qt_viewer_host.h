#pragma once

#include "viewers/viewer_host.h"

class QWidget;

class QtViewerHost final : public ViewerHost {
public:
    explicit QtViewerHost(QWidget& owner) : m_owner(owner) {}
    void showInZoom(const Picture&, const QString&, int) override {}
    void showFullScreen(const Picture&) override {}
    void closeAll() override {}

private:
    QWidget& m_owner;
};
