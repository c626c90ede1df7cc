#pragma once

#include "screen_provider.h"

class QScreen;

// The screens as QGuiApplication reports them.
class QtScreenProvider : public ScreenProvider
{
    Q_OBJECT

public:
    explicit QtScreenProvider(QObject *parent = nullptr);

    QList<ScreenDescription> screens() const override;
    std::optional<ScreenDescription> primaryScreen() const override;

private:
    void watch(QScreen *screen);
    void noteChange();

    bool m_changePending = false;
};
