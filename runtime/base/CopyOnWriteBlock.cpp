#include "runtime/base/CopyOnWriteBlock.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

#include "runtime/base/SharedBytes.h"

namespace vellumry::runtime {
namespace {

// Below this a block is plain memory: a mapping would cost more than a copy.
constexpr std::size_t kSmallestMapped = 256 * 1024;

std::size_t PageSize()
{
    static const auto size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

// Where bytes of the running executable lie in its file.
struct FilePlace {
    off_t offset = 0;  // of the bytes' first byte
};

struct SearchState {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
    std::optional<FilePlace> place;
};

// The executable's loadable segments map parts of its file at fixed
// offsets. Bytes inside a segment that is not writable are still exactly the
// file's bytes there (nothing relocates or writes them).
int FindInExecutable(dl_phdr_info* info, std::size_t, void* data)
{
    auto& state = *static_cast<SearchState*>(data);
    // The first object is the executable; it names no file of its own.
    bool executable = info->dlpi_name == nullptr || info->dlpi_name[0] == '\0';
    if (!executable)
        return 1;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W))
            continue;
        std::uintptr_t start = info->dlpi_addr + segment.p_vaddr;
        std::uintptr_t fileEnd = start + segment.p_filesz;
        if (state.begin >= start && state.end <= fileEnd) {
            state.place = FilePlace{static_cast<off_t>(segment.p_offset + (state.begin - start))};
            return 1;
        }
    }
    return 1;
}

std::optional<FilePlace> PlaceInExecutable(std::span<const std::uint8_t> bytes)
{
    SearchState state;
    state.begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    state.end = state.begin + bytes.size();
    dl_iterate_phdr(FindInExecutable, &state);
    return state.place;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

// A file whose bytes at [offset, offset + size) are the block's first
// contents, shared by all copies; `lead` bytes of the first page come before
// them.
struct CopyOnWriteBlock::Backing {
    int fd = -1;
    off_t pageOffset = 0;
    std::size_t lead = 0;
    std::size_t size = 0;

    ~Backing()
    {
        if (fd >= 0)
            close(fd);
    }

    static std::shared_ptr<const Backing> OfExecutable(std::span<const std::uint8_t> bytes)
    {
        auto place = PlaceInExecutable(bytes);
        if (!place)
            return nullptr;
        int fd = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        auto backing = std::make_shared<Backing>();
        backing->fd = fd;
        auto page = static_cast<off_t>(PageSize());
        backing->pageOffset = place->offset / page * page;
        backing->lead = static_cast<std::size_t>(place->offset - backing->pageOffset);
        backing->size = bytes.size();
        return backing;
    }

    static std::shared_ptr<const Backing> OfMemoryFile(std::span<const std::uint8_t> bytes)
    {
        int fd = memfd_create("vellumry-block", MFD_CLOEXEC);
        if (fd < 0)
            return nullptr;
        auto backing = std::make_shared<Backing>();
        backing->fd = fd;
        backing->size = bytes.size();
        if (!WriteAll(fd, bytes))
            return nullptr;
        return backing;
    }
};

std::shared_ptr<CopyOnWriteBlock> CopyOnWriteBlock::Lent(std::shared_ptr<CopyOnWriteBlock> block)
{
    if (block)
        LendBytes(block, block->Bytes());
    return block;
}

std::shared_ptr<CopyOnWriteBlock> CopyOnWriteBlock::Map(std::shared_ptr<const Backing> backing)
{
    if (!backing)
        return nullptr;
    std::shared_ptr<CopyOnWriteBlock> block(new (std::nothrow) CopyOnWriteBlock);
    if (!block)
        return nullptr;
    std::size_t page = PageSize();
    std::size_t length = (backing->lead + backing->size + page - 1) / page * page;
    void* mapping = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE, backing->fd, backing->pageOffset);
    if (mapping == MAP_FAILED)
        return nullptr;
    block->m_mapping = static_cast<std::uint8_t*>(mapping);
    block->m_mappingSize = length;
    block->m_writtenPages.assign(length / page, false);
    block->m_data = block->m_mapping + backing->lead;
    block->m_size = backing->size;
    block->m_backing = std::move(backing);
    return block;
}

std::shared_ptr<CopyOnWriteBlock> CopyOnWriteBlock::Of(std::span<const std::uint8_t> bytes)
{
    try {
        if (!bytes.empty()) {
            if (auto block = Map(Backing::OfExecutable(bytes)))
                return Lent(std::move(block));
            if (bytes.size() >= kSmallestMapped)
                if (auto block = Map(Backing::OfMemoryFile(bytes)))
                    return Lent(std::move(block));
        }
        return Adopt(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::shared_ptr<CopyOnWriteBlock> CopyOnWriteBlock::Adopt(std::vector<std::uint8_t> bytes)
{
    std::shared_ptr<CopyOnWriteBlock> block(new (std::nothrow) CopyOnWriteBlock);
    if (!block)
        return nullptr;
    block->m_owned = std::move(bytes);
    block->m_data = block->m_owned.data();
    block->m_size = block->m_owned.size();
    return Lent(std::move(block));
}

CopyOnWriteBlock::~CopyOnWriteBlock()
{
    if (m_mapping)
        munmap(m_mapping, m_mappingSize);
}

std::shared_ptr<CopyOnWriteBlock> CopyOnWriteBlock::Copy() const
{
    try {
        if (!m_backing)
            return Adopt(m_owned);
        std::shared_ptr<CopyOnWriteBlock> copy = Map(m_backing);
        if (!copy)
            return nullptr;
        std::size_t page = PageSize();
        for (std::size_t i = 0; i < m_writtenPages.size(); ++i) {
            if (!m_writtenPages[i])
                continue;
            std::memcpy(copy->m_mapping + i * page, m_mapping + i * page, page);
            copy->m_writtenPages[i] = true;
        }
        return Lent(std::move(copy));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool CopyOnWriteBlock::Write(std::size_t offset, std::span<const std::uint8_t> bytes)
{
    if (offset > m_size || bytes.size() > m_size - offset)
        return false;
    if (bytes.empty())
        return true;
    if (m_backing) {
        std::size_t page = PageSize();
        std::size_t first = (m_backing->lead + offset) / page;
        std::size_t last = (m_backing->lead + offset + bytes.size() - 1) / page;
        for (std::size_t i = first; i <= last; ++i)
            m_writtenPages[i] = true;
    }
    std::memcpy(m_data + offset, bytes.data(), bytes.size());
    return true;
}

std::size_t CopyOnWriteBlock::WrittenPages() const
{
    return static_cast<std::size_t>(std::count(m_writtenPages.begin(), m_writtenPages.end(), true));
}

}  // namespace vellumry::runtime
