#include "preview/picturepart.h"

#include "platform/regularfile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <zlib.h>

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

PicturePart shown(QImage image, QSize fullSize)
{
    return {std::move(image), fullSize, PictureRefusal::None, {}};
}

PicturePart refused(PictureRefusal why, const QString &reason = {})
{
    return {{}, {}, why, reason};
}

PicturePart whole(QImageReader &reader)
{
    QImage image = reader.read();
    if (image.isNull())
        return refused(PictureRefusal::NotAPicture);
    const QSize size = image.size();
    return shown(std::move(image), size);
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
    ShortenedPng(QIODevice &file, QByteArray header) : m_file(file), m_header(std::move(header)) {}
    bool openFile() { return m_file.seek(0) && QIODevice::open(ReadOnly); }
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
    QIODevice &m_file;
    QByteArray m_header;
    qint64 m_at = 0;
};

// The signature and header chunk of a PNG file; empty for any other file.
QByteArray pngHeader(QIODevice &file)
{
    static constexpr char start[] = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR";
    const QByteArray header = file.peek(33);
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
QImage topOfPng(QIODevice &file, QByteArray header, int rows)
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
    ShortenedPng shortened(file, std::move(header));
    if (!shortened.openFile())
        return {};
    QImageReader reader(&shortened, "png");
    QImage image = reader.read();
    if (image.width() != int(width) || image.height() != rows)
        return {};
    return image;
}
// A gzip file holds a compressed drawing: only the SVG reader takes one.
bool isGzip(QIODevice &file)
{
    return file.peek(2) == QByteArrayView("\x1F\x8B", 2);
}

// The first member of a gzip file unpacked, at most `limit` bytes of it: the
// SVG reader would unpack it whole into memory, however large, before
// looking at it. Null past the limit; on a damaged file, what it gave.
QByteArray gunzip(QIODevice &file, qint64 limit)
{
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        return {};
    QByteArray out("");
    std::array<char, 64 * 1024> in{};
    int status = Z_OK;
    while (status == Z_OK && out.size() <= limit) {
        if (z.avail_in == 0) {
            const qint64 got = file.read(in.data(), qint64(in.size()));
            if (got <= 0)
                break;
            z.next_in = reinterpret_cast<Bytef *>(in.data());
            z.avail_in = uInt(got);
        }
        // One byte past the limit tells a drawing that is too large.
        const qsizetype at = out.size();
        const qsizetype room = qMin<qsizetype>(256 * 1024, limit + 1 - at);
        out.resize(at + room);
        z.next_out = reinterpret_cast<Bytef *>(out.data() + at);
        z.avail_out = uInt(room);
        status = inflate(&z, Z_NO_FLUSH);
        out.resize(at + room - qsizetype(z.avail_out));
    }
    inflateEnd(&z);
    return out.size() > limit ? QByteArray() : out;
}

// Reads `device`, positioned at its start, as readPicturePart says.
PicturePart readPart(QIODevice &device, QSize visible, const QByteArray &format)
{
    QImageReader reader(&device, format);
    leaveOrientation(reader);
    if (reader.format() == "svg" && device.size() > svgLimit)
        return refused(PictureRefusal::TooLarge);
    const QSize full = reader.size();
    // A size the header does not give, or a picture that fits, is read whole,
    // by the same reader: a second one would look for the format again.
    if (!full.isValid() || (full.width() <= visible.width() && full.height() <= visible.height()))
        return whole(reader);
    const QSize wanted = full.boundedTo(visible);
    const QRect part(QPoint(0, 0), wanted);
    bool readsPart = reader.supportsOption(QImageIOHandler::ClipRect);
    if (!readsPart && reader.format() == "png") {
        const qint64 at = device.pos();
        device.seek(0);
        const QByteArray header = pngHeader(device);
        readsPart = rowsInOrder(header);
        if (readsPart) {
            const QImage top = topOfPng(device, header, wanted.height());
            if (!top.isNull())
                return shown(top.copy(part), full);
        }
        device.seek(at);
    }
    // A reader that can cut the part decodes only that; any other reads the
    // whole picture, under Qt's limit, and the part is cut from it.
    reader.setClipRect(part);
    QImage image = reader.read();
    if (image.isNull())
        return refused(PictureRefusal::NotAPicture);
    // A reader that gave something else than the part asked for: its part
    // cannot be placed by scale, the whole picture can.
    if (image.size() != wanted) {
        image = QImage();
        device.seek(0);
        QImageReader again(&device, format);
        leaveOrientation(again);
        return whole(again);
    }
    return shown(std::move(image), full);
}
} // namespace

PicturePart readPicturePart(QIODevice &file, QSize visible)
{
    if (!isGzip(file))
        return readPart(file, visible, {});
    QByteArray drawing = gunzip(file, svgLimit);
    if (drawing.isNull())
        return refused(PictureRefusal::TooLarge);
    QBuffer unpacked(&drawing);
    unpacked.open(QIODevice::ReadOnly);
    return readPart(unpacked, visible, "svg");
}

PicturePart readPictureFile(const QString &path, QSize visible)
{
    QFile file(path);
    QString reason;
    // A FIFO or device would hold the window until something writes to it;
    // the file is read through the same opening that was checked.
    if (!platform::openRegularFile(file, reason))
        return refused(PictureRefusal::Unreadable, reason);
    return readPicturePart(file, visible);
}
