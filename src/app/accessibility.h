#pragma once

#include "color/colortargets.h"

#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;

// The main window's controls a screen reader is told about by name.
struct AccessibleControls {
    QWidget *window;
    // Red, green and blue.
    std::array<QScrollBar *, 3> sliders;
    std::array<QLabel *, 3> channelSwatches;
    QPushButton *allUp, *allDown;
    QWidget *preview;
    // Each target's, in the order of the table of targets.
    struct Target {
        QLabel *swatch;
        QLineEdit *hexBox;
        QPushButton *reset; // null where the target has none
        QWidget *previewElement;
    };
    std::array<Target, colorTargets.size()> targets;
    // The state fields, never seen: no part of the window's tree.
    std::vector<QWidget *> stateFields;
};

// Gives every control a user reaches an accessible name and, where it has a
// tooltip, a description, so that screen readers announce it; swatches and
// the preview announce the colors they show as HexColor and keep them up to
// date. Secondary windows get the same treatment each time they show.
void describeForAssistiveTechnology(const AccessibleControls &controls);
