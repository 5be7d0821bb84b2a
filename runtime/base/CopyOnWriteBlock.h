#pragma once

// A writable block of bytes whose copies cost only what is written.
//
// A block made from bytes that the executable carries (the embedded window
// template) is a private mapping of the executable file at those bytes: it
// costs no copy at all, and its pages come from the file as they are read. A
// block made from other bytes of some size is a private mapping of a memory
// file that holds them once. Copy() maps the same file again and copies only
// the pages written since, so a form's working copy of its unit table is made
// at once, however large the music in it, and a write of a slot costs one
// page. Small blocks, and blocks that take over a vector, are plain memory;
// their copies copy them.
//
// Every block lends its bytes (SharedBytes.h) while it lives: its owner must
// not rewrite bytes that a reader may have borrowed. Reading a block's bytes
// is safe from any thread while nobody writes; writes and copies belong to
// one thread at a time.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vellumry::runtime {

class CopyOnWriteBlock {
public:
    // A block holding `bytes`; null when memory or a mapping cannot be had.
    static std::shared_ptr<CopyOnWriteBlock> Of(std::span<const std::uint8_t> bytes);
    // A block that takes over `bytes`.
    static std::shared_ptr<CopyOnWriteBlock> Adopt(std::vector<std::uint8_t> bytes);

    ~CopyOnWriteBlock();
    CopyOnWriteBlock(const CopyOnWriteBlock&) = delete;
    CopyOnWriteBlock& operator=(const CopyOnWriteBlock&) = delete;

    // A block with this block's current bytes; null when it cannot be had.
    std::shared_ptr<CopyOnWriteBlock> Copy() const;

    std::span<const std::uint8_t> Bytes() const { return {m_data, m_size}; }
    std::size_t Size() const { return m_size; }

    // Overwrites bytes in place; only the pages they touch are copied. False
    // when the range lies outside the block.
    bool Write(std::size_t offset, std::span<const std::uint8_t> bytes);

    // How the block holds its bytes, for tests and benchmarks: shared pages
    // of a file, or plain memory of its own.
    bool SharesPages() const { return m_backing != nullptr; }
    // Pages that writes have made the block's own.
    std::size_t WrittenPages() const;

private:
    struct Backing;
    CopyOnWriteBlock() = default;
    static std::shared_ptr<CopyOnWriteBlock> Map(std::shared_ptr<const Backing> backing);
    static std::shared_ptr<CopyOnWriteBlock> Lent(std::shared_ptr<CopyOnWriteBlock> block);

    // Mapped blocks.
    std::shared_ptr<const Backing> m_backing;
    std::uint8_t* m_mapping = nullptr;
    std::size_t m_mappingSize = 0;
    std::vector<bool> m_writtenPages;
    // Plain blocks.
    std::vector<std::uint8_t> m_owned;

    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

}  // namespace vellumry::runtime
