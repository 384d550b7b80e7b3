#pragma once

class frmmain;
class OpenPage;
class QMenu;

// Undo, Redo, Paste color and Open page colors at the end of the preview's
// context menu, with their keys.
void addPreviewCommands(frmmain &window, QMenu &menu, OpenPage &openPage);
