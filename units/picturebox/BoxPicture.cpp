#include "units/picturebox/BoxPicture.h"

namespace vellumry::units {

BoxPicture::~BoxPicture()
{
    Clear();
}

void BoxPicture::Set(std::span<const std::uint8_t> bytes, bool animate)
{
    Clear();
    if (animate && DetectPictureKind(bytes) == PictureKind::Gif) {
        auto animation = GifAnimator::Create(bytes);
        if (animation)
            m_animation = std::move(*animation);
        return;
    }
    m_still = DecodePicture(bytes);
}

void BoxPicture::Clear()
{
    // The animator's destructor stops and joins its thread first.
    m_animation.reset();
    m_still.reset();
}

std::uint32_t BoxPicture::Width() const
{
    return m_animation ? m_animation->Width() : m_still ? m_still->width : 0;
}

std::uint32_t BoxPicture::Height() const
{
    return m_animation ? m_animation->Height() : m_still ? m_still->height : 0;
}

void BoxPicture::StartAnimation(std::function<void()> onFrame)
{
    if (m_animation)
        m_animation->Start(std::move(onFrame));
}

void BoxPicture::StopAnimation()
{
    if (m_animation)
        m_animation->Stop();
}

}  // namespace vellumry::units
