#pragma once

class ColorEditor;
class ColorHistory;
class OpenPage;
class QMenu;

// Undo, Redo, Paste color and Open page colors at the end of the preview's
// context menu, with their keys.
void addPreviewCommands(QMenu &menu, ColorEditor &editor, ColorHistory &history, OpenPage &openPage);
