#pragma once

#include "color/colortargets.h"

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class ColorEditor;
class QMenu;
class QWidget;
class WindowPlacement;
class frmadjust;

// Opens the Adjust window beside the main window, by its key and from the
// menus, and keeps its place between runs.
class AdjustCommand : public QObject {
    Q_OBJECT
public:
    // Ctrl+J: no access key of the main window, nor a key any of its
    // boxes takes.
    static inline const QKeySequence key{Qt::CTRL | Qt::Key_J};
    static inline const QString caption = QStringLiteral("Adjust color...");

    AdjustCommand(QWidget &window, ColorEditor &editor);
    ~AdjustCommand() override;

    // Shows the window on `target`, which becomes the selected one where it
    // may be edited.
    void open(ColorTarget target);
    // Adds the command for the target `target` gives when chosen.
    void addTo(QMenu &menu, ColorTarget target);
    void addForSelected(QMenu &menu);
    // Stores the window's place while it is open: the main window closes.
    void saveOpenWindowPlacement();

    // The window once it has been opened.
    frmadjust *window() const;

private:
    QWidget &m_window;
    ColorEditor &m_editor;
    QPointer<frmadjust> m_adjust;
    std::unique_ptr<WindowPlacement> m_placement;
};
