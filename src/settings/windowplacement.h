#pragma once

#include <QObject>
#include <QSize>

#include <optional>

class QWidget;

// A window's place, kept between runs in the settings store: the main
// window's position, or a resizable window's position and size.
class WindowPlacement : public QObject {
public:
    // The names of the stored values; a window without size names keeps its
    // own size.
    struct ValueNames {
        const char *top = "Top";
        const char *left = "Left";
        const char *width = nullptr;
        const char *height = nullptr;
    };

    // The main window's place: "Top" and "Left".
    explicit WindowPlacement(QWidget &window);
    WindowPlacement(QWidget &window, ValueNames names);

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
    ValueNames m_names;
    // The outer size the window was centred by, while a window manager may
    // still frame it when it first shows.
    std::optional<QSize> m_centredBy;
};
