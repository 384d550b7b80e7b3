#include "testsupport.h"

#include "app/frmmain.h"
#include "color/coloreditor.h"
#include "color/rgb.h"
#include "platform/desktop.h"
#include "widgets/controls.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace testsupport {

Environment::Environment()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    platform::setDesktop(&desktop);
}

Environment::~Environment()
{
    platform::setDesktop(nullptr);
}

MainWindow::MainWindow() : window(std::make_unique<frmmain>())
{
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("main window was not exposed");
    // The load sequence put the focus on the red slider before the window showed.
    if (QWidget *red = window->findChild<QWidget *>(QStringLiteral("VScrollRed")))
        red->setFocus();
}

MainWindow::~MainWindow() = default;

void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

void pasteInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    box->insert(text);
}

QString brokenColorModel(frmmain &w)
{
    const ColorEditor &editor = w.colorEditor();
    const int s[3] = {w.VScrollRed->value(), w.VScrollGreen->value(), w.VScrollBlue->value()};
    const QString mix = color::hexColor(s[0], s[1], s[2]);
    const auto &selected = editor.controls(editor.selectedTarget());
    if (selected.hexBox->text() != mix)
        return QStringLiteral("selected hex box %1 differs from sliders %2").arg(selected.hexBox->text(), mix);
    if (backColor(selected.swatch) != QColor(s[0], s[1], s[2]))
        return QStringLiteral("selected swatch differs from sliders");
    const QLineEdit *boxes[] = {w.txtred, w.txtgreen, w.txtblue};
    for (int c = 0; c < 3; ++c) {
        bool ok = false;
        if (boxes[c]->text().toInt(&ok) != s[c] || !ok)
            return QStringLiteral("value box %1 reads '%2', slider %3").arg(c).arg(boxes[c]->text()).arg(s[c]);
    }
    for (const auto &t : editor.targets()) {
        int v[3];
        for (int c = 0; c < 3; ++c) {
            const QString text = t.stores[c]->text();
            bool ok = false;
            v[c] = text.toInt(&ok);
            if (!ok || v[c] < 0 || v[c] > 255 || text != QString::number(v[c]))
                return QStringLiteral("store %1 holds '%2'").arg(t.stores[c]->objectName(), text);
        }
        if (t.hexBox->text() != color::hexColor(v[0], v[1], v[2]))
            return QStringLiteral("hex box %1 differs from its stores").arg(t.hexBox->objectName());
    }
    return {};
}

} // namespace testsupport
