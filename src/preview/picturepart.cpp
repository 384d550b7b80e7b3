#include "preview/picturepart.h"

#include <QFile>
#include <QImageReader>

#include <array>

namespace {
// Qt refuses a picture above its allocation limit (128 MB) before decoding it.
// A picture whose reader can only read it whole stays under that limit, so a
// small file claiming a huge picture never costs its claimed memory.
// Of a PNG whose top rows alone are decoded, the data below them is still
// inflated (and thrown away), at about 250 MB a second. A PNG with more data
// than this, or whose top rows at its full width take more memory than the
// second, is read whole under Qt's own limit, as it always was.
constexpr qint64 pngDataLimit = qint64(256) << 20;
constexpr qint64 pngRowsLimit = qint64(16) << 20;

PicturePart whole(QImageReader &reader)
{
    QImage image = reader.read();
    const QSize size = image.size();
    return {std::move(image), size};
}

void leaveOrientation(QImageReader &reader)
{
    // QPixmap::load leaves orientation tags alone; so does the preview.
    reader.setAutoTransform(false);
}

quint32 bigEndian(const QByteArray &bytes, int at)
{
    return quint32(uchar(bytes[at])) << 24 | quint32(uchar(bytes[at + 1])) << 16 | quint32(uchar(bytes[at + 2])) << 8
           | quint32(uchar(bytes[at + 3]));
}

void putBigEndian(QByteArray &bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (24 - 8 * i) & 0xFF);
}

quint32 crc32(const char *data, int size)
{
    quint32 crc = 0xFFFFFFFFU;
    for (int i = 0; i < size; ++i) {
        crc ^= uchar(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1U)));
    }
    return ~crc;
}

// A PNG file read from start to end, with a smaller height in its header (and
// that header's checksum to match). Read once, in order, as the PNG reader does.
class ShortenedPng final : public QIODevice {
public:
    ShortenedPng(const QString &path, QByteArray header) : m_file(path), m_header(std::move(header)) {}
    bool openFile() { return m_file.open(QIODevice::ReadOnly) && QIODevice::open(ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return QIODevice::bytesAvailable() + m_file.bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 got = m_file.read(data, maxSize);
        for (qint64 i = m_at; i < m_at + got && i < m_header.size(); ++i)
            data[i - m_at] = m_header[i];
        m_at += qMax(got, qint64(0));
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QFile m_file;
    QByteArray m_header;
    qint64 m_at = 0;
};

// The signature and header chunk of a PNG file; empty for any other file.
QByteArray pngHeader(const QString &path)
{
    static constexpr char start[] = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR";
    QFile file(path);
    const QByteArray header = file.open(QIODevice::ReadOnly) ? file.read(33) : QByteArray();
    return header.size() == 33 && header.startsWith(QByteArrayView(start, sizeof start - 1)) ? header : QByteArray();
}

// Whether a PNG's rows come one after another in its data: it is not interlaced.
bool rowsInOrder(const QByteArray &header)
{
    return !header.isEmpty() && header[28] == 0;
}

// The top `rows` rows of a PNG whose rows come in order, at its full width,
// decoded without the rows below: its reader cannot cut a part, but a header
// telling a smaller height ends the decoding there. Null for a PNG beyond the
// limits above, and for one that does not decode.
QImage topOfPng(const QString &path, QByteArray header, int rows)
{
    const quint32 width = bigEndian(header, 16), height = bigEndian(header, 20);
    const int depth = uchar(header[24]), colorType = uchar(header[25]);
    static constexpr std::array<int, 7> channels{1, 0, 3, 1, 2, 0, 4};
    if (colorType >= int(channels.size()) || channels[colorType] == 0 || height <= quint32(rows))
        return {};
    const qint64 rowBytes = 1 + (qint64(width) * channels[colorType] * depth + 7) / 8;
    if (qint64(height) > pngDataLimit / rowBytes || qint64(width) * rows * (depth == 16 ? 8 : 4) > pngRowsLimit)
        return {};
    putBigEndian(header, 20, quint32(rows));
    putBigEndian(header, 29, crc32(header.constData() + 12, 17));
    ShortenedPng shortened(path, std::move(header));
    if (!shortened.openFile())
        return {};
    QImageReader reader(&shortened, "png");
    QImage image = reader.read();
    if (image.width() != int(width) || image.height() != rows)
        return {};
    return image;
}
} // namespace

PicturePart readPicturePart(const QString &path, QSize visible)
{
    QImageReader reader(path);
    leaveOrientation(reader);
    const QSize full = reader.size();
    // A size the header does not give, or a picture that fits, is read whole,
    // by the same reader: a second one would look for the format again.
    if (!full.isValid() || (full.width() <= visible.width() && full.height() <= visible.height()))
        return whole(reader);
    const QSize wanted = full.boundedTo(visible);
    const QRect part(QPoint(0, 0), wanted);
    bool readsPart = reader.supportsOption(QImageIOHandler::ClipRect);
    if (!readsPart && reader.format() == "png") {
        const QByteArray header = pngHeader(path);
        readsPart = rowsInOrder(header);
        if (readsPart) {
            const QImage top = topOfPng(path, header, wanted.height());
            if (!top.isNull())
                return {top.copy(part), full};
        }
    }
    // A reader that can cut the part decodes only that; any other reads the
    // whole picture, under Qt's limit, and the part is cut from it.
    reader.setClipRect(part);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    // A reader that gave something else than the part asked for: its part
    // cannot be placed by scale, the whole picture can.
    if (image.size() != wanted) {
        QImageReader again(path);
        leaveOrientation(again);
        return whole(again);
    }
    return {std::move(image), full};
}
