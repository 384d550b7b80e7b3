#include "testsupport.h"

#include "app/frmmain.h"
#include "platform/desktop.h"

#include <QApplication>
#include <QLineEdit>

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

} // namespace testsupport
