#include "platform/ui/qt/LargeImage.h"

#include <memory>
#include <new>

#include "platform/base/LargeBlocks.h"

namespace vellumry::ui {
namespace {

// The memory an image owns.
struct ImageMemory {
    void* data;
    std::size_t bytes;
};

void ReleaseImageMemory(void* info)
{
    std::unique_ptr<ImageMemory> memory(static_cast<ImageMemory*>(info));
    base::FreeLargeBlock(memory->data, memory->bytes);
}

}  // namespace

QImage NewLargeImage(int width, int height, QImage::Format format)
{
    if (width <= 0 || height <= 0 || QImage::toPixelFormat(format).bitsPerPixel() != 32)
        return QImage();
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    auto memory = std::make_unique<ImageMemory>(ImageMemory{nullptr, stride * static_cast<std::size_t>(height)});
    try {
        memory->data = base::AllocateLargeBlock(memory->bytes);
    } catch (const std::bad_alloc&) {
        return QImage();
    }
    QImage image(static_cast<uchar*>(memory->data), width, height, static_cast<qsizetype>(stride), format,
                 ReleaseImageMemory, memory.get());
    if (image.isNull()) {
        base::FreeLargeBlock(memory->data, memory->bytes);
        return image;
    }
    memory.release();  // the image's cleanup owns it now
    return image;
}

}  // namespace vellumry::ui
