#pragma once

// The outcome of decoding outside bytes: the value, or the reason the bytes
// were refused. Reasons are fixed texts for tests and diagnostics; the units
// only ask whether there is a value.

#include <string_view>
#include <utility>
#include <variant>

namespace vellumry::units {

struct DecodeFailure {
    std::string_view reason;
};

inline DecodeFailure Refuse(std::string_view reason)
{
    return {reason};
}

template <typename T>
class DecodeResult {
public:
    DecodeResult(T value) : m_state(std::move(value)) {}
    DecodeResult(DecodeFailure failure) : m_state(failure) {}

    explicit operator bool() const { return std::holds_alternative<T>(m_state); }
    T& operator*() { return std::get<T>(m_state); }
    const T& operator*() const { return std::get<T>(m_state); }
    T* operator->() { return &std::get<T>(m_state); }
    const T* operator->() const { return &std::get<T>(m_state); }

    // Empty when there is a value.
    std::string_view Reason() const
    {
        const auto* failure = std::get_if<DecodeFailure>(&m_state);
        return failure ? failure->reason : std::string_view();
    }
    DecodeFailure Failure() const { return {Reason()}; }

private:
    std::variant<T, DecodeFailure> m_state;
};

// For steps that produce nothing but can fail.
using DecodeStatus = DecodeResult<std::monostate>;

inline DecodeStatus Succeeded()
{
    return std::monostate{};
}

}  // namespace vellumry::units
