#include "units/picture/PictureCache.h"

namespace vellumry::units {

void PictureCache::Decode(std::span<const std::uint8_t> bytes)
{
    Clear();
    m_picture = DecodePicture(bytes);
    m_decoded = true;
}

void PictureCache::Clear()
{
    m_decoded = false;
    m_picture.reset();
    m_prepared.reset();
}

const PreparedPicture* PictureCache::Prepared(QColor background)
{
    if (!m_picture)
        return nullptr;
    if (!m_prepared || m_preparedOver != background) {
        m_prepared = PreparePicture(*m_picture, background);
        m_preparedOver = background;
    }
    return m_prepared ? &*m_prepared : nullptr;
}

}  // namespace vellumry::units
