#pragma once

#include <optional>

class QWidget;

// The main window's position, kept between runs in the settings store.
class WindowPlacement {
public:
    explicit WindowPlacement(QWidget &window);

    void RestoreWindowPlacement();
    void SaveWindowPlacement();

    // Stands in for the platform's answer whether it can place windows;
    // std::nullopt asks the platform again.
    static void assumePlatformPlacesWindows(std::optional<bool> places);

private:
    void centre();

    QWidget &m;
};
