#pragma once

#include "maincontrols.h"
#include "platform/scripteddesktop.h"
#include "settings/filebackend.h"
#include "settings/registry.h"

#include <QApplication>
#include <QByteArray>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <span>
#include <string>

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

// The program's settings key in the store of the current environment, as
// the program reads and writes it.
struct Store {
    settings::FileRegistryBackend backend;
    settings::Registry registry{backend, nullptr};
    std::string read(const char *name);
    void write(const char *name, const std::string &text);
};

// A loaded main window on a fresh scripted desktop, shown on the offscreen
// platform so that focus and painting behave as on a screen.
// `w->txtred` is the window's control by that name; the window itself, for
// what is not a control, is `w.window`.
struct MainWindow {
    MainWindow();
    ~MainWindow();
    Environment env;
    std::unique_ptr<frmmain> window;
    MainControls controls;
    const MainControls *operator->() const { return &controls; }
};

// The window of class T that `owner` has opened, made active and exposed.
template <class T> T *activeWindow(const QObject &owner)
{
    T *found = findWindow<T>(owner);
    if (found != nullptr) {
        QApplication::setActiveWindow(found);
        if (!QTest::qWaitForWindowExposed(found))
            qWarning("%s was not exposed", T::staticMetaObject.className());
    }
    return found;
}

// Deletes what waits for deletion, as the event loop would: windows that closed.
void processDeletes();

// Whether the all-up and all-down buttons take their fast steps.
bool shiftHeld(frmmain &window);

// A file's bytes, or "<unreadable>" when it cannot be read.
QByteArray readFile(const QString &path);

// Replaces a file's bytes; false when they were not all written.
[[nodiscard]] bool writeFile(const QString &path, const QByteArray &bytes);

// Replaces a file's bytes where a test cannot go on without them: a failure
// ends the program with the file's name.
void prepareFile(const QString &path, const QByteArray &bytes);

// The peak memory of the process (Linux): reset to what it uses now, and
// read as its growth since the reset, in MB; -1 where it cannot be.
qint64 resetPeakMemory();
qint64 peakGrowthMb(qint64 resetKb);

// A gzip file of `head`, `count` times the byte `fill`, then `tail`, made
// without ever holding what it unpacks to: a bomb of a gigabyte is a
// megabyte here, and made in a moment.
QByteArray gzipped(const QByteArray &head, qint64 count, char fill, const QByteArray &tail);

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

// Types text character by character at `box`, also characters no key of a
// Latin keyboard makes.
void typeText(QWidget *box, const QString &text);

// Puts text into a text box as a paste from the context menu would.
void pasteInto(QLineEdit *box, const QString &text);

// The color model's invariants: the selected target's hex box and swatch show
// the sliders' mix, every value box reads as its slider, every store holds
// decimal text 0..255 and every hex box matches its stores. Returns what is
// broken, or an empty text.
QString brokenColorModel(frmmain &window);

// One control of a window as its layout gives it.
struct InventoryRow {
    const char *name;
    const char *kind;             // class name; nullptr: not checked
    const char *caption;          // button, label or group caption, or a box's text; nullptr: not checked
    const char *tooltip;          // nullptr: not checked
    int left, top, width, height; // twips; width 0: the size is not checked here
    int tabIndex;                 // -1: not in the keyboard order
};

// How a row's width is compared.
enum class Sizing {
    Exact,
    LabelsGrowToText, // a label's box too narrow for its caption grows to the right
};

// Every way the controls of `root` differ from `rows`, one line each; empty
// when they all match.
QString inventoryMismatches(const QWidget &root, std::span<const InventoryRow> rows, Sizing sizing = Sizing::Exact);

} // namespace testsupport
