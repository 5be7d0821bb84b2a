#pragma once

// The picture a picture box shows: decoded as DecodePicture does, except
// that a GIF shown with animation goes to an animator instead of the still
// decoder. Any animation is stopped, and its thread gone, before the picture
// changes or is dropped. Qt-free; the owning unit's thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "units/picture/DecodedPicture.h"
#include "units/picture/GifAnimator.h"

namespace vellumry::units {

class BoxPicture {
public:
    BoxPicture() = default;
    ~BoxPicture();
    BoxPicture(const BoxPicture&) = delete;
    BoxPicture& operator=(const BoxPicture&) = delete;

    // Replaces the picture; bytes that do not decode leave none.
    void Set(std::span<const std::uint8_t> bytes, bool animate);
    void Clear();

    bool Empty() const { return !m_still && !m_animation; }
    // The size the picture is laid out at (0 × 0 when empty).
    std::uint32_t Width() const;
    std::uint32_t Height() const;

    // One of these is set when the picture is not empty.
    const DecodedPicture* Still() const { return m_still ? &*m_still : nullptr; }
    const GifAnimator* Animation() const { return m_animation.get(); }

    // Runs the animation, if any, calling `onFrame` from its thread after
    // each new frame.
    void StartAnimation(std::function<void()> onFrame);
    void StopAnimation();

private:
    std::optional<DecodedPicture> m_still;
    std::unique_ptr<GifAnimator> m_animation;
};

}  // namespace vellumry::units
