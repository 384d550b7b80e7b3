#pragma once

class frmmain;

// The main window's position, kept between runs in the settings store.
class WindowPlacement {
public:
    explicit WindowPlacement(frmmain &window);

    void RestoreWindowPlacement();
    void SaveWindowPlacement();

private:
    void centre();

    frmmain &m;
};
