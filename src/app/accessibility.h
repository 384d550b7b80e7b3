#pragma once

class QWidget;

// Gives every control a user reaches an accessible name and, where it has a
// tooltip, a description, so that screen readers announce it; swatches and
// the preview announce the colors they show as HexColor and keep them up to
// date. Secondary windows get the same treatment each time they show.
void describeForAssistiveTechnology(QWidget &window);
