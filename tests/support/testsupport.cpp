#include "testsupport.h"

#include "app/frmmain.h"
#include "color/coloreditor.h"
#include "color/rgb.h"
#include "platform/desktop.h"
#include "widgets/controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include <zlib.h>

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

namespace {
const std::string appKey = "HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov";
}

std::string Store::read(const char *name)
{
    return registry.ReadSettingText(appKey, name);
}

void Store::write(const char *name, const std::string &text)
{
    registry.CreateSettingsKey(appKey);
    registry.WriteSettingText(appKey, name, text);
}

MainWindow::MainWindow() : window(std::make_unique<frmmain>()), controls(controlsOf(*window))
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

void processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool shiftHeld(frmmain &window)
{
    return window.colorEditor().ShiftHeld;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void prepareFile(const QString &path, const QByteArray &bytes)
{
    if (!writeFile(path, bytes))
        qFatal("cannot prepare %s", qPrintable(path));
}

void typeText(QWidget *box, const QString &text)
{
    box->setFocus();
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString ch(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            ch += text[++i];
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, ch, Qt::NoModifier);
    }
}

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

QString brokenColorModel(frmmain &window)
{
    const ColorEditor &editor = window.colorEditor();
    const MainControls w = controlsOf(window);
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

namespace {

QString captionOf(const QWidget &widget)
{
    if (auto *b = qobject_cast<const QAbstractButton *>(&widget))
        return b->text();
    if (auto *l = qobject_cast<const QLabel *>(&widget))
        return l->text();
    if (auto *t = qobject_cast<const QLineEdit *>(&widget))
        return t->text();
    if (auto *g = qobject_cast<const QGroupBox *>(&widget))
        return g->title();
    return {};
}

} // namespace

QString inventoryMismatches(const QWidget &root, std::span<const InventoryRow> rows, Sizing sizing)
{
    QStringList out;
    for (const InventoryRow &r : rows) {
        const QString name = QString::fromLatin1(r.name);
        const auto *widget = root.findChild<QWidget *>(name);
        if (widget == nullptr) {
            out << QStringLiteral("%1: missing").arg(name);
            continue;
        }
        const auto differs = [&](const char *what, const QString &actual, const QString &expected) {
            if (actual != expected)
                out << QStringLiteral("%1: %2 is '%3', expected '%4'").arg(name, QLatin1String(what), actual, expected);
        };
        if (r.kind != nullptr)
            differs("class", QLatin1String(widget->metaObject()->className()), QLatin1String(r.kind));
        if (r.caption != nullptr)
            differs("caption", captionOf(*widget), QString::fromLatin1(r.caption));
        if (r.tooltip != nullptr)
            differs("tooltip", widget->toolTip(), QString::fromLatin1(r.tooltip));
        const auto at = [](QPoint p) { return QStringLiteral("%1,%2").arg(p.x()).arg(p.y()); };
        const auto extent = [](QSize s) { return QStringLiteral("%1x%2").arg(s.width()).arg(s.height()); };
        differs("position", at(widget->pos()), at(QPoint(tw(r.left), tw(r.top))));
        if (r.width > 0) {
            QSize expected(tw(r.width), tw(r.height));
            const auto *label = qobject_cast<const QLabel *>(widget);
            if (sizing == Sizing::LabelsGrowToText && label != nullptr)
                expected.setWidth(qMax(expected.width(), label->fontMetrics().horizontalAdvance(label->text())));
            differs("size", extent(widget->size()), extent(expected));
        }
    }
    return out.join(QLatin1Char('\n'));
}

} // namespace testsupport

namespace testsupport {

namespace {

qint64 statusKb(const char *field)
{
    for (const QByteArray &line : readFile(QStringLiteral("/proc/self/status")).split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').constFirst().toLongLong();
    return -1;
}

// Raw deflate of `in`, ended as `flush` says.
QByteArray deflated(z_stream &z, const QByteArray &in, int flush)
{
    QByteArray out;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
    z.avail_in = uInt(in.size());
    do {
        char chunk[16384];
        z.next_out = reinterpret_cast<Bytef *>(chunk);
        z.avail_out = sizeof chunk;
        deflate(&z, flush);
        out.append(chunk, qsizetype(sizeof chunk - z.avail_out));
    } while (z.avail_out == 0);
    return out;
}

QByteArray littleEndian(quint32 v)
{
    QByteArray out;
    for (int i = 0; i < 4; ++i)
        out.append(char(v >> (8 * i) & 0xFF));
    return out;
}

} // namespace

qint64 resetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1 ? statusKb("VmRSS:") : -1;
}

qint64 peakGrowthMb(qint64 resetKb)
{
    const qint64 peak = statusKb("VmHWM:");
    return resetKb < 0 || peak < 0 ? -1 : (peak - resetKb) / 1024;
}

QByteArray gzipped(const QByteArray &head, qint64 count, char fill, const QByteArray &tail)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    // After a full flush nothing refers back past it: one block of the fill
    // byte, compressed once, stands for each of its repeats.
    constexpr qint64 blockSize = 1 << 20;
    const QByteArray block(blockSize, fill);
    QByteArray body = deflated(z, head, Z_FULL_FLUSH);
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(head.constData()), uInt(head.size()));
    const QByteArray packedBlock = count >= blockSize ? deflated(z, block, Z_FULL_FLUSH) : QByteArray();
    const uLong blockCrc = crc32(0, reinterpret_cast<const Bytef *>(block.constData()), uInt(block.size()));
    for (qint64 n = 0; n < count / blockSize; ++n) {
        body += packedBlock;
        crc = crc32_combine(crc, blockCrc, blockSize);
    }
    const QByteArray rest = QByteArray(qsizetype(count % blockSize), fill) + tail;
    body += deflated(z, rest, Z_FINISH);
    crc =
        crc32_combine(crc, crc32(0, reinterpret_cast<const Bytef *>(rest.constData()), uInt(rest.size())), rest.size());
    deflateEnd(&z);
    const quint32 size = quint32(head.size() + count + tail.size());
    return QByteArray("\x1F\x8B\x08\0\0\0\0\0\x02\x03", 10) + body + littleEndian(quint32(crc)) + littleEndian(size);
}

} // namespace testsupport
