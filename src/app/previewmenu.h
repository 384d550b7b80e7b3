#pragma once

class ColorEditor;
class ColorHistory;
class OpenPage;
class QMenu;
class ScreenPick;

// Undo, Redo, Paste color and Open page colors at the end of the preview's
// context menu, with their keys.
void addPreviewCommands(QMenu &menu, ColorEditor &editor, ColorHistory &history, OpenPage &openPage);

// Pick from screen, for the selected target, at the end of the preview's menu.
void addPickCommand(QMenu &menu, ColorEditor &editor, ScreenPick &pick);
