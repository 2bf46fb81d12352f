#include "tiffwriter.h"

#include <QFile>
#include <QImage>

#include <cstdint>
#include <vector>

namespace qb {

namespace {

void put16(std::vector<std::uint8_t>& b, std::uint16_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

} // namespace

bool WriteBaselineTiff(const QImage& image, const QString& path, int dpi)
{
    if (image.isNull()) return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const std::uint32_t w = std::uint32_t(rgb.width()), h = std::uint32_t(rgb.height());
    const std::uint64_t dataBytes = std::uint64_t(w) * h * 3;
    if (dataBytes > 0xF0000000ull) return false;

    // Layout: header, bits-per-sample values, resolutions, IFD, pixel data.
    constexpr std::uint32_t kBps = 8, kXRes = 14, kYRes = 22, kIfd = 30;
    constexpr int kEntries = 13;
    const std::uint32_t dataOffset = kIfd + 2 + kEntries * 12 + 4;
    std::vector<std::uint8_t> head;
    head.insert(head.end(), {'I', 'I', 42, 0});
    put32(head, kIfd);
    put16(head, 8), put16(head, 8), put16(head, 8);
    put32(head, std::uint32_t(dpi)), put32(head, 1);
    put32(head, std::uint32_t(dpi)), put32(head, 1);
    put16(head, kEntries);
    auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
        put16(head, tag);
        put16(head, type);
        put32(head, count);
        if (type == 3 && count == 1) {
            put16(head, std::uint16_t(value));
            put16(head, 0);
        } else {
            put32(head, value);
        }
    };
    entry(256, 4, 1, w);
    entry(257, 4, 1, h);
    entry(258, 3, 3, kBps);
    entry(259, 3, 1, 1);   // no compression
    entry(262, 3, 1, 2);   // RGB
    entry(273, 4, 1, dataOffset);
    entry(277, 3, 1, 3);
    entry(278, 4, 1, h);
    entry(279, 4, 1, std::uint32_t(dataBytes));
    entry(282, 5, 1, kXRes);
    entry(283, 5, 1, kYRes);
    entry(284, 3, 1, 1);   // chunky
    entry(296, 3, 1, 2);   // inches
    put32(head, 0);

    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(reinterpret_cast<const char*>(head.data()), qint64(head.size())) != qint64(head.size())) return false;
    for (std::uint32_t y = 0; y < h; ++y)
        if (f.write(reinterpret_cast<const char*>(rgb.constScanLine(int(y))), qint64(w) * 3) != qint64(w) * 3) return false;
    return f.flush();
}

} // namespace qb
