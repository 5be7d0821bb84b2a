#pragma once

// What a unit keeps of a picture property: the picture decoded once (until
// the property changes) and its prepared image, remade only when the colour
// it was prepared over changes. Window thread only.

#include <QColor>

#include <cstdint>
#include <optional>
#include <span>

#include "units/picture/DecodedPicture.h"
#include "units/picture/PreparedPicture.h"

namespace vellumry::units {

class PictureCache {
public:
    // Decodes `bytes` now; bytes that do not decode leave no picture.
    void Decode(std::span<const std::uint8_t> bytes);
    // Forgets the picture (its property changed).
    void Clear();

    // True once Decode has run since the last Clear.
    bool Decoded() const { return m_decoded; }
    const DecodedPicture* Picture() const { return m_picture ? &*m_picture : nullptr; }

    // The picture prepared over `background`; null without a picture.
    const PreparedPicture* Prepared(QColor background);

private:
    bool m_decoded = false;
    std::optional<DecodedPicture> m_picture;
    std::optional<PreparedPicture> m_prepared;
    QColor m_preparedOver;
};

}  // namespace vellumry::units
