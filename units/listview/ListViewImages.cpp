#include "units/listview/ListViewImages.h"

#include <QPainter>

#include <algorithm>

#include "units/listview/ImageListReader.h"

namespace vellumry::units {

ListViewImageList ImageListOfBlob(const Bytes& blob)
{
    ListViewImageList list;
    auto read = ReadImageList(blob);
    if (!read)
        return list;
    const int width = static_cast<int>(read->width);
    const int height = static_cast<int>(read->height);
    list.size = QSize(width, height);
    list.images.reserve(read->images.size());
    // Blue, green, red, alpha bytes are ARGB32 words on this byte order.
    for (const std::vector<std::uint8_t>& pixels : read->images)
        list.images.push_back(QImage(pixels.data(), width, height, width * 4, QImage::Format_ARGB32).copy());
    return list;
}

QImage StateAndRowImage(const QImage& state, const QImage& row)
{
    if (state.isNull())
        return row;
    if (row.isNull())
        return state;
    QImage both(state.width() + row.width(), std::max(state.height(), row.height()), QImage::Format_ARGB32);
    both.fill(Qt::transparent);
    QPainter painter(&both);
    painter.drawImage(0, 0, state);
    painter.drawImage(state.width(), 0, row);
    painter.end();
    return both;
}

}  // namespace vellumry::units
