#pragma once

#include <QObject>
#include <QSize>

#include <optional>

class QWidget;

// The main window's position, kept between runs in the settings store.
class WindowPlacement : public QObject {
public:
    explicit WindowPlacement(QWidget &window);

    void RestoreWindowPlacement();
    void SaveWindowPlacement();

    // Stands in for the platform's answer whether it can place windows;
    // std::nullopt asks the platform again.
    static void assumePlatformPlacesWindows(std::optional<bool> places);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void centre();

    QWidget &m;
    // The outer size the window was centred by, while a window manager may
    // still frame it when it first shows.
    std::optional<QSize> m_centredBy;
};
