#pragma once

// The parameter list an export was registered with. On the original platform a
// caller that declared a DLL routine with the wrong arguments was caught by a
// stack-pointer check after the call; here the check compares the declared
// function type with the exported one before the call is made.

#include <typeinfo>

namespace vellumry::modules {

// A signature is the exact function type: return type and parameter list.
using ExportSignature = const std::type_info*;

template <typename Function>
ExportSignature SignatureOf()
{
    static_assert(std::is_function_v<Function>, "a signature is a function type such as int(const char*)");
    return &typeid(Function);
}

// True when a caller declaring `declared` may call an export registered as
// `exported`. An export loaded from a real shared object carries no signature
// (null) and is trusted.
inline bool SignaturesMatch(ExportSignature declared, ExportSignature exported)
{
    return exported == nullptr || (declared != nullptr && *declared == *exported);
}

}  // namespace vellumry::modules
