#pragma once

#include "platform/scripteddesktop.h"

#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class frmmain;
class QLineEdit;

namespace testsupport {

// A scripted desktop installed for the lifetime of the object, with private
// settings and runtime folders, so that no test touches the user's own.
class Environment {
public:
    Environment();
    ~Environment();
    Environment(const Environment &) = delete;
    Environment &operator=(const Environment &) = delete;

    platform::ScriptedDesktop desktop;
    QString configDir() const { return m_config.path(); }
    QString runtimeDir() const { return m_runtime.path(); }

private:
    QTemporaryDir m_config;
    QTemporaryDir m_runtime;
};

// A loaded main window on a fresh scripted desktop, shown on the offscreen
// platform so that focus and painting behave as on a screen.
struct MainWindow {
    MainWindow();
    ~MainWindow();
    Environment env;
    std::unique_ptr<frmmain> window;
    frmmain *operator->() const { return window.get(); }
};

// A control of `root` by its name; fails the calling test when there is none.
template <class T> T *control(QObject *root, const char *name)
{
    T *found = root->findChild<T *>(QLatin1String(name));
    if (found == nullptr)
        qWarning("no control named %s", name);
    return found;
}

// Replaces a text box's whole text by typing, as a user does after Ctrl+A.
void typeInto(QLineEdit *box, const QString &text);

// Puts text into a text box as a paste from the context menu would.
void pasteInto(QLineEdit *box, const QString &text);

// The color model's invariants: the selected target's hex box and swatch show
// the sliders' mix, every value box reads as its slider, every store holds
// decimal text 0..255 and every hex box matches its stores. Returns what is
// broken, or an empty text.
QString brokenColorModel(frmmain &window);

} // namespace testsupport
