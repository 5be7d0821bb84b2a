#pragma once

// Immutable bytes with shared ownership. Copying a SharedBytes copies a
// reference: large blocks (a form's background music, its pictures) are held
// by every reader at once and never copied on the way. The bytes never
// change while anyone holds them.
//
// Storage may lend its bytes: while it lives, Borrow() of a range inside it
// gives a SharedBytes that keeps the storage alive instead of copying the
// range. This is how a unit created from a record in a form's unit table
// keeps that record's blocks without a copy, although the creation call hands
// it only an address and a length, and how a player may keep playing music
// whose window is gone. A lender promises never to rewrite the bytes it
// lends (CopyOnWriteBlock.h says which ones those are for a block).
//
// Thread-safe: any thread may borrow; a SharedBytes itself is a value.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

namespace vellumry::runtime {

class SharedBytes {
public:
    SharedBytes() = default;
    // Takes the bytes (no copy of them).
    SharedBytes(std::vector<std::uint8_t> bytes);  // NOLINT: records are assigned from built bytes
    SharedBytes(std::initializer_list<std::uint8_t> bytes);
    // Bytes that stay valid while `owner` is held.
    SharedBytes(std::shared_ptr<const void> owner, std::span<const std::uint8_t> bytes);

    // `bytes` shared with the storage that lent them, or a copy of them when
    // no live storage lent that range.
    static SharedBytes Borrow(std::span<const std::uint8_t> bytes);

    const std::uint8_t* data() const { return m_bytes.data(); }
    std::size_t size() const { return m_bytes.size(); }
    bool empty() const { return m_bytes.empty(); }
    const std::uint8_t* begin() const { return m_bytes.data(); }
    const std::uint8_t* end() const { return m_bytes.data() + m_bytes.size(); }
    std::uint8_t operator[](std::size_t i) const { return m_bytes[i]; }

    std::span<const std::uint8_t> Span() const { return m_bytes; }
    operator std::span<const std::uint8_t>() const { return m_bytes; }  // NOLINT: a view of the bytes
    std::vector<std::uint8_t> ToVector() const { return {m_bytes.begin(), m_bytes.end()}; }

    // Equal bytes, wherever they are held.
    bool operator==(const SharedBytes& other) const;

private:
    std::shared_ptr<const void> m_owner;
    std::span<const std::uint8_t> m_bytes;
};

// Registers `owner`'s bytes for Borrow while `owner` lives. The caller keeps
// the bytes unchanged for as long as anyone may borrow them.
void LendBytes(const std::shared_ptr<const void>& owner, std::span<const std::uint8_t> bytes);

}  // namespace vellumry::runtime
