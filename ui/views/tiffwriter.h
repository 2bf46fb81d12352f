#pragma once

class QImage;
class QString;

namespace qb {

// Writes an uncompressed baseline RGB TIFF; `dpi` goes into the resolution tags.
bool WriteBaselineTiff(const QImage& image, const QString& path, int dpi);

} // namespace qb
