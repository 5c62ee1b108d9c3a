#pragma once

#include "platform/shell.h"

class QtShell final : public IShell {
public:
    bool openUrl(const QString& url) override;
};
